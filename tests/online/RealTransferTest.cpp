// Downloads and uploads through libcurl against real servers on 127.0.0.1.
#include "Download.h"
#include "LocalServer.h"
#include "QtPrinters.h"
#include "RealPlatform.h"
#include "TempFolders.h"

#include <QDir>
#include <QTemporaryDir>
#include <gtest/gtest.h>

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
