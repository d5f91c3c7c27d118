#include "Form2.h"
#include "ErrorLocations.h"
#include "FormNames.h"
#include "Program.h"
#include "SineIcon.h"
#include "Trap.h"
#include "WindowAccessibility.h"

#include <QCloseEvent>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QShortcut>
#include <QVBoxLayout>

namespace tonara {

namespace {

const char* const kPitchTexts[] = {
    "50 Hertz: Almost inaudible sound",
    "1000 Hertz: Sounds like a warning sound of your computer",
    "10000 Hertz: Annoying sound",
    "12500 Hertz: Hard to hear",
    "15000 Hertz: Very hard to hear, but annoying sound",
    "16000 to 20000 Hertz: Insects will immediatly go away from your pc",
    "21000 Hertz +/-: Spooky sound",
    "22000 Hertz and higher: Inaudible sound",
};

} // namespace

Form2::Form2(MainWindow& mainWindow, QWidget* parent) : QWidget(parent, Qt::Window), mainWindow_(mainWindow) {
    setObjectName("Form2");
    setWindowTitle("Custom pitch: Help");

    auto* picture = new QLabel(this);
    picture->setObjectName(form2::Picture1);
    picture->setPixmap(sineIcon(48, 48));
    picture->setAccessibleName("Tonara");
    // The box is drawn around the picture, not holding it, so that leaving
    // the box out of the accessibility tree keeps the picture in it.
    auto* shape = new QFrame(this);
    shape->setObjectName(form2::Shape1);
    shape->setFrameShape(QFrame::Box);
    shape->setFixedSize(48, 48);
    markDecoration(shape);
    picture->setFixedSize(48, 48);
    auto* shaped = new QGridLayout;
    shaped->addWidget(shape, 0, 0);
    shaped->addWidget(picture, 0, 0);

    auto* frame = new QGroupBox("Information about the pitches", this);
    frame->setObjectName(form2::Frame1);
    auto* texts = new QVBoxLayout(frame);
    static_assert(std::size(kPitchTexts) == std::size(form2::kPitchLabels));
    for (size_t i = 0; i < std::size(kPitchTexts); ++i) {
        auto* label = new QLabel(kPitchTexts[i], frame);
        label->setObjectName(form2::kPitchLabels[i]);
        texts->addWidget(label);
    }

    auto* line = new QFrame(this);
    line->setObjectName(form2::Line1);
    line->setFrameShape(QFrame::HLine);
    markDecoration(line);

    auto* top = new QHBoxLayout;
    top->addLayout(shaped);
    top->setAlignment(shaped, Qt::AlignTop);
    top->addWidget(frame, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(line);
    connect(new QShortcut(QKeySequence(Qt::Key_Escape), this), &QShortcut::activated, this, &QWidget::close);
}

void Form2::loadHandler() {
    if (loadGuard_ == 1) return;
    loadGuard_ = 1;
    trapped(mainWindow_, errol::AgreementLoad, [&] {
        if (mainWindow_.state().lang == "nl") Program(mainWindow_).LanguageAPI("nl", 2);
    });
}

void Form2::closeEvent(QCloseEvent* event) {
    event->accept();
    trapped(mainWindow_, errol::AgreementClose, [&] { mainWindow_.unloadForm(Form::Form2); });
}

} // namespace tonara
