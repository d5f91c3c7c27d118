// Start-up checks of the system the program runs on.
#include "ExFunctions.h"
#include "NumberText.h"
#include "Platform.h"

namespace tonara {

qint32 ExFunctions::DPIGet() { return platform().screen().dpiX; }

QString ExFunctions::CheckVersion() {
    const VersionAnswer first = platform().queryVersion();
    const QString text = signedNumberText(first.result) + " ." + signedNumberText(first.major) + " ." +
                         signedNumberText(first.minor);
    const VersionAnswer v = platform().queryVersion();
    if (v.result != 1 || v.platformId != 2 || (v.major != 5 && v.major != 6)) {
        platform().messageBox("Upgrade your Windows to use Tonara", "Windows version", MessageIcon::Critical,
                              MessageButtons::Ok);
        platform().endProgram(1);
    }
    if (v.major == 5 && v.minor == 0)
        platform().messageBox("Warning: Windows 2000 detected! Classic sound mode will NOT work!", "Windows version",
                              MessageIcon::Exclamation, MessageButtons::Ok);
    return text;
}

} // namespace tonara
