// Tones on the second output stream, on the fake platform.
#include "ToneTestHelpers.h"
#include "FakeMainWindow.h"
#include "Sound.h"
#include "Synthesis.h"
#include "TempFolders.h"

#include <QFile>
#include <gtest/gtest.h>

namespace tonara::test {
using tonara::test::kinds;
using tonara::test::toneImage;
using tonara::test::FakeMainWindow;
using tonara::test::TestEnvironment;
using tonara::test::writeBytes;

TEST(SoundDXRND, LoopsTheToneOnceThroughTheStreamUntilStop) {
    TestEnvironment env;
    FakeMainWindow win;
    win.vars.lang = "nl";
    win.vars.acctoon1 = "Werkelijke toonhoogte (Hertz): ";
    env.fake.at(500, [&] {
        sound(win).KillAll();
        win.vars.z = 1;
    });

    sound(win).SoundDXRND(1000);

    // Stop silences the player; nothing ever started it.
    EXPECT_EQ(kinds(env.fake), QStringList({"stream-open", "stream-play", "silence", "stream-stop"}));
    const PlatformRecord* open = env.fake.last("stream-open");
    EXPECT_EQ(open->text, env.temp("tnfwinmmtmp.wav"));
    EXPECT_EQ(open->data, toneImage(1000));
    EXPECT_TRUE(env.fake.last("stream-play")->looping);
    EXPECT_EQ(env.fake.last("stream-stop")->atMs, 500) << "the wait ends with the Stop it served";
    EXPECT_FALSE(QFile::exists(env.temp("tnfwinmmtmp.wav")));
    EXPECT_EQ(win.statusHistory.first(), "Actual pitch (Hertz): 1000");
    EXPECT_EQ(win.statusHistory.at(1), "Werkelijke toonhoogte (Hertz): 1000");
}

TEST(SoundDXRND, NoDeviceIsReportedAndLeavesNoFile) {
    TestEnvironment env;
    FakeMainWindow win;
    win.errorLeft = true;
    env.fake.noToneStreamReason = "No output device";
    EXPECT_THROW(sound(win).SoundDXRND(1000), ProgramEnded);
    ASSERT_GE(win.errorLines.size(), 2);
    EXPECT_EQ(win.errorLines[0], "Error number:  68,   Error value:  1023");
    EXPECT_EQ(win.errorLines[1], "<No output device>");
    EXPECT_EQ(env.fake.count("stream-play") + env.fake.count("play"), 0);
    EXPECT_FALSE(QFile::exists(env.temp("tnfwinmmtmp.wav")));
}

TEST(SoundDXRNDTMP, SoundsForTheDurationWithoutStatusOrEvents) {
    TestEnvironment env;
    FakeMainWindow win;
    int passes = 0;
    env.fake.onProcessEvents = [&] { ++passes; };
    env.fake.clockMs = 10;

    sound(win).SoundDXRNDTMP(25000, 300);

    EXPECT_EQ(kinds(env.fake), QStringList({"stream-open", "stream-play", "stream-stop"}));
    EXPECT_EQ(env.fake.last("stream-open")->data, toneImage(25000));
    EXPECT_EQ(env.fake.last("stream-stop")->atMs, 310);
    EXPECT_EQ(passes, 0);
    EXPECT_TRUE(win.statusHistory.isEmpty());
    EXPECT_FALSE(QFile::exists(env.temp("tnfwinmmtmp.wav")));
}

TEST(SoundDX, PlaysThePresetFileAtTheGivenRateAndKeepsIt) {
    {
        TestEnvironment env;
        FakeMainWindow win;
        const QString preset = env.dataFolder("sounddx3.dll");
        writeBytes(preset, toneImage(500));
        env.fake.at(200, [&] { win.vars.z = 1; });
        sound(win).SoundDX(500, "3", 22050);
        EXPECT_EQ(kinds(env.fake), QStringList({"stream-open", "stream-play", "stream-frequency", "stream-stop"}));
        EXPECT_EQ(env.fake.last("stream-open")->text, preset);
        EXPECT_EQ(env.fake.last("stream-frequency")->rateHz, 22050);
        EXPECT_EQ(env.fake.last("stream-stop")->atMs, 200);
        EXPECT_TRUE(QFile::exists(preset));
        EXPECT_EQ(win.statusText(1), "Actual pitch (Hertz): 500");
    }
    {
        TestEnvironment env;
        FakeMainWindow win;
        win.errorLeft = true;
        EXPECT_THROW(sound(win).SoundDX(500, "9", 0), ProgramEnded);
        ASSERT_FALSE(win.errorLines.isEmpty());
        EXPECT_EQ(win.errorLines[0], "Error number:  53,   Error value:  1020");
    }
}

} // namespace tonara::test
