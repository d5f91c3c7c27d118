#include "ExFunctions.h"
#include "ErrorLocations.h"
#include "Platform.h"
#include "Sound.h"
#include "SoundModes.h"
#include "Trap.h"

namespace tonara {

void ExFunctions::WavPlay(const QString& PathtoFile, bool LoopSound, bool KillAll) {
    if (KillAll) platform().silenceWav();
    else platform().playWav(PathtoFile, LoopSound);
}

void ExFunctions::delay(qint32 timems) { platform().delay(timems); }

void ExFunctions::sound(MainWindow& mainWindow, qint16 pitch, qint16 Duration) {
    trapped(mainWindow, errol::TimedSound, [&] {
        const SoundMode* mode = soundModeFor(mainWindow.state().bit);
        if (!mode) return;
        switch (mode->timed) {
        case TimedTone::Beep: platform().beep(pitch, Duration); break;
        case TimedTone::SoundWinmmRNDTMP: tonara::sound(mainWindow).SoundWinmmRNDTMP(pitch, Duration); break;
        case TimedTone::Silent: break;
        }
    });
}

} // namespace tonara
