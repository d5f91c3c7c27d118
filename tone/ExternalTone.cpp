#include "ExternalTone.h"
#include "ErrorLocations.h"
#include "ExFunctions.h"
#include "Folders.h"
#include "NumberText.h"
#include "SafeFiles.h"
#include "Sound.h"
#include "SoundModes.h"
#include "Synthesis.h"
#include "TextFile.h"
#include "Trap.h"

#include <limits>

namespace tonara {

namespace {

// Hands the pitch to the tone program of bit and starts it; the tone then
// lasts until the program is killed.
void startToneProgram(MainWindow& mainWindow, qint16 pitch, const QString& bit) {
    mainWindow.state().z = 0;
    writeToneRequest(pitchRequestLine(pitch));
    platform().startProgram(toneProgramCommand(bit), true);
}

} // namespace

QString toneProgramCommand(const QString& bit) {
    const SoundMode* mode = soundModeFor(bit);
    return mode && mode->toneProgramCommand ? QString::fromLatin1(mode->toneProgramCommand) : QString();
}

QString toneProgramName(const QString& bit) {
    const SoundMode* mode = soundModeFor(bit);
    return mode && mode->toneProgramName ? QString::fromLatin1(mode->toneProgramName) : QString();
}

void killTonePrograms() {
    ExFunctions ex;
    for (const SoundMode& mode : soundModes())
        if (mode.toneProgramName) ex.KillProcess(QString::fromLatin1(mode.toneProgramName));
}

void sound::Sound16(qint16 pitch) {
    trapped(mainWindow_, errol::Sound16, [&] {
        startToneProgram(mainWindow_, pitch, soundModePlaying(ContinuousTone::Sound16).code);
        waitWhilePlaying(kToneWaitMs);
        KillAll();
    });
}

void sound::Sound32(qint16 pitch) {
    trapped(mainWindow_, errol::Sound32, [&] {
        startToneProgram(mainWindow_, pitch, soundModePlaying(ContinuousTone::Sound32).code);
        waitWhilePlaying(kToneWaitMs);
        KillAll();
    });
}

void sound::KillAll() {
    trapped(mainWindow_, errol::KillAll, [&] {
        ExFunctions ex;
        // The player first: it falls silent at once, before the look
        // through every process of the machine for the tone programs.
        ex.WavPlay(" ", false, true);
        killTonePrograms();
        showStatusCaption();
        deleteIfExists(toneRequestFile());
        deleteIfExists(temporaryToneWav());
    });
}

} // namespace tonara
