// A language file of any bytes, applied to each window: it is taken or left,
// and never sets a control the window does not have.
#include "FakeMainWindow.h"
#include "Program.h"
#include "TempFolders.h"

#include <cstdlib>
#include <gtest/gtest.h>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace tonara;
    static test::TestEnvironment env;
    test::writeBytes(env.dataFolder("lng_nl.dll"), QByteArray(reinterpret_cast<const char*>(data), qsizetype(size)));
    for (const qint16 form : std::initializer_list<qint16>{1, 2, 4, 99}) {
        test::FakeMainWindow window;
        window.errorLeft = true;
        try {
            Program(window).LanguageAPI("nl", form);
        } catch (const test::ProgramEnded&) {
            // An unreadable file is reported through the error window.
        }
        // The fake main window reports a control name the design lacks as a failure.
        if (testing::UnitTest::GetInstance()->ad_hoc_test_result().Failed()) std::abort();
    }
    return 0;
}
