#pragma once
// The external tone programs, and the request file they read.

#include "ToneRequest.h"

#include <QString>
#include <QtGlobal>

namespace tonara {

// How long a continuous tone's loop waits between looks at Stop.
constexpr qint16 kToneWaitMs = 208;

// The shell command that starts the tone program of a sound mode code
// ("sound32.dll" for "32", "cmd /c relay16.exe" for "16"); empty for the others.
QString toneProgramCommand(const QString& bit);
// The name the tone program of a code runs under, matched on the end of an
// image name; empty for a code without one.
QString toneProgramName(const QString& bit);
// Ends this program's tone programs of every mode that has one.
void killTonePrograms();

} // namespace tonara
