#include "Relay.h"
#include "Platform.h"
#include "RuntimeError.h"
#include "TextFile.h"

#include <QDir>

namespace tonara {

int relaySound16(const QString& folder) {
    const QString program = QDir(folder).absoluteFilePath("SOUND16.DLL");
    if (!fileExists(program)) return 0;
    try {
        platform().startProgram('"' + program + '"', true);
    } catch (const RuntimeError& failure) {
        platform().messageBox("SOUND16.DLL could not be started: " + failure.description(), "relay16",
                              MessageIcon::Critical, MessageButtons::Ok);
        return 1;
    }
    return 0;
}

} // namespace tonara
