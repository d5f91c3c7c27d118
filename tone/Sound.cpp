#include "Sound.h"
#include "ErrorLocations.h"
#include "ExFunctions.h"
#include "Folders.h"
#include "SoundModes.h"
#include "OutputStatus.h"
#include "Synthesis.h"
#include "TextFile.h"
#include "Trap.h"

namespace tonara {

namespace {
constexpr qint16 kWinmmWaitMs = 100;
const QString kPitchCaption = QStringLiteral("Actual pitch (Hertz): ");
} // namespace

sound::sound(MainWindow& mainWindow) : mainWindow_(mainWindow) {}

sound::~sound() = default;

void sound::setLang(const QString& newvalue) {
    trapped(mainWindow_, errol::SoundSetLanguage, [&] { language_ = newvalue; });
}

void sound::showStatusPitch(qint32 pitch) {
    mainWindow_.setStatusText(1, kPitchCaption + QString::number(pitch));
    const MainState& vars = mainWindow_.state();
    if (vars.lang == "nl") mainWindow_.setStatusText(1, vars.acctoon1 + QString::number(pitch));
    showOutput(pitch);
}

void sound::showOutput(qint32 pitch) {
    mainWindow_.setStatusText(3, outputStatusText(platform().outputRate(), pitch, mainWindow_.state().lang));
}

void sound::showStatusCaption() {
    mainWindow_.setStatusText(1, kPitchCaption);
    const MainState& vars = mainWindow_.state();
    if (vars.lang == "nl") mainWindow_.setStatusText(1, vars.acctoon1);
}

void sound::waitWhilePlaying(qint16 periodMs) {
    const auto ended = [&] { return mainWindow_.state().z == 1 || !mainWindow_.isFormVisible(Form::Form1); };
    do {
        platform().processEvents();
        platform().serveEvents(periodMs, ended);
    } while (!ended());
    showOutput(0);
}

void sound::SoundWinmmRND(qint16 pitch) {
    trapped(mainWindow_, errol::SoundWinmmRND, [&] {
        ExFunctions ex;
        tempFolder_ = tempFolder();
        const QString wav = temporaryToneWav();
        writeToneWav(pitch);
        ex.WavPlay(wav, true, false);
        showStatusPitch(pitch);
        waitWhilePlaying(kWinmmWaitMs);
        ex.WavPlay("0", false, true);
        deleteIfExists(wav);
    });
}

void sound::SoundWinmmRNDTMP(qint16 pitch, qint32 Duration) {
    trapped(mainWindow_, errol::SoundWinmmRNDTMP, [&] {
        ExFunctions ex;
        tempFolder_ = tempFolder();
        const QString wav = temporaryToneWav();
        writeToneWav(pitch);
        // The player's loop, told how long it lasts: the tone keeps its length
        // at the sink however late this thread wakes, and the wait follows
        // the output's clock, so a long sequence keeps pace with the card.
        platform().playWavFor(wav, Duration);
        platform().awaitTimedTone();
        ex.WavPlay("0", false, true);
        deleteIfExists(wav);
    });
}

void sound::playContinuous(const QString& bit, qint16 pitch) {
    const SoundMode* mode = soundModeFor(bit);
    if (!mode) return;
    switch (mode->continuous) {
    case ContinuousTone::Sound16: Sound16(pitch); break;
    case ContinuousTone::Sound32: Sound32(pitch); break;
    case ContinuousTone::SoundDXRND: SoundDXRND(qint32(pitch)); break;
    case ContinuousTone::SoundWinmmRND: SoundWinmmRND(pitch); break;
    }
}

void sound::playSweep(const QString& bit) {
    const SoundMode* mode = soundModeFor(bit);
    if (mode && mode->sweep == SweepTone::SoundWinmmLTH) SoundWinmmLTH();
    else LowToHigh(bit);
}

void sound::SoundWinmm(qint16 pitch, const QString& modeval) {
    trapped(mainWindow_, errol::SoundWinmm, [&] {
        ExFunctions ex;
        ex.WavPlay(joinPath(platform().dataFolder(), "sounddx" + modeval + ".dll"), true, false);
        showStatusPitch(pitch);
        waitWhilePlaying(kWinmmWaitMs);
        ex.WavPlay("0", false, true);
    });
}

} // namespace tonara
