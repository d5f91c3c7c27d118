#include "VolumeWindow.h"
#include "EarChooser.h"
#include "OutputVolumeWindow.h"
#include "Platform.h"
#include "QuillonNames.h"
#include "QuillonTrap.h"
#include "ThresholdWindow.h"
#include "Wizard.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QVBoxLayout>

namespace tonara::quillon {

namespace {
constexpr qint16 kVolumePitch = 1000;
}

Form1::Form1(Wizard& wizard) : WizardWindow(wizard, "Form1") {
    frame1_ = new QGroupBox(this);
    frame1_->setObjectName(quillonVolume::Frame1);
    label1_ = makeLabel(quillonVolume::Label1, frame1_);
    command1_ = makeButton(quillonVolume::Command1, frame1_);
    command2_ = makeButton(quillonVolume::Command2, frame1_);
    command3_ = makeButton(quillonVolume::Command3, frame1_);
    command3_->setEnabled(false);
    label2_ = makeLabel(quillonVolume::Label2, frame1_);
    label2_->setWordWrap(true);
    command4_ = makeButton(quillonVolume::Command4, this);
    earChooser_ = new EarChooser(frame1_);
    thresholdButton_ = makeButton(quillonVolume::ThresholdButton, this);

    auto* frame = new QGridLayout(frame1_);
    frame->addWidget(label1_, 0, 0);
    frame->addWidget(command1_, 0, 1);
    frame->addWidget(command2_, 1, 0);
    frame->addWidget(command3_, 1, 1);
    frame->addWidget(earChooser_, 2, 0, 1, 2);
    frame->addWidget(label2_, 3, 0, 1, 2);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(frame1_);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(thresholdButton_);
    buttons->addStretch();
    buttons->addWidget(command4_);
    layout->addLayout(buttons);
    setMinimumWidth(420); // wider when a larger font needs it
    applyTexts(wizardTexts(false));

    connect(command1_, &QPushButton::clicked, this, &Form1::soundSettingsClicked);
    connect(command2_, &QPushButton::clicked, this, &Form1::playClicked);
    connect(command3_, &QPushButton::clicked, this, &Form1::stopClicked);
    connect(command4_, &QPushButton::clicked, this, &Form1::nextClicked);
    connect(thresholdButton_, &QPushButton::clicked, this, &Form1::thresholdClicked);
    connect(earChooser_, &EarChooser::earChosen, this, [this] { trapped([&] { wizard_.sendToChosenEar(); }); });
}

Form1::~Form1() = default;

Ear Form1::ear() const { return earChooser_->ear(); }

void Form1::applyTexts(const WizardTexts& texts) {
    setWindowTitle(texts.caption);
    frame1_->setTitle(texts.volumeFrame);
    label1_->setText(texts.volumeLabel);
    command1_->setText(texts.soundSettings);
    command2_->setText(texts.playSound);
    command3_->setText(texts.stopSound);
    label2_->setText(texts.volumeNote);
    command4_->setText(texts.next);
    thresholdButton_->setText(texts.thresholdButton);
}

void Form1::loadHandler() {
    if (!firstLoad()) return;
    if (wizard_.dutch()) applyTexts(wizard_.texts());
    earChooser_->offer(wizard_.mode(), wizard_.dutch());
    show();
}

// Without a volume control on the desktop the server's volume is set here.
void Form1::soundSettingsClicked() {
    trapped([&] {
        if (platform().startVolumeControl()) return;
        if (!outputVolume_) outputVolume_ = std::make_unique<OutputVolumeWindow>(wizard_.dutch());
        outputVolume_->showVolume();
    });
}

void Form1::playClicked() {
    trapped([&] {
        command2_->setEnabled(false);
        command3_->setEnabled(true);
        wizard_.play(kVolumePitch);
    });
}

void Form1::stopClicked() {
    trapped([&] {
        wizard_.tone().z = 1;
        command2_->setEnabled(true);
        command3_->setEnabled(false);
        wizard_.tone().KillAll();
    });
}

// The age test's tone stops first: the threshold test has the output to itself.
void Form1::thresholdClicked() {
    trapped([&] {
        stopClicked();
        if (!threshold_) threshold_ = std::make_unique<ThresholdWindow>(unsigned(platform().monotonicMs()), wizard_.dutch());
        threshold_->show();
        threshold_->raise();
    });
}

void Form1::nextClicked() {
    trapped([&] {
        wizard_.stopTone();
        if (threshold_) threshold_->close();
        hide();
        wizard_.waitForAge();
        wizard_.showTest();
    });
}

} // namespace tonara::quillon
