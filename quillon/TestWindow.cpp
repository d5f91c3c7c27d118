#include "TestWindow.h"
#include "HearingTable.h"
#include "QuillonNames.h"
#include "QuillonTrap.h"
#include "Wizard.h"

#include <QGridLayout>

namespace tonara::quillon {

Form2::Form2(Wizard& wizard) : WizardWindow(wizard, "Form2") {
    label1_ = makeLabel(quillonTest::Label1, this);
    QFont question = label1_->font();
    question.setBold(true);
    question.setPointSizeF(question.pointSizeF() * 1.3);
    label1_->setFont(question);
    command1_ = makeButton(quillonTest::Command1, this);
    command2_ = makeButton(quillonTest::Command2, this);
    label2_ = makeLabel(quillonTest::Label2, this);
    label3_ = makeLabel(quillonTest::Label3, this);
    label3_->setText("Level:");
    label4_ = makeLabel(quillonTest::Label4, this);
    label5_ = makeLabel(quillonTest::Label5, this);
    label5_->setText("Pitch:");
    label6_ = makeLabel(quillonTest::Label6, this);

    auto* layout = new QGridLayout(this);
    layout->addWidget(label1_, 0, 0, 1, 4, Qt::AlignCenter);
    layout->addWidget(command1_, 1, 0, 1, 2);
    layout->addWidget(command2_, 1, 2, 1, 2);
    layout->addWidget(label2_, 2, 0, 1, 4, Qt::AlignCenter);
    layout->addWidget(label3_, 3, 0, Qt::AlignRight);
    layout->addWidget(label4_, 3, 1);
    layout->addWidget(label5_, 3, 2, Qt::AlignRight);
    layout->addWidget(label6_, 3, 3);
    setMinimumWidth(380); // wider when a larger font needs it
    applyTexts(wizardTexts(false));

    connect(command1_, &QPushButton::clicked, this, &Form2::hearClicked);
    connect(command2_, &QPushButton::clicked, this, &Form2::dontHearClicked);
}

void Form2::applyTexts(const WizardTexts& texts) {
    setWindowTitle(texts.caption);
    label1_->setText(texts.question);
    command1_->setText(texts.hear);
    command2_->setText(texts.dontHear);
    label2_->setText(texts.keepVolume);
}

void Form2::showLevel(qint16 level, qint16 pitch) {
    label4_->setText(QString::number(level));
    label6_->setText(QString::number(pitch));
}

void Form2::loadHandler() {
    if (!firstLoad()) return;
    trapped([&] {
        wizard_.state().level = 1;
        showLevel(1, levelAt(1).pitch);
        show();
        playLevel();
    });
}

void Form2::playLevel() {
    TestState& test = wizard_.state();
    if (wizard_.dutch()) applyTexts(wizard_.texts());
    const Level level = levelAt(test.level);
    test.pitch = level.pitch;
    test.hearingAge = level.hearingAge;
    showLevel(test.level, test.pitch);
    wizard_.tone().KillAll();
    wizard_.play(test.pitch);
}

void Form2::hearClicked() {
    trapped([&] {
        wizard_.stopTone();
        TestState& test = wizard_.state();
        ++test.level;
        if (test.level > kLevelCount) finish();
        else playLevel();
    });
}

void Form2::dontHearClicked() {
    trapped([&] { finish(); });
}

// The hearing age stays that of the last level sounded: after all eleven, level 11's.
void Form2::finish() {
    wizard_.stopTone();
    hide();
    wizard_.showResult();
}

} // namespace tonara::quillon
