#include "Form8.h"
#include "SineIcon.h"

#include <QVBoxLayout>

namespace tonara {

namespace {
QLabel* label(const QString& name, const QString& text, QWidget* parent) {
    auto* l = new QLabel(text, parent);
    l->setObjectName(name);
    l->setAlignment(Qt::AlignCenter);
    return l;
}
} // namespace

Form8::Form8(QWidget* parent) : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint) {
    setObjectName("Form8");
    setWindowTitle("Tonara");
    auto* layout = new QVBoxLayout(this);
    auto* image = new QLabel(this);
    image->setObjectName("Image1");
    image->setPixmap(sineIcon(96, 48));
    image->setAlignment(Qt::AlignCenter);
    image->setAccessibleName("Tonara");
    auto* title = label("Label1", "Tonara", this);
    QFont big = title->font();
    big.setPointSize(big.pointSize() * 2);
    big.setBold(true);
    title->setFont(big);
    layout->addWidget(image);
    layout->addWidget(title);
    layout->addWidget(label("Label3", "v2.3.6", this));
    layout->addWidget(label("Label4", "Norvane Software", this));
    status_ = label("Label2", "Loading start-up...", this);
    layout->addWidget(status_);
    setFixedSize(320, 220);
}

void Form8::setStatus(const QString& text) { status_->setText(text); }
QString Form8::status() const { return status_->text(); }

} // namespace tonara
