#include "ExFunctions.h"
#include "Platform.h"

namespace tonara {

void ExFunctions::KillProcess(const QString& NameProcess) {
    if (NameProcess.isEmpty()) return;
    // Matching the end serves a bare file name and a full path alike. Only
    // tone programs this program started count: another copy's, or one run by
    // hand, are not its to end. One that cannot be ended (already gone) is passed over.
    for (const ProcessEntry& entry : platform().processes(NameProcess))
        if (entry.ownProcess && entry.startedHere)
            platform().terminateProcess(entry.pid);
}

} // namespace tonara
