// The multimedia-player tones, the player switch, delay and the timed tone
// of each sound mode, on the virtual clock.
#include "ToneTestHelpers.h"
#include "ExFunctions.h"
#include "FakeMainWindow.h"
#include "RuntimeError.h"
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

TEST(SoundWinmmRND, LoopsTheToneUntilStopAndCleansUp) {
    TestEnvironment env;
    FakeMainWindow win;
    win.vars.lang = "en";
    int passes = 0;
    env.fake.onProcessEvents = [&] { ++passes; };
    env.fake.at(1000, [&] { win.vars.z = 1; });

    sound(win).SoundWinmmRND(1000);

    const PlatformRecord* play = env.fake.last("play");
    ASSERT_NE(play, nullptr);
    EXPECT_EQ(play->atMs, 0);
    EXPECT_EQ(play->text, env.temp("tnfwinmmtmp.wav"));
    EXPECT_TRUE(play->looping);
    EXPECT_EQ(play->data, toneImage(1000));
    EXPECT_EQ(kinds(env.fake), QStringList({"play", "silence"}));
    // Stop, served during the wait, ends it at once: the loop sees it at 1000 ms.
    EXPECT_EQ(env.fake.last("silence")->atMs, 1000);
    EXPECT_EQ(env.fake.clockMs, 1000);
    EXPECT_EQ(passes, 11);
    EXPECT_FALSE(QFile::exists(env.temp("tnfwinmmtmp.wav")));
    EXPECT_EQ(win.statusHistory, QStringList({"Actual pitch (Hertz): 1000"}));
}

TEST(SoundWinmmRND, EndsWhenTheWindowClosesAndRunsAtLeastOnePass) {
    {
        TestEnvironment env;
        FakeMainWindow win;
        env.fake.at(500, [&] { win.hideForm(Form::Form1); });
        sound(win).SoundWinmmRND(440);
        EXPECT_EQ(env.fake.last("silence")->atMs, 500);
        EXPECT_FALSE(QFile::exists(env.temp("tnfwinmmtmp.wav")));
    }
    {
        TestEnvironment env;
        FakeMainWindow win;
        win.vars.z = 1; // a Stop already pressed does not skip the first wait
        sound(win).SoundWinmmRND(440);
        EXPECT_EQ(env.fake.last("silence")->atMs, 100);
    }
}

TEST(SoundWinmmRND, DutchStatusTextAndHighPitches) {
    TestEnvironment env;
    FakeMainWindow win;
    win.vars.lang = "nl";
    win.vars.acctoon1 = "Werkelijke toonhoogte (Hertz): ";
    env.fake.at(200, [&] { win.vars.z = 1; });
    sound(win).SoundWinmmRND(32000);
    EXPECT_EQ(win.statusHistory,
              QStringList({"Actual pitch (Hertz): 32000", "Werkelijke toonhoogte (Hertz): 32000"}));
    // The tone that would alias at 44 100 samples is played from the 96 kHz image.
    EXPECT_EQ(env.fake.last("play")->data, toneImage(32000));
}

TEST(SoundWinmmRND, AFailureInTheWaitIsReportedWithItsCode) {
    TestEnvironment env;
    FakeMainWindow win;
    win.errorLeft = true;
    env.fake.onProcessEvents = [] { tonara::raise(err::PermissionDenied); };
    EXPECT_THROW(sound(win).SoundWinmmRND(1000), ProgramEnded);
    ASSERT_FALSE(win.errorLines.isEmpty());
    EXPECT_EQ(win.errorLines[0], "Error number:  70,   Error value:  1022");
}

TEST(SoundWinmmRNDTMP, PlaysForTheDurationWithoutLettingEventsRun) {
    TestEnvironment env;
    FakeMainWindow win;
    int passes = 0;
    env.fake.onProcessEvents = [&] { ++passes; };
    env.fake.clockMs = 40;
    sound(win).SoundWinmmRNDTMP(700, 250);
    EXPECT_EQ(kinds(env.fake), QStringList({"play", "silence"}));
    EXPECT_EQ(env.fake.last("play")->atMs, 40);
    EXPECT_TRUE(env.fake.last("play")->looping);
    EXPECT_EQ(env.fake.last("play")->data, toneImage(700));
    EXPECT_EQ(env.fake.last("silence")->atMs, 290);
    EXPECT_EQ(passes, 0);
    EXPECT_TRUE(win.statusHistory.isEmpty());
    EXPECT_FALSE(QFile::exists(env.temp("tnfwinmmtmp.wav")));
}

TEST(SoundWinmm, LoopsThePresetFileAndLeavesIt) {
    TestEnvironment env;
    FakeMainWindow win;
    const QString preset = env.dataFolder("sounddx7.dll");
    writeBytes(preset, toneImage(500));
    env.fake.at(300, [&] { win.vars.z = 1; });
    sound(win).SoundWinmm(500, "7");
    ASSERT_EQ(kinds(env.fake), QStringList({"play", "silence"}));
    EXPECT_EQ(env.fake.last("play")->text, preset);
    EXPECT_TRUE(env.fake.last("play")->looping);
    EXPECT_EQ(env.fake.last("silence")->atMs, 300);
    EXPECT_TRUE(QFile::exists(preset));
    EXPECT_EQ(win.statusText(1), "Actual pitch (Hertz): 500");
}

TEST(WavPlay, StartsLoopingOrOnceAndSilencesWithoutTouchingFiles) {
    TestEnvironment env;
    const QString file = env.temp("x.wav");
    writeBytes(file, toneImage(300));
    ExFunctions ex;
    ex.WavPlay(file, false, false);
    ex.WavPlay(file, true, false);
    ex.WavPlay(file, true, true);
    ex.WavPlay("", false, true);
    ASSERT_EQ(kinds(env.fake), QStringList({"play", "play", "silence", "silence"}));
    EXPECT_FALSE(env.fake.records[0].looping);
    EXPECT_TRUE(env.fake.records[1].looping);
    EXPECT_TRUE(QFile::exists(file));

    ex.delay(120);
    EXPECT_EQ(env.fake.clockMs, 120);
}

TEST(TimedSound, EachSoundModeCodeHasItsBackEnd) {
    struct Case {
        QString bit;
        QStringList kinds;
        qint64 elapsed;
    };
    const Case cases[] = {
        {"16", {"beep"}, 50},           {"32", {"beep"}, 50},    {"64", {}, 0},
        {"128", {"play", "silence"}, 50}, {"256", {"play", "silence"}, 50}, {"", {}, 0},
    };
    for (const Case& c : cases) {
        TestEnvironment env;
        FakeMainWindow win;
        win.vars.bit = c.bit;
        ExFunctions().sound(win, 1000, 50);
        EXPECT_EQ(kinds(env.fake), c.kinds) << c.bit.toStdString();
        EXPECT_EQ(env.fake.clockMs, c.elapsed) << c.bit.toStdString();
        if (const PlatformRecord* beep = env.fake.last("beep")) {
            EXPECT_EQ(beep->pitch, 1000);
            EXPECT_EQ(beep->durationMs, 50);
        }
        if (const PlatformRecord* play = env.fake.last("play")) {
            EXPECT_EQ(play->data, toneImage(1000));
        }
        EXPECT_FALSE(QFile::exists(env.temp("tnfwinmmtmp.wav")));
    }
}

} // namespace tonara::test
