// The rising sweep: 200 Hz steps up to 32 000 Hz, then again from the bottom.
#include "ErrorLocations.h"
#include "ExFunctions.h"
#include "ExternalTone.h"
#include "Sound.h"
#include "SoundModes.h"
#include "Synthesis.h"
#include "TextFile.h"
#include "Trap.h"

#include <algorithm>

namespace tonara {

namespace {

constexpr qint16 kSweepStep = 200;
constexpr qint16 kSweepTop = 32000;
constexpr qint16 kStaticSine = 930;
constexpr qint16 kWinmmStepMs = 75;
constexpr qint16 kToneProgramStepMs = 200;
// Where the shown sweep resumes once the tone program has been restarted.
constexpr qint16 kRestartPitch = 100;

bool toneGoesOn(MainWindow& mainWindow) {
    return mainWindow.state().z != 1 && mainWindow.isFormVisible(Form::Form1);
}

} // namespace

void sound::SoundWinmmLTH() {
    trapped(mainWindow_, errol::SoundWinmmLTH, [&] {
        ExFunctions ex;
        qint16 pitch = 0;
        // Each step lasts its 75 ms at the sink and the next follows it
        // directly, by the output's clock; a Stop is served during the step.
        do {
            platform().processEvents();
            if (pitch >= kSweepTop) pitch = 0;
            pitch += kSweepStep;
            writeToneWav(pitch);
            platform().playWavFor(temporaryToneWav(), kWinmmStepMs);
            showStatusPitch(pitch);
            mainWindow_.drawSine(pitch, kStaticSine);
            platform().awaitTimedTone([&] { return !toneGoesOn(mainWindow_); });
            ex.WavPlay("0", false, true);
        } while (toneGoesOn(mainWindow_));
        ex.WavPlay("0", false, true);
        mainWindow_.setStatusText(1, mainWindow_.state().acctoon1);
        showOutput(0);
        deleteIfExists(temporaryToneWav());
    });
}

// The tone program sweeps by itself; this only mirrors its climb on the screen.
void sound::LowToHigh(const QString& bit) {
    trapped(mainWindow_, errol::LowToHigh, [&] {
        ExFunctions ex;
        writeToneRequest(sweepRequestLine());
        sweepPitch_ = 0;
        showStatusCaption();
        const QString program = toneProgramCommand(bit);
        const SoundMode* mode = soundModeFor(bit);
        const SweepDisplay display = mode ? mode->sweepDisplay : SweepDisplay::Nothing;
        if (!program.isEmpty()) platform().startProgram(program, true);
        do {
            platform().processEvents();
            sweepPitch_ += kSweepStep;
            if (sweepPitch_ >= kSweepTop) {
                if (display == SweepDisplay::PitchAndPreview) mainWindow_.setStatusText(1, "Resetting...");
                if (!program.isEmpty()) {
                    // The one at the top is ended first, or the two sweeps would sound together.
                    ex.KillProcess(toneProgramName(bit));
                    platform().startProgram(program, true);
                }
                sweepPitch_ = kRestartPitch;
            }
            if (display == SweepDisplay::PitchAndPreview) {
                showStatusPitch(sweepPitch_);
                mainWindow_.drawSine(sweepPitch_, kStaticSine);
            }
            if (display == SweepDisplay::Caption) mainWindow_.setStatusText(1, mainWindow_.state().acctoon1);
            platform().serveEvents(kToneProgramStepMs, [&] { return !toneGoesOn(mainWindow_); });
        } while (toneGoesOn(mainWindow_));
        KillAll();
    });
}

} // namespace tonara
