// Ending real processes by the end of their name.
#include "ExFunctions.h"
#include "RealProcesses.h"

#include "Platform.h"
#include "ToneOwner.h"

#include <QFile>
#include <QTemporaryDir>
#include <algorithm>
#include <memory>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

namespace tonara::test {

namespace {

bool stillRunning(QProcess& p) { return !p.waitForFinished(300) && p.state() == QProcess::Running; }

bool endedByKill(QProcess& p) { return p.waitForFinished(5000) && p.exitStatus() == QProcess::CrashExit; }

} // namespace

TEST(KillProcessReal, EndsEveryMatchAndNoOtherProcess) {
    RealProcessEnvironment env;
    auto sleeper = [&](const QString& name) -> QProcess& {
        copyProgram("/bin/sleep", env.temp(name));
        return env.start(env.temp(name), {"60"});
    };
    QProcess& exact = sleeper("sound32.dll");
    QProcess& upper = sleeper("upper/SOUND32.DLL");
    QProcess& deleted = sleeper("gone/sound32.dll");
    // A program whose file was removed while it runs still ends: its image reads "... (deleted)".
    ASSERT_TRUE(QFile::remove(env.temp("gone/sound32.dll")));
    QProcess& longer = sleeper("sound32.dll.decoy");
    QProcess& trailing = sleeper("notsound32.dllx");
    QProcess& other = sleeper("sound16.dll");

    ExFunctions().KillProcess("");
    for (QProcess* p : {&exact, &upper, &deleted, &longer, &trailing, &other}) EXPECT_TRUE(stillRunning(*p));

    ExFunctions().KillProcess("SOUND32.dll");
    EXPECT_TRUE(endedByKill(exact));
    EXPECT_TRUE(endedByKill(upper));
    EXPECT_TRUE(endedByKill(deleted));
    EXPECT_TRUE(stillRunning(longer));
    EXPECT_TRUE(stillRunning(trailing));
    EXPECT_TRUE(stillRunning(other));

    // Nothing left to match: a second pass is harmless.
    ExFunctions().KillProcess("SOUND32.dll");
    EXPECT_TRUE(stillRunning(longer));
}

TEST(KillProcessReal, AnEndedProcessIsNoLongerListed) {
    RealProcessEnvironment env;
    const QString image = env.temp("sound16.dll");
    copyProgram("/bin/sleep", image);
    // Not our child, as the tone programs are not: once killed, only its new
    // parent could reap it, and here that may never happen.
    qint64 pid = 0;
    QProcess detached;
    detached.setProgram(image);
    detached.setArguments({"60"});
    detached.setWorkingDirectory(env.temp());
    detached.setProcessEnvironment(ownedEnvironment());
    ASSERT_TRUE(detached.startDetached(&pid));
    env.endAtTeardown(image);
    ASSERT_TRUE(waitUntil([&] { return runningAs(image) == std::vector<qint64>{pid}; }, 5000));

    ExFunctions().KillProcess("SOUND16.dll");
    const auto listed = [pid] {
        const std::vector<ProcessEntry> all = platform().processes({});
        return std::any_of(all.begin(), all.end(), [pid](const ProcessEntry& e) { return e.pid == pid; });
    };
    // Gone from the list as soon as it has ended, reaped or not.
    EXPECT_TRUE(waitUntil([&] { return !listed(); }, 500));
}

// Another copy of the program, or the user by hand, started these: the name
// matches, the owner does not.
TEST(KillProcessReal, ToneProgramsThisProcessDidNotStartAreLeftAlone) {
    RealProcessEnvironment env;
    const QString image = env.temp("sound32.dll");
    copyProgram("/bin/sleep", image);
    env.endAtTeardown(image);
    QProcess& mine = env.start(image, {"60"});
    QProcessEnvironment anotherCopys = ownedEnvironment();
    anotherCopys.insert(kToneOwnerVariable, QString::number(::getppid()));
    QProcessEnvironment byHand = ownedEnvironment();
    byHand.remove(kToneOwnerVariable);
    std::vector<std::unique_ptr<QProcess>> strangers;
    for (const QProcessEnvironment& environment : {anotherCopys, byHand}) {
        strangers.push_back(std::make_unique<QProcess>());
        strangers.back()->setProcessEnvironment(environment);
        strangers.back()->start(image, {"60"});
        ASSERT_TRUE(strangers.back()->waitForStarted(5000));
    }

    ExFunctions().KillProcess("SOUND32.dll");
    EXPECT_TRUE(endedByKill(mine));
    EXPECT_TRUE(stillRunning(*strangers[0])) << "another copy's tone program";
    EXPECT_TRUE(stillRunning(*strangers[1])) << "one started by hand";
    for (auto& stranger : strangers) {
        stranger->kill();
        stranger->waitForFinished(5000);
    }
}

TEST(KillProcessReal, AnotherUsersProcessIsLeftAlone) {
    if (::geteuid() != 0) GTEST_SKIP() << "starting a process as another user needs root";
    RealProcessEnvironment env;
    // A folder every user may enter, holding the program the other user runs.
    QTemporaryDir open;
    ::chmod(QFile::encodeName(open.path()).constData(), 0755);
    const QString image = open.path() + "/sound32.dll";
    copyProgram("/bin/sleep", image);
    QProcess stranger;
    stranger.setChildProcessModifier([] {
        if (::setgid(65534) != 0 || ::setuid(65534) != 0) ::_exit(98);
    });
    stranger.start(image, {"60"});
    ASSERT_TRUE(stranger.waitForStarted(5000));
    ASSERT_TRUE(waitUntil([&] { return !runningAs(image).empty(); }, 5000)) << "it did not run as the other user";

    ExFunctions().KillProcess("SOUND32.dll");
    EXPECT_TRUE(stillRunning(stranger)) << "the name matches, the owner does not";
    stranger.kill();
    stranger.waitForFinished(5000);
}

} // namespace tonara::test
