// The settings check on any file: it ends in the agreement window, in an
// error report, or with settings the program can use.
#include "FakeMainWindow.h"
#include "Program.h"
#include "TempFolders.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace tonara;
    static test::TestEnvironment env;
    test::writeBytes(env.appData("tonara.ini"), QByteArray(reinterpret_cast<const char*>(data), qsizetype(size)));
    QFile::remove(env.temp("userdata.txt"));
    test::FakeMainWindow window;
    window.errorLeft = true;
    try {
        Program(window).CheckSettings();
    } catch (const test::ProgramEnded&) {
        return 0; // reported through the error window
    }
    if (window.formEvents.contains("show Form5")) return 0;
    const MainState& s = window.vars;
    const bool usable = QStringList{"16", "32", "64", "128", "256"}.contains(s.bit) && (s.lang == "en" || s.lang == "nl") &&
                        s.sensmicro >= 1 && s.sensmicro <= 20 && (s.snd == 0 || s.snd == 1) &&
                        (s.updater == 0 || s.updater == 1) && (s.microcheck == 0 || s.microcheck == 1);
    if (!usable) std::abort();
    return 0;
}
