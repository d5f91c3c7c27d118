#include "ResultWindow.h"
#include "Folders.h"
#include "HearingTable.h"
#include "Platform.h"
#include "QuillonNames.h"
#include "QuillonTrap.h"
#include "ReadableColour.h"
#include "TextFile.h"
#include "WindowLanguage.h"
#include "Wizard.h"

#include <QGridLayout>
#include <QStyle>
#include <QToolButton>
#include <algorithm>

namespace tonara::quillon {

namespace {

// The verdict's colour, or the nearest shade of it readable on the window.
void setTextColour(QLabel* label, const QColor& colour) {
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, readableOn(palette.color(QPalette::Window), colour));
    label->setPalette(palette);
}

QFont scaled(QFont font, double factor) {
    font.setBold(true);
    font.setPointSizeF(font.pointSizeF() * factor);
    return font;
}

} // namespace

Form3::Form3(Wizard& wizard) : WizardWindow(wizard, "Form3") {
    label1_ = makeLabel(quillonResult::Label1, this);
    label2_ = makeLabel(quillonResult::Label2, this);
    label2_->setFont(scaled(label2_->font(), 2.0));
    label3_ = makeLabel(quillonResult::Label3, this);
    label4_ = makeLabel(quillonResult::Label4, this);
    label4_->setFont(scaled(label4_->font(), 1.5));
    label5_ = makeLabel(quillonResult::Label5, this);
    label5_->setWordWrap(true);
    label5_->hide();
    earLabel_ = makeLabel(quillonResult::EarTestedLabel, this);
    ear_ = makeLabel(quillonResult::EarTested, this);
    picture1_ = new QToolButton(this);
    picture1_->setObjectName(quillonResult::Picture1);
    picture1_->setIcon(style()->standardIcon(QStyle::SP_DialogSaveButton));
    picture1_->setIconSize(QSize(32, 32));
    picture1_->setAutoRaise(true);
    picture1_->setAccessibleName("Save report");
    picture1_->setToolTip("Save report");

    auto* layout = new QGridLayout(this);
    layout->addWidget(label1_, 0, 0);
    layout->addWidget(label2_, 0, 1);
    layout->addWidget(label3_, 1, 0);
    layout->addWidget(label4_, 1, 1);
    layout->addWidget(picture1_, 0, 2, 2, 1, Qt::AlignRight | Qt::AlignVCenter);
    layout->addWidget(earLabel_, 2, 0);
    layout->addWidget(ear_, 2, 1);
    layout->addWidget(label5_, 3, 0, 1, 3);
    layout->setColumnStretch(1, 1);
    setMinimumWidth(400); // wider when a larger font needs it
    applyTexts(wizardTexts(false));

    connect(picture1_, &QToolButton::clicked, this, &Form3::saveClicked);
}

void Form3::applyTexts(const WizardTexts& texts) {
    setWindowTitle(texts.caption);
    label1_->setText(texts.hearingAgeLabel);
    label3_->setText(texts.hearingIsLabel);
    earLabel_->setText(texts.earTested);
}

void Form3::loadHandler() {
    if (!firstLoad()) return;
    trapped([&] {
        const TestState& test = wizard_.state();
        if (wizard_.dutch()) applyTexts(wizard_.texts());
        followLanguage(this, wizard_.dutch() ? "nl" : "en");
        label2_->setText(QString::number(test.hearingAge));
        const Verdict verdict = verdictFor(test.age, test.hearingAge);
        label4_->setText(verdict.text(wizard_.dutch()));
        setTextColour(label4_, verdict.colour);
        ear_->setText(earName(wizard_.ear(), wizard_.dutch()));
        showOutputLimit();
        show();
    });
}

// A level the output could not sound tells nothing about the ear that did not hear it.
void Form3::showOutputLimit() {
    const int rate = platform().outputRate();
    const qint16 first = firstUnreproducibleLevel(rate);
    const qint16 lastSounded = std::min(wizard_.state().level, kLevelCount);
    if (first == 0 || first > lastSounded) return;
    label5_->setText(unreproducibleNote(wizard_.dutch(), first, rate));
    label5_->show();
}

TestOutcome Form3::outcome() const {
    const TestState& test = wizard_.state();
    return TestOutcome{test.age, test.level, test.hearingAge, label4_->text(), wizard_.ear()};
}

void Form3::saveClicked() {
    trapped([&] {
        const QString path = platform().saveFileName(kReportFilter, documentsFolder());
        if (path.isEmpty()) return;
        try {
            writeLines(path, reportLines(outcome()));
        } catch (const RuntimeError& failure) {
            platform().messageBox("Invalid path: " + failure.description(), "Error", MessageIcon::Exclamation,
                                  MessageButtons::Ok);
        }
    });
}

} // namespace tonara::quillon
