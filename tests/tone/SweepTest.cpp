// The low-to-high sweep on the virtual clock: through the player step by
// step, and mirrored on the screen while a tone program sweeps by itself.
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
using tonara::test::fileBytes;
using tonara::test::FakeMainWindow;
using tonara::test::TestEnvironment;

namespace {

QString shown(int pitch) { return "Actual pitch (Hertz): " + QString::number(pitch); }


std::vector<int> sinePitches(const FakeMainWindow& win) {
    std::vector<int> pitches;
    for (const auto& [pitch, mode] : win.sines) {
        EXPECT_EQ(mode, 930);
        pitches.push_back(pitch);
    }
    return pitches;
}

} // namespace

TEST(SoundWinmmLTH, ClimbsInStepsOf75MsAndStartsAgainAfterTheTop) {
    TestEnvironment env;
    FakeMainWindow win;
    win.vars.lang = "en";
    win.vars.acctoon1 = "Frequency: ";
    // Stop during the 162nd step: one full cycle of 160 and two more.
    env.fake.at(161 * 75 + 30, [&] { win.vars.z = 1; });

    sound(win).SoundWinmmLTH();

    const std::vector<int> pitches = sinePitches(win);
    ASSERT_EQ(pitches.size(), 162u);
    for (int step = 0; step < 160; ++step) ASSERT_EQ(pitches[step], 200 * (step + 1)) << step;
    EXPECT_EQ(pitches[160], 200);
    EXPECT_EQ(pitches[161], 400);

    const auto plays = env.fake.all("play");
    ASSERT_EQ(plays.size(), 162u);
    for (size_t step = 0; step < plays.size(); ++step) {
        ASSERT_EQ(plays[step]->atMs, qint64(75 * step)) << step;
        ASSERT_TRUE(plays[step]->looping);
        ASSERT_EQ(plays[step]->text, env.temp("tnfwinmmtmp.wav"));
    }
    EXPECT_EQ(plays[159]->data, toneImage(32000));
    // Each step is silenced before the next starts, and once more at the end.
    EXPECT_EQ(env.fake.count("silence"), 163);

    QStringList expected;
    for (int p : pitches) expected << shown(p);
    expected << "Frequency: ";
    EXPECT_EQ(win.statusHistory, expected);
    EXPECT_FALSE(QFile::exists(env.temp("tnfwinmmtmp.wav")));
}

// Every step waits for its own tone's time (by the output's clock, on a
// real machine): however long making a step takes, and after a stall, the
// next never cuts it short. A Stop during a step ends it at once.
TEST(SoundWinmmLTH, EveryStepSoundsItsTimeAndAStopEndsTheStepAtOnce) {
    TestEnvironment env;
    FakeMainWindow win;
    win.vars.lang = "en";
    int pass = 0;
    env.fake.onProcessEvents = [&] {
        ++pass;
        env.fake.clockMs += pass == 1 ? 60 : pass == 4 ? 200 : 3;
    };
    env.fake.at(1000, [&] { win.vars.z = 1; });

    sound(win).SoundWinmmLTH();

    const auto plays = env.fake.all("play");
    ASSERT_GE(plays.size(), 4u);
    for (size_t step = 0; step < plays.size(); ++step) {
        EXPECT_EQ(plays[step]->durationMs, 75) << step;
        if (step > 0) {
            EXPECT_GE(plays[step]->atMs - plays[step - 1]->atMs, 75) << step;
        }
    }
    const auto silences = env.fake.all("silence");
    ASSERT_FALSE(silences.empty());
    EXPECT_EQ(silences.front()->atMs, plays.front()->atMs + 75);
    EXPECT_LT(silences.back()->atMs, plays.back()->atMs + 75) << "the last step did not end at the Stop";
}

TEST(LowToHigh, Code32MirrorsTheProgramsSweepAndRestartsItAtTheTop) {
    TestEnvironment env;
    FakeMainWindow win;
    win.vars.lang = "en";
    env.fake.processList = {{41, "/opt/tonara/sound32.dll"}, {42, "/opt/tonara/SOUND16.DLL"}};
    QList<QByteArray> requests;
    for (qint64 at : {0, 1000, 31900, 32500})
        env.fake.at(at, [&] { requests << fileBytes(env.temp("sound.ini")); });
    env.fake.at(164 * 200 + 100, [&] { win.vars.z = 1; });

    sound(win).LowToHigh("32");

    for (const QByteArray& request : requests) EXPECT_EQ(request, "1\r\n");
    EXPECT_EQ(requests.size(), 4);

    const std::vector<int> pitches = sinePitches(win);
    ASSERT_EQ(pitches.size(), 165u);
    for (int step = 0; step < 159; ++step) ASSERT_EQ(pitches[step], 200 * (step + 1)) << step;
    const std::vector<int> afterTop(pitches.begin() + 158, pitches.end());
    EXPECT_EQ(afterTop, (std::vector<int>{31800, 100, 300, 500, 700, 900, 1100}));

    EXPECT_EQ(win.statusHistory.first(), "Actual pitch (Hertz): ");
    EXPECT_EQ(win.statusHistory.at(1), shown(200));
    const qsizetype reset = win.statusHistory.indexOf("Resetting...");
    ASSERT_GT(reset, 0);
    EXPECT_EQ(win.statusHistory.at(reset - 1), shown(31800));
    EXPECT_EQ(win.statusHistory.at(reset + 1), shown(100));
    EXPECT_EQ(win.statusHistory.count("Resetting..."), 1);
    EXPECT_EQ(win.statusHistory.last(), "Actual pitch (Hertz): ");

    // Started at once, killed and started again at the top, killed by the end.
    const auto starts = env.fake.all("start");
    ASSERT_EQ(starts.size(), 2u);
    for (const PlatformRecord* s : starts) {
        EXPECT_EQ(s->text, "sound32.dll");
        EXPECT_TRUE(s->hidden);
    }
    EXPECT_EQ(starts[0]->atMs, 0);
    EXPECT_EQ(starts[1]->atMs, 159 * 200);
    const auto kills = env.fake.all("terminate");
    ASSERT_EQ(kills.size(), 2u);
    EXPECT_EQ(kills[0]->pid, 41);
    EXPECT_EQ(kills[0]->atMs, 159 * 200);
    EXPECT_LT(kills[0], starts[1]); // records in the order they were made
    EXPECT_EQ(kills[1]->pid, 42);
    EXPECT_EQ(env.fake.clockMs, 164 * 200 + 100) << "the wait ends with the Stop it served";
    EXPECT_FALSE(QFile::exists(env.temp("sound.ini")));
}

TEST(LowToHigh, Code16RestartsRelay16AfterEndingTheProgramAtTheTop) {
    TestEnvironment env;
    FakeMainWindow win;
    win.vars.acctoon1 = "Actual pitch: ";
    env.fake.processList = {{51, "/opt/tonara/SOUND16.DLL"}};
    env.fake.at(160 * 200 + 100, [&] { win.vars.z = 1; });

    sound(win).LowToHigh("16");

    const auto starts = env.fake.all("start");
    ASSERT_EQ(starts.size(), 2u);
    EXPECT_EQ(starts[0]->text, "cmd /c relay16.exe");
    EXPECT_EQ(starts[1]->text, "cmd /c relay16.exe");
    EXPECT_EQ(starts[1]->atMs, 159 * 200);
    // Two sweeps must never sound together: the one at the top goes first.
    const auto kills = env.fake.all("terminate");
    ASSERT_EQ(kills.size(), 1u);
    EXPECT_EQ(kills[0]->pid, 51);
    EXPECT_LT(kills[0], starts[1]);

    EXPECT_TRUE(win.sines.empty());
    EXPECT_FALSE(win.statusHistory.contains("Resetting..."));
    EXPECT_EQ(win.statusHistory.count("Actual pitch: "), 161);
    EXPECT_FALSE(QFile::exists(env.temp("sound.ini")));
}

TEST(LowToHigh, OtherCodesStartNothingAndStopRemovesTheRequest) {
    TestEnvironment env;
    FakeMainWindow win;
    QByteArray requestWhileRunning;
    env.fake.at(40000, [&] {
        requestWhileRunning = fileBytes(env.temp("sound.ini"));
        sound(win).KillAll();
        win.vars.z = 1;
    });

    sound(win).LowToHigh("64");

    EXPECT_EQ(requestWhileRunning, "1\r\n");
    EXPECT_EQ(env.fake.count("start"), 0);
    EXPECT_TRUE(win.sines.empty());
    // Only the bare caption: at the start, from Stop, and from the closing stop.
    EXPECT_EQ(win.statusHistory, QStringList(3, "Actual pitch (Hertz): "));
    EXPECT_FALSE(QFile::exists(env.temp("sound.ini")));
}

} // namespace tonara::test
