#include "ExFunctions.h"
#include "Platform.h"

namespace tonara {

void ExFunctions::KillProcess(const QString& NameProcess) {
    if (NameProcess.isEmpty()) return;
    const QString wanted = NameProcess.toLower();
    // Matching the end serves a bare file name and a full path alike. Only
    // this user's processes count, as only those could be ended without
    // privileges; one that cannot be ended (already gone) is passed over.
    for (const ProcessEntry& entry : platform().processes())
        if (entry.ownProcess && entry.imageName.toLower().endsWith(wanted)) platform().terminateProcess(entry.pid);
}

} // namespace tonara
