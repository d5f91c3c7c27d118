// relay16 started for real: it starts SOUND16.DLL from its working folder and ends.
#include "RealProcesses.h"

#include <QDir>
#include <QFile>
#include <QThread>
#include <gtest/gtest.h>

namespace tonara::test {

namespace {

QString relay16() { return programsFolder() + "/relay16.exe"; }

} // namespace

TEST(Relay16, StartsSound16FromItsWorkingFolderAndEnds) {
    RealProcessEnvironment env;
    const QString folder = env.temp("program");
    QDir().mkpath(folder);
    writeSleeper(folder + "/SOUND16.DLL");
    const QString image = sleeperImage(folder + "/SOUND16.DLL");
    env.endAtTeardown(image);

    QProcess& relay = env.start(relay16(), {}, folder);
    ASSERT_TRUE(relay.waitForFinished(5000));
    EXPECT_EQ(relay.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(relay.exitCode(), 0);

    EXPECT_TRUE(waitUntil([&] { return !runningAs(image).empty(); }, 5000));
    // It was not waited for, and started once.
    QThread::msleep(300);
    EXPECT_EQ(runningAs(image).size(), 1u);
}

TEST(Relay16, ElsewhereItStartsNothingNotEvenBesideItself) {
    RealProcessEnvironment env;
    // A launcher whose own folder holds a SOUND16.DLL, started from a folder that holds none.
    const QString launcher = env.temp("launcher/relay16.exe");
    copyProgram(relay16(), launcher);
    writeSleeper(env.temp("launcher/SOUND16.DLL"));
    const QString besideLauncher = sleeperImage(env.temp("launcher/SOUND16.DLL"));
    env.endAtTeardown(besideLauncher);
    QDir().mkpath(env.temp("elsewhere"));

    QProcess& relay = env.start(launcher, {}, env.temp("elsewhere"));
    ASSERT_TRUE(relay.waitForFinished(5000));
    EXPECT_EQ(relay.exitCode(), 0);
    EXPECT_TRUE(relay.readAllStandardError().isEmpty());
    EXPECT_FALSE(waitUntil([&] { return !runningAs(besideLauncher).empty(); }, 1000));
}

TEST(Relay16, ASound16ThatCannotRunIsReportedInABoxThatWaitsForTheUser) {
    RealProcessEnvironment env;
    const QString folder = env.temp("program");
    QDir().mkpath(folder);
    writeBytes(folder + "/SOUND16.DLL", "not a program");

    QProcess& relay = env.start(relay16(), {}, folder);
    EXPECT_FALSE(relay.waitForFinished(1500)) << "it ended without waiting for its box";
}

TEST(Relay16, Sound16IsToldTheOwnerRelay16WasGiven) {
    for (const QString& owner : {QString("4242"), QString()}) {
        RealProcessEnvironment env;
        const QString folder = env.temp("program");
        QDir().mkpath(folder);
        writeBytes(folder + "/SOUND16.DLL",
                   "#!/bin/sh\necho \"${TONARA_OWNER_PID-none}\" > \"$(dirname \"$0\")/owner.txt\"\n");
        QFile::setPermissions(folder + "/SOUND16.DLL", QFile::permissions(folder + "/SOUND16.DLL") | QFile::ExeOwner);

        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        if (owner.isEmpty()) environment.remove("TONARA_OWNER_PID");
        else environment.insert("TONARA_OWNER_PID", owner);
        QProcess relay;
        relay.setProcessEnvironment(environment);
        relay.setWorkingDirectory(folder);
        relay.start(relay16(), QStringList());
        ASSERT_TRUE(relay.waitForFinished(5000));
        ASSERT_TRUE(waitUntil([&] { return fileBytes(folder + "/owner.txt").endsWith('\n'); }, 5000));
        EXPECT_EQ(fileBytes(folder + "/owner.txt"), (owner.isEmpty() ? QByteArray("none") : owner.toLatin1()) + '\n');
    }
}

} // namespace tonara::test
