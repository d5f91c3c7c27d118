#include "Wizard.h"
#include "AgeWindow.h"
#include "ExFunctions.h"
#include "Platform.h"
#include "QuillonTrap.h"
#include "ResultWindow.h"
#include "SoundModes.h"
#include "Synthesis.h"
#include "TestWindow.h"
#include "TextFile.h"
#include "VolumeWindow.h"
#include "WindowLanguage.h"

namespace tonara::quillon {

namespace {

constexpr qint16 kAgeWaitMs = 10;

} // namespace

Wizard::Wizard()
    : form1_(std::make_unique<Form1>(*this)), form4_(std::make_unique<Form4>(*this)),
      form2_(std::make_unique<Form2>(*this)), form3_(std::make_unique<Form3>(*this)) {}

Wizard::~Wizard() = default;

void Wizard::start() {
    trapped([&] {
        const std::optional<HandOver> handOver = takeHandOver();
        if (!handOver) platform().endProgram(0);
        handOver_ = *handOver;
        loadQtTranslations(dutch() ? "nl" : "en"); // the save dialog and the message boxes
        form1_->loadHandler();
    });
}

Ear Wizard::ear() const { return form1_->ear(); }

void Wizard::sendToChosenEar() {
    if (earsOfMode(handOver_.mode).size() == 1) return;
    const EarGains gains = earGains(ear());
    platform().setPlayerChannels(gains.left, gains.right);
}

void Wizard::play(qint16 pitch) {
    sendToChosenEar();
    const SoundMode* mode = soundModeFor(handOver_.mode);
    if (!mode) return;
    switch (mode->continuous) {
    case ContinuousTone::Sound16: tone_.Sound16(pitch); break;
    case ContinuousTone::Sound32: tone_.Sound32(pitch); break;
    case ContinuousTone::SoundWinmmRND: tone_.SoundWinmmRND(pitch); break;
    case ContinuousTone::SoundDXRND: break; // never handed over
    }
}

void Wizard::stopTone() {
    tone_.z = 1;
    tone_.KillAll();
}

// The program ends before the tone's own loop could silence the player and
// remove its file, so that is done here.
void Wizard::end() {
    trapped([&] {
        stopTone();
        ExFunctions().WavPlay("0", false, true);
        deleteIfExists(temporaryToneWav());
    });
    platform().endProgram(0);
}

void Wizard::waitForAge() {
    form4_->loadHandler();
    form4_->show();
    while (!ageGiven_) {
        platform().processEvents();
        tone_.Delay(kAgeWaitMs);
    }
}

void Wizard::ageAccepted(qint16 age) {
    state_.age = age;
    ageGiven_ = true;
}

void Wizard::showTest() { form2_->loadHandler(); }

void Wizard::showResult() { form3_->loadHandler(); }

} // namespace tonara::quillon
