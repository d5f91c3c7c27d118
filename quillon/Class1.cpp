#include "Class1.h"
#include "ExFunctions.h"
#include "ExternalTone.h"
#include "Platform.h"
#include "QuillonTrap.h"
#include "SoundModes.h"
#include "Synthesis.h"
#include "TextFile.h"

namespace tonara::quillon {

namespace {

constexpr qint16 kPlayerWaitMs = 100;
QString toneCommand(ContinuousTone tone) {
    // Quillon names the 32-bit tone program in capitals; the platform finds it whatever the case.
    return QString::fromLatin1(soundModePlaying(tone).quillonToneCommand);
}

} // namespace

void Class1::Delay(qint16 timems) { ExFunctions().delay(timems); }

void Class1::waitForStop(qint16 periodMs) {
    do {
        platform().processEvents();
        platform().serveEvents(periodMs, [&] { return z == 1; });
    } while (z != 1);
}

void Class1::SoundWinmmRND(qint16 pitch) {
    trapped([&] {
        ExFunctions ex;
        const QString wav = temporaryToneWav();
        z = 0;
        writeToneWav(pitch);
        ex.WavPlay(wav, true, false);
        waitForStop(kPlayerWaitMs);
        ex.WavPlay("0", false, true);
        deleteIfExists(wav);
    });
}

void Class1::soundThroughToneProgram(qint16 pitch, const QString& command) {
    trapped([&] {
        z = 0;
        writeToneRequest(pitchRequestLine(pitch));
        platform().startProgram(command, true);
        waitForStop(kToneWaitMs);
        KillAll();
    });
}

void Class1::Sound16(qint16 pitch) { soundThroughToneProgram(pitch, toneCommand(ContinuousTone::Sound16)); }

void Class1::Sound32(qint16 pitch) { soundThroughToneProgram(pitch, toneCommand(ContinuousTone::Sound32)); }

void Class1::KillAll() {
    trapped([&] {
        z = 1;
        killTonePrograms();
        deleteIfExists(toneRequestFile());
    });
}

} // namespace tonara::quillon
