// The status bar's third panel: the output's rate, and a pitch it cannot carry.
#include "FakeMainWindow.h"
#include "OutputStatus.h"
#include "Sound.h"
#include "TempFolders.h"

#include <gtest/gtest.h>

namespace tonara::test {
using tonara::test::FakeMainWindow;
using tonara::test::TestEnvironment;

TEST(OutputStatus, ShowsTheRateAndAPitchAboveTheBandItCarriesAtFullLevel) {
    const struct {
        int rate;
        qint32 pitch;
        const char* text;
    } cases[] = {
        {48000, 0, "Output: 48 kHz"},
        {48000, 23759, "Output: 48 kHz"},
        {48000, 23760, "Output: 48 kHz, too low for 23760 Hz"},
        {48000, 24000, "Output: 48 kHz, too low for 24000 Hz"},
        {48000, 32000, "Output: 48 kHz, too low for 32000 Hz"},
        {96000, 32000, "Output: 96 kHz"},
        {44100, 0, "Output: 44.1 kHz"},
        {22050, 16600, "Output: 22.05 kHz, too low for 16600 Hz"},
        {0, 1000, "Output: none"},
    };
    for (const auto& c : cases) EXPECT_EQ(outputStatusText(c.rate, c.pitch), c.text) << c.rate << " " << c.pitch;
}

TEST(OutputStatus, TheEngineShowsItWhileATonePlaysAndClearsTheWarningAfter) {
    for (const int rate : {48000, 96000}) {
        TestEnvironment env;
        env.fake.outputRateHz = rate;
        FakeMainWindow win;
        QString during;
        env.fake.at(300, [&] { during = win.statusText(3); });
        env.fake.at(500, [&] { win.vars.z = 1; });
        sound(win).SoundWinmmRND(30000);
        EXPECT_EQ(during, rate == 48000 ? "Output: 48 kHz, too low for 30000 Hz" : "Output: 96 kHz");
        EXPECT_EQ(win.statusText(3), outputStatusText(rate, 0));
    }

    TestEnvironment env;
    FakeMainWindow win;
    QStringList steps;
    env.fake.onProcessEvents = [&] { steps << win.statusText(3); };
    env.fake.at(122 * 75, [&] { win.vars.z = 1; });
    sound(win).SoundWinmmLTH(); // each pass sees what the step before it showed
    ASSERT_GE(steps.size(), 122);
    EXPECT_EQ(steps[118], "Output: 48 kHz"); // 23 600 Hz
    EXPECT_EQ(steps[119], "Output: 48 kHz, too low for 23800 Hz");
    EXPECT_EQ(win.statusText(3), "Output: 48 kHz");
}

} // namespace tonara::test
