#include "Form8.h"
#include "FormNames.h"
#include "SineIcon.h"
#include "Version.h"
#include "WebAddresses.h"

#include <QVBoxLayout>

namespace tonara {

namespace {
QLabel* label(form8::Name name, const QString& text, QWidget* parent) {
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
    image->setObjectName(form8::Image1);
    image->setPixmap(sineIcon(96, 48));
    image->setAlignment(Qt::AlignCenter);
    image->setAccessibleName("Tonara");
    auto* title = label(form8::Label1, "Loading Tonara...", this);
    QFont big = title->font();
    big.setPointSize(big.pointSize() * 3 / 2);
    big.setBold(true);
    title->setFont(big);
    status_ = label(form8::Label2, "Loading start-up...", this);
    auto* help = label(form8::Label4, "Need help? Visit our site or send a mail to: " + supportEmailAddress(), this);
    help->setWordWrap(true);
    auto* notice = label(form8::Label3, QStringLiteral("Tonara %1, \u00a9 Norvane Software").arg(kVersionText), this);
    QFont small = notice->font();
    small.setPointSize(small.pointSize() * 5 / 6);
    notice->setFont(small);
    layout->addWidget(image);
    layout->addWidget(title);
    layout->addWidget(status_);
    layout->addWidget(help);
    layout->addWidget(notice);
    setMinimumSize(360, 240); // larger when a larger font needs it
}

void Form8::setStatus(const QString& text) { status_->setText(text); }
QString Form8::status() const { return status_->text(); }

} // namespace tonara
