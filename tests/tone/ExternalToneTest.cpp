// The external tone programs on the fake platform: the tone request file,
// starting them, and ending them by name.
#include "ExFunctions.h"
#include "ExternalTone.h"
#include "FakeMainWindow.h"
#include "Sound.h"
#include "TempFolders.h"

#include <QFile>
#include <gtest/gtest.h>

namespace tonara::test {
using tonara::test::fileBytes;
using tonara::test::FakeMainWindow;
using tonara::test::TestEnvironment;
using tonara::test::writeBytes;

namespace {

std::vector<qint64> terminatedPids(const FakePlatform& fake) {
    std::vector<qint64> pids;
    for (const PlatformRecord* r : fake.all("terminate")) pids.push_back(r->pid);
    return pids;
}

// Stop as the main window does it: the engine-wide stop first, then the flag.
void pressStop(FakeMainWindow& win) {
    sound(win).KillAll();
    win.vars.z = 1;
}

} // namespace

TEST(ToneRequest, LinesReadBackAsTheyWereMeant) {
    const ToneRequest pitch = parseToneRequest(" 440 \r\n");
    EXPECT_EQ(pitch.kind, ToneRequest::Kind::Pitch);
    EXPECT_EQ(pitch.pitch, 440);
    // The sweep request is the bare "1"; a pitch of 1 Hz carries its blanks.
    EXPECT_EQ(parseToneRequest("1\r\n").kind, ToneRequest::Kind::Sweep);
    const ToneRequest oneHertz = parseToneRequest(" 1 \r\n");
    EXPECT_EQ(oneHertz.kind, ToneRequest::Kind::Pitch);
    EXPECT_EQ(oneHertz.pitch, 1);
    // Only the first line counts.
    EXPECT_EQ(parseToneRequest(" 700 \r\n 900 \r\n").pitch, 700);

    for (const QByteArray& nothing : {QByteArray(), QByteArray("\r\n"), QByteArray(" 0 \r\n"), QByteArray("-5 \r\n"),
                                      QByteArray(" 40000 \r\n"), QByteArray("high\r\n"), QByteArray("12abc\r\n")})
        EXPECT_EQ(parseToneRequest(nothing).kind, ToneRequest::Kind::None) << nothing.toStdString();

    TestEnvironment env;
    EXPECT_EQ(readToneRequest().kind, ToneRequest::Kind::None);
}

TEST(Sound32, HandsThePitchOverUntilStopThenEndsTheProgramsAndCleansUp) {
    TestEnvironment env;
    FakeMainWindow win;
    win.vars.z = 1; // left over from an earlier Stop: the new tone must reset it
    env.fake.processList = {{11, "C:\\Program Files\\Tonara\\sound32.dll"}, {12, "/opt/tonara/SOUND16.DLL"},
                            {13, "/usr/bin/sound32.dll.decoy"}, {14, "sound32.dllx"}, {15, "/usr/bin/bash"},
                            // Another user's tone program: not this program's to end.
                            {16, "/opt/tonara/sound32.dll", false}};
    writeBytes(env.temp("tnfwinmmtmp.wav"), "RIFF");
    QByteArray requestWhileSounding;
    env.fake.at(1000, [&] {
        requestWhileSounding = fileBytes(env.temp("sound.ini"));
        pressStop(win);
    });

    sound(win).Sound32(440);

    EXPECT_EQ(requestWhileSounding, " 440 \r\n");
    ASSERT_EQ(env.fake.count("start"), 1);
    EXPECT_EQ(env.fake.last("start")->text, "sound32.dll");
    EXPECT_TRUE(env.fake.last("start")->hidden);
    EXPECT_EQ(env.fake.last("start")->atMs, 0);
    // Stop killed both tone programs; the pass at the end found nothing left.
    EXPECT_EQ(terminatedPids(env.fake), (std::vector<qint64>{11, 12}));
    EXPECT_EQ(env.fake.processList.size(), 4u);
    EXPECT_EQ(env.fake.count("silence"), 2);
    // Stop, served during the wait at 1000 ms, ends it there.
    EXPECT_EQ(env.fake.clockMs, 1000);
    EXPECT_FALSE(QFile::exists(env.temp("sound.ini")));
    EXPECT_FALSE(QFile::exists(env.temp("tnfwinmmtmp.wav")));
    EXPECT_EQ(win.statusText(1), "Actual pitch (Hertz): ");
}

TEST(Sound16, GoesThroughRelay16AndEndsWhenTheWindowCloses) {
    TestEnvironment env;
    FakeMainWindow win;
    env.fake.processList = {{21, "/opt/tonara/SOUND16.DLL"}};
    // A missing program behind the command processor fails silently.
    env.fake.missingPrograms << "relay16.exe";
    QByteArray requestWhileSounding;
    env.fake.at(400, [&] {
        requestWhileSounding = fileBytes(env.temp("sound.ini"));
        win.hideForm(Form::Form1);
    });

    sound(win).Sound16(1000);

    EXPECT_EQ(requestWhileSounding, " 1000 \r\n");
    ASSERT_EQ(env.fake.count("start"), 1);
    EXPECT_EQ(env.fake.last("start")->text, "cmd /c relay16.exe");
    EXPECT_TRUE(env.fake.last("start")->hidden);
    EXPECT_EQ(env.fake.clockMs, 400);
    EXPECT_EQ(terminatedPids(env.fake), std::vector<qint64>{21});
    EXPECT_FALSE(QFile::exists(env.temp("sound.ini")));
    EXPECT_TRUE(win.errorLines.isEmpty());
}

TEST(Sound32, AFailedStartOrRequestIsReportedAndNothingWaits) {
    {
        TestEnvironment env;
        FakeMainWindow win;
        env.fake.missingPrograms << "sound32.dll";
        env.fake.at(300, [&] { win.errorLeft = true; });
        EXPECT_THROW(sound(win).Sound32(440), ProgramEnded);
        ASSERT_FALSE(win.errorLines.isEmpty());
        EXPECT_EQ(win.errorLines[0], "Error number:  53,   Error value:  1016");
        EXPECT_EQ(env.fake.count("start"), 0);
        EXPECT_EQ(env.fake.count("terminate") + env.fake.count("silence"), 0);
    }
    {
        TestEnvironment env;
        FakeMainWindow win;
        win.errorLeft = true;
        qputenv("TEMP", QFile::encodeName(env.temp("no-such-folder")));
        EXPECT_THROW(sound(win).Sound16(440), ProgramEnded);
        ASSERT_FALSE(win.errorLines.isEmpty());
        EXPECT_EQ(win.errorLines[0], "Error number:  76,   Error value:  1015");
        EXPECT_EQ(env.fake.count("start"), 0);
    }
}

TEST(KillAll, WithNothingRunningOnlyTheStatusBarAndLeftoversChange) {
    TestEnvironment env;
    FakeMainWindow win;
    win.vars.lang = "en";
    win.status[1] = "Actual pitch (Hertz): 440";
    env.fake.processList = {{31, "/usr/bin/sleep"}};
    writeBytes(env.temp("sound.ini"), " 440 \r\n");
    writeBytes(env.temp("tnfwinmmtmp.wav"), "RIFF");
    writeBytes(env.temp("other.wav"), "RIFF");

    sound(win).KillAll();

    EXPECT_EQ(env.fake.count("terminate"), 0);
    EXPECT_EQ(env.fake.count("start"), 0);
    ASSERT_EQ(env.fake.records.size(), 1u);
    EXPECT_EQ(env.fake.records[0].kind, "silence");
    EXPECT_EQ(win.statusHistory, QStringList({"Actual pitch (Hertz): "}));
    EXPECT_FALSE(QFile::exists(env.temp("sound.ini")));
    EXPECT_FALSE(QFile::exists(env.temp("tnfwinmmtmp.wav")));
    EXPECT_TRUE(QFile::exists(env.temp("other.wav")));
    EXPECT_TRUE(win.errorLines.isEmpty());

    win.vars.lang = "nl";
    win.vars.acctoon1 = "Werkelijke toonhoogte (Hertz): ";
    sound(win).KillAll();
    EXPECT_EQ(win.statusText(1), "Werkelijke toonhoogte (Hertz): ");
}

// Two copies of the program share the user, the tone programs' names and the
// temporary folder: each ends only what it started, whoever asks.
TEST(KillProcess, EndsOnlyTheToneProgramsThisProgramStarted) {
    struct Case {
        const char* image;
        bool ownProcess;
        bool startedHere;
        bool ended;
    };
    const Case cases[] = {
        {"/opt/tonara/sound32.dll", true, true, true},
        {"/opt/tonara/sound32.dll", true, false, false}, // another copy's, or one run by hand
        {"/opt/tonara/sound32.dll", false, false, false}, // another user's
        {"/opt/tonara/SOUND16.DLL", true, true, false},   // another name
    };
    TestEnvironment env;
    qint64 pid = 100;
    for (const Case& c : cases) env.fake.processList.push_back({++pid, c.image, c.ownProcess, c.startedHere});

    ExFunctions().KillProcess("SOUND32.dll");

    std::vector<qint64> expected;
    for (std::size_t i = 0; i < std::size(cases); ++i)
        if (cases[i].ended) expected.push_back(101 + qint64(i));
    EXPECT_EQ(terminatedPids(env.fake), expected);
}

} // namespace tonara::test
