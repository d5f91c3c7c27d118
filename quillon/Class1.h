#pragma once
// Quillon's tone class: the shared tone engine's player and tone programs,
// ended by this object's own stop flag z rather than the main window's.
// Every operation returns when its tone has ended and serves window events
// while it waits.

#include <QString>

namespace tonara::quillon {

class Class1 {
public:
    // 1 ends the sounding tone; each tone sets it to 0 when it starts.
    qint16 z = 0;

    // The 16-bit tone program through relay16, the 32-bit tone program, the player.
    void Sound16(qint16 pitch);
    void Sound32(qint16 pitch);
    void SoundWinmmRND(qint16 pitch);
    // Sets z, ends the tone programs and removes the tone request file.
    void KillAll();
    void Delay(qint16 timems);

private:
    void soundThroughToneProgram(qint16 pitch, const QString& command);
    void waitForStop(qint16 periodMs);
};

} // namespace tonara::quillon
