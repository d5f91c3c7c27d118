#include "ExFunctions.h"
#include "Platform.h"
#include "Sound.h"
#include "Trap.h"

namespace tonara {

void ExFunctions::WavPlay(const QString& PathtoFile, bool LoopSound, bool KillAll) {
    if (KillAll) platform().silenceWav();
    else platform().playWav(PathtoFile, LoopSound);
}

void ExFunctions::delay(qint32 timems) { platform().delay(timems); }

void ExFunctions::sound(MainWindow& mainWindow, qint16 pitch, qint16 Duration) {
    trapped(mainWindow, 1023, [&] {
        if (mainWindow.state().bit == "32" || mainWindow.state().bit == "16") platform().beep(pitch, Duration);
        if (mainWindow.state().bit == "256" || mainWindow.state().bit == "128")
            tonara::sound(mainWindow).SoundWinmmRNDTMP(pitch, Duration);
    });
}

} // namespace tonara
