// Starts the 16-bit tone program found in the working folder, hidden and
// without waiting, and ends. It never shows a window.
#include "Platform.h"
#include "RuntimeError.h"
#include "TextFile.h"

#include <QCoreApplication>
#include <QDir>

using namespace tonara;

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const QString program = QDir::current().absoluteFilePath("SOUND16.DLL");
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
