#pragma once
// What relay16 does: start the 16-bit tone program found in a folder.

#include <QString>

namespace tonara {

// Starts SOUND16.DLL from folder, hidden and without waiting. Nothing there:
// nothing is started. One that cannot be started is reported in a message
// box. Returns the launcher's exit code.
int relaySound16(const QString& folder);

} // namespace tonara
