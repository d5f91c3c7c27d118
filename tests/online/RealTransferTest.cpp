// Downloads and uploads through libcurl against real servers on 127.0.0.1.
#include "Download.h"
#include "LocalServer.h"
#include "QtPrinters.h"
#include "RealPlatform.h"
#include "TempFolders.h"

#include <QDir>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <chrono>
#include <csignal>
#include <gtest/gtest.h>
#include <iostream>
#include <thread>
#include <unistd.h>

namespace tonara::test {

namespace {

// Bytes of every value, long enough to arrive in many pieces.
QByteArray sampleBody() {
    QByteArray body;
    for (int i = 0; i < 300000; ++i) body.append(char(i * 7 % 256));
    return body;
}

} // namespace

TEST(RealDownload, OnlyAWholeFileAnswered200Arrives) {
    LocalServer server(LocalServer::Kind::Web);
    ASSERT_EQ(server.failure(), "");
    const QByteArray body = sampleBody();
    writeBytes(server.file("news.bin"), body);
    writeBytes(server.file("moved-here.txt"), "after the redirect");
    ClosedPort closed;
    struct Case {
        QString address;
        std::optional<QByteArray> expected;
    };
    const Case cases[] = {
        {server.address() + "/news.bin", body},
        {server.address() + "/moved", QByteArray("after the redirect")},
        {server.address() + "/missing.txt", std::nullopt},
        {server.address() + "/empty-ok", std::nullopt},
        {server.address() + "/partial", std::nullopt},
        {QString("http://127.0.0.1:%1/testcon.dat").arg(closed.port()), std::nullopt},
        {"https://info.tonara.example.invalid/testcon.dat", std::nullopt},
        {"file://" + server.file("news.bin"), std::nullopt},
        {"not an address at all", std::nullopt},
    };
    RealPlatform real;
    for (const Case& c : cases) {
        const std::optional<QByteArray> got = real.download(c.address);
        EXPECT_EQ(got.has_value(), c.expected.has_value()) << c.address.toStdString();
        if (got && c.expected) {
            EXPECT_TRUE(*got == *c.expected) << c.address.toStdString();
        }
    }
}

TEST(RealDownload, AServerThatStallsIsGivenUpOnAndLeavesNoFile) {
    LocalServer server(LocalServer::Kind::Web);
    ASSERT_EQ(server.failure(), "");
    TestEnvironment env;
    setPlatform(nullptr); // the real one
    writeBytes(env.temp("testcon.dat"), "old");
    EXPECT_FALSE(Download(server.address() + "/stall", env.temp("testcon.dat")));
    EXPECT_EQ(fileBytes(env.temp("testcon.dat")), "old");
}

// A server that never answers, or never ends, is given up on in the time a
// start-up can spare, and a termination request during the wait is served
// at once: the transfer is abandoned.
TEST(RealDownload, ASilentOrEndlessServerIsGivenUpOnAndATerminationRequestIsServedAtOnce) {
    LocalServer server(LocalServer::Kind::Web);
    ASSERT_EQ(server.failure(), "");
    RealPlatform real;
    for (const char* path : {"/silent/testcon.dat", "/endless/testcon.dat", "/stall"}) {
        QElapsedTimer clock;
        clock.start();
        EXPECT_FALSE(real.download(server.address() + path).has_value()) << path;
        const qint64 took = clock.elapsed();
        EXPECT_GE(took, 2000) << path << ": the server had its time";
        EXPECT_LT(took, 2600) << path;
        std::cout << "[ measured ] " << path << " given up after " << took << " ms" << std::endl;

        qint64 served = -1;
        real.onTerminationRequest([&] { served = clock.elapsed(); });
        clock.restart();
        std::thread sender([] {
            std::this_thread::sleep_for(std::chrono::milliseconds(300));
            ::kill(::getpid(), SIGTERM);
        });
        EXPECT_FALSE(real.download(server.address() + path).has_value()) << path;
        const qint64 abandoned = clock.elapsed();
        sender.join();
        EXPECT_GE(served, 300) << path;
        EXPECT_LT(served, 800) << path << ": served within half a second of the request";
        EXPECT_LT(abandoned, 800) << path << ": the transfer was abandoned";
        struct sigaction standard {};
        standard.sa_handler = SIG_DFL;
        ::sigaction(SIGTERM, &standard, nullptr);
    }
}

TEST(RealDownload, TheFileIsReplacedWholeAndALinkIsNotFollowed) {
    LocalServer server(LocalServer::Kind::Web);
    ASSERT_EQ(server.failure(), "");
    writeBytes(server.file("updatetonara.txt"), "237\r\nhttp://host/\r\n");
    TestEnvironment env;
    setPlatform(nullptr);
    const QString target = env.temp("updatetonara.txt");

    writeBytes(env.temp("victim.txt"), "keep me");
    ASSERT_TRUE(QFile::link(env.temp("victim.txt"), target));
    EXPECT_TRUE(Download(server.address() + "/updatetonara.txt", target));
    EXPECT_EQ(fileBytes(target), "237\r\nhttp://host/\r\n");
    EXPECT_FALSE(QFileInfo(target).isSymLink());
    EXPECT_EQ(fileBytes(env.temp("victim.txt")), "keep me");

    EXPECT_FALSE(Download(server.address() + "/missing.txt", target));
    EXPECT_EQ(fileBytes(target), "237\r\nhttp://host/\r\n") << "a failure leaves the file alone";
    EXPECT_FALSE(Download(server.address() + "/updatetonara.txt", env.temp("no such folder/updatetonara.txt")));
    EXPECT_EQ(QDir(env.temp()).entryList(QDir::Files | QDir::Hidden),
              (QStringList{"updatetonara.txt", "victim.txt"}))
        << "no pieces left behind";
}

TEST(RealUpload, APutArrivesWholeAndARefusalSaysWhy) {
    LocalServer server(LocalServer::Kind::Web);
    ASSERT_EQ(server.failure(), "");
    ClosedPort closed;
    RealPlatform real;
    const QByteArray body = sampleBody();
    EXPECT_EQ(real.upload(body, server.address() + "/upload/517.txt"), "");
    EXPECT_TRUE(fileBytes(server.file("upload/517.txt")) == body);
    EXPECT_EQ(real.upload("", server.address() + "/upload/empty.txt"), "") << "an empty log is still sent";
    EXPECT_TRUE(QFile::exists(server.file("upload/empty.txt")));

    EXPECT_EQ(real.upload("x", server.address() + "/refuse/517.txt"), "the server answered 403");
    EXPECT_NE(real.upload("x", QString("http://127.0.0.1:%1/517.txt").arg(closed.port())), "");
    EXPECT_NE(real.upload("x", "https://upload.tonara.example.invalid/517.txt"), "");
    EXPECT_NE(real.upload("x", "file://" + server.file("written.txt")), "");
    EXPECT_FALSE(QFile::exists(server.file("written.txt")));
}

TEST(RealUpload, OverFtpTheFileArrivesAndAWrongPasswordIsRefused) {
    LocalServer server(LocalServer::Kind::Ftp);
    ASSERT_EQ(server.failure(), "");
    RealPlatform real;
    const QByteArray body = sampleBody();
    EXPECT_EQ(real.upload(body, server.address() + "/517error.log"), "");
    EXPECT_TRUE(fileBytes(server.file("517error.log")) == body);

    QString wrong = server.address();
    wrong.replace(":secret@", ":wrong@");
    EXPECT_NE(real.upload("x", wrong + "/518error.log"), "");
    EXPECT_FALSE(QFile::exists(server.file("518error.log")));
}

} // namespace tonara::test
