#include "ExFunctions.h"
#include "Platform.h"

namespace tonara {

namespace {

// The name up to its first NUL, compared on its end without regard to case,
// so a bare file name and a full path both match.
bool imageNameEndsWith(QString imageName, const QString& lowerName) {
    const qsizetype nul = imageName.indexOf(QChar(u'\0'));
    if (nul >= 0) imageName.truncate(nul);
    return imageName.toLower().endsWith(lowerName);
}

} // namespace

void ExFunctions::KillProcess(const QString& NameProcess) {
    if (NameProcess.isEmpty()) return;
    const QString wanted = NameProcess.toLower();
    for (const ProcessEntry& entry : platform().processes())
        // One that cannot be ended (not ours, already gone) is passed over.
        if (imageNameEndsWith(entry.imageName, wanted)) platform().terminateProcess(entry.pid);
}

} // namespace tonara
