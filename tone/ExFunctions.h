#pragma once
// Playback utilities and system queries of the main program.

#include "MainWindow.h"

#include <QString>

namespace tonara {

class ExFunctions {
public:
    // Starts the player on a file (looping or once), or silences it when KillAll is true.
    void WavPlay(const QString& PathtoFile, bool LoopSound, bool KillAll);
    // Blocks for timems milliseconds.
    void delay(qint32 timems);
    // One timed tone in the current sound mode code.
    void sound(MainWindow& mainWindow, qint16 pitch, qint16 Duration);

    // Horizontal logical resolution of the screen, in dots per inch.
    qint32 DPIGet();
    // The version string; warns on 5.0 and ends the program on an unsupported system.
    QString CheckVersion();

    // Ends every process whose image name ends with NameProcess (any case).
    void KillProcess(const QString& NameProcess);
};

} // namespace tonara
