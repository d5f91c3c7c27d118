// The start-up's waits as an unlucky user meets them: a server that never
// answers or never ends, a termination signal in the middle, an error window.
#include "LocalServer.h"
#include "RunningTonara.h"

#include <QDir>
#include <QThread>
#include <gtest/gtest.h>
#include <iostream>

namespace tonara::test {

namespace {
constexpr int kMostTerminationMs = 500;
} // namespace

// Both downloads of the start-up (update check, connectivity test) go to a
// server that accepts and then never answers, or trickles a body without
// end: together they hold the start-up less than five seconds, and the
// update check is the failure it would be without a server.
TEST(StartUpDownloads, ASilentOrEndlessServerHoldsTheStartUpLessThanFiveSeconds) {
    LocalServer server(LocalServer::Kind::Web);
    ASSERT_EQ(server.failure(), "");
    RunningTonara baseline(settingsText("256", true));
    baseline.start();
    const qint64 withoutServer = baseline.waitForLog(">> Program starting finished", 20000);
    ASSERT_GE(withoutServer, 0);
    baseline.terminate();
    for (const char* kind : {"/silent", "/endless"}) {
        RunningTonara tonara(settingsText("256", true));
        tonara.environment().insert("TONARA_UPDATE_HOST", server.address() + kind);
        tonara.environment().insert("TONARA_INFO_HOST", server.address() + kind);
        tonara.start();
        const qint64 finished = tonara.waitForLog(">> Program starting finished", 20000);
        ASSERT_GE(finished, 0) << kind;
        std::cout << "[ measured ] start-up with the " << kind + 1 << " server: " << finished << " ms (without one: "
                  << withoutServer << " ms)" << std::endl;
        EXPECT_LT(finished - withoutServer, 5000) << kind;
        EXPECT_TRUE(tonara.activityLog().contains("> Update error")) << kind;
        EXPECT_GE(tonara.terminate(), 0);
    }
}

// A termination signal while a download waits, or while the error window of
// a failed start-up is up, ends the program within half a second; so does
// one whose shut-down fails (the hand-over to the uploader cannot be written).
TEST(StartUpDownloads, ATerminationSignalDuringTheWaitsEndsTheProgramAtOnce) {
    LocalServer server(LocalServer::Kind::Web);
    ASSERT_EQ(server.failure(), "");
    struct Case {
        const char* what;
        QByteArray settings;
        const char* waitFor; // the activity log line, or a file in TEMP
        bool file;
        bool handOverInTheWay;
    };
    QByteArray failing = settingsText("256", true);
    failing.replace("Microphone=1", "Microphone=abc"); // the conversion fails: the error window
    QByteArray sending = settingsText("256", false);
    sending.replace("SendData=n", "SendData=y");
    const Case cases[] = {
        {"during the update check", settingsText("256", true), "> Bit: ", false, false},
        {"during the connectivity test", settingsText("256", false), "> Bit: ", false, false},
        {"while the error window is up", failing, "error.log", true, false},
        {"when the shut-down fails", sending, ">> Program starting finished", false, true},
    };
    for (const Case& c : cases) {
        RunningTonara tonara(c.settings);
        if (c.handOverInTheWay) QDir().mkpath(tonara.temp("snd.ini/in the way"));
        tonara.environment().insert("TONARA_UPDATE_HOST", server.address() + "/silent");
        tonara.environment().insert("TONARA_INFO_HOST", server.address() + "/silent");
        tonara.start();
        const qint64 reached = c.file ? tonara.waitForFile(tonara.temp(c.waitFor), 20000)
                                      : tonara.waitForLog(c.waitFor, 20000);
        ASSERT_GE(reached, 0) << c.what;
        QThread::msleep(400); // well inside the wait
        ASSERT_TRUE(tonara.running()) << c.what;
        const qint64 ended = tonara.terminate();
        std::cout << "[ measured ] SIGTERM " << c.what << ": ended after " << ended << " ms" << std::endl;
        EXPECT_GE(ended, 0) << c.what;
        EXPECT_LT(ended, kMostTerminationMs) << c.what;
        EXPECT_FALSE(tonara.crashed()) << c.what << ": ended by its own shut-down";
        EXPECT_EQ(tonara.exitCode(), 0) << c.what;
    }
}

} // namespace tonara::test
