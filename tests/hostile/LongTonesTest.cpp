// A tone file's longest tones still leave the program listening for a
// termination signal.
#include "RunningTonara.h"
#include "TempFolders.h"

#include <QThread>
#include <gtest/gtest.h>
#include <iostream>

namespace tonara::test {

// 32 000 ms plus as much extra time: 64 s, played whole by the player modes
// and waited out by the tone-program modes.
TEST(LongTones, ASigtermDuringA64SecondToneEndsTheProgramWithinHalfASecond) {
    for (const char* bit : {"256", "32"}) {
        RunningTonara tonara(settingsText(bit));
        const QString file = tonara.appData("long.tnf");
        writeBytes(file, "%valid%\r\n[info]\r\n{236}\r\nLong\r\n{visible}\r\n[sound]\r\n{32000}\r\n<440>\r\n\\32000\r\n");
        tonara.start({file});
        ASSERT_GE(tonara.waitForLog("> Starting tnf file", 20000), 0) << bit;
        QThread::msleep(1500); // the tone sounds
        ASSERT_TRUE(tonara.running()) << bit;
        const qint64 ended = tonara.terminate();
        std::cout << "[ measured ] SIGTERM during a 64 s tone (mode " << bit << "): ended after " << ended << " ms"
                  << std::endl;
        EXPECT_GE(ended, 0) << bit;
        EXPECT_LT(ended, 500) << bit;
        EXPECT_FALSE(tonara.crashed()) << bit;
    }
}

} // namespace tonara::test
