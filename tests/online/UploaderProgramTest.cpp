// The uploader ftpSend.exe as a real process, sending to real servers on 127.0.0.1.
#include "LocalServer.h"
#include "OnlineRig.h"
#include "Program.h"
#include "Shell.h"

#include <QProcess>
#include <QProcessEnvironment>

namespace tonara::test {

namespace {

struct UploaderRun {
    int exitCode = -1;
    QString errors;
    QByteArray output;
};

// Runs the uploader with TEMP at temp and the given upload address (none when empty).
UploaderRun runUploader(const QString& temp, const QString& address, const QString& program = {}) {
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("TEMP", temp);
    environment.remove("TONARA_UPLOAD_URL");
    if (!address.isEmpty()) environment.insert("TONARA_UPLOAD_URL", address);
    QProcess uploader;
    uploader.setProcessEnvironment(environment);
    uploader.start(program.isEmpty() ? qEnvironmentVariable("TONARA_BIN") + "/ftpSend.exe" : program, {});
    UploaderRun run;
    if (!uploader.waitForFinished(120000)) {
        uploader.kill();
        uploader.waitForFinished();
        run.errors = "the uploader did not end";
        return run;
    }
    run.exitCode = uploader.exitStatus() == QProcess::NormalExit ? uploader.exitCode() : -1;
    run.errors = QString::fromLocal8Bit(uploader.readAllStandardError());
    run.output = uploader.readAllStandardOutput();
    return run;
}

void handOver(const TestEnvironment& env, const QString& local, const QString& name) {
    writeBytes(env.temp("snd.ini"), (local + "\r\n" + name + "\r\n").toLatin1());
}

} // namespace

TEST(UploaderProgram, SendsTheActivityLogOverHttp) {
    LocalServer server(LocalServer::Kind::Web);
    ASSERT_EQ(server.failure(), "");
    TestEnvironment env;
    writeBytes(env.temp("userdata.txt"), "\r\n\r\n\r\n>> Program started\r\n");
    handOver(env, env.temp("userdata.txt"), "517.txt");
    const UploaderRun run = runUploader(env.temp(), server.address() + "/upload/");
    EXPECT_EQ(run.exitCode, 0) << run.errors.toStdString();
    EXPECT_EQ(fileBytes(server.file("upload/517.txt")), "\r\n\r\n\r\n>> Program started\r\n");
    EXPECT_FALSE(QFile::exists(env.temp("snd.ini")));
}

TEST(UploaderProgram, SendsTheErrorLogOverFtpFromItsBareName) {
    LocalServer server(LocalServer::Kind::Ftp);
    ASSERT_EQ(server.failure(), "");
    TestEnvironment env;
    writeBytes(env.temp("error.log"), "Error number:  53,   Error value:  14\r\n");
    handOver(env, "error.log", "4711error.log");
    const UploaderRun run = runUploader(env.temp(), server.address() + "/");
    EXPECT_EQ(run.exitCode, 0) << run.errors.toStdString();
    EXPECT_EQ(fileBytes(server.file("4711error.log")), "Error number:  53,   Error value:  14\r\n");
}

TEST(UploaderProgram, WithNoAddressItSendsNothingAndARefusalIsReported) {
    LocalServer server(LocalServer::Kind::Web);
    ASSERT_EQ(server.failure(), "");
    TestEnvironment env;
    writeBytes(env.temp("userdata.txt"), "log\r\n");

    handOver(env, env.temp("userdata.txt"), "517.txt");
    const UploaderRun quiet = runUploader(env.temp(), "");
    EXPECT_EQ(quiet.exitCode, 0);
    EXPECT_EQ(quiet.errors, "");
    EXPECT_FALSE(QFile::exists(env.temp("snd.ini")));

    handOver(env, env.temp("userdata.txt"), "517.txt");
    const UploaderRun refused = runUploader(env.temp(), server.address() + "/refuse/");
    EXPECT_EQ(refused.exitCode, 1);
    EXPECT_TRUE(refused.errors.contains("403")) << refused.errors.toStdString();
    EXPECT_EQ(refused.output, "") << "the server's answer is not printed";
}

// The whole road: SendData writes the hand-over and names the program it
// starts; that program, run for real, delivers the log as N.txt.
TEST(UploaderProgram, WhatSendDataHandsOverArrivesAtTheServer) {
    LocalServer server(LocalServer::Kind::Web);
    ASSERT_EQ(server.failure(), "");
    OnlineRig rig;
    rig.env.fake.companionFolderPath = qEnvironmentVariable("TONARA_BIN");
    rig.main.vars.snd = 1;
    Program(rig.main).PrintFile(">> Program started");
    Program(rig.main).SendData();
    const QString uploadName = rig.handOver().value(1);
    const PlatformRecord* start = rig.env.fake.last("start");
    ASSERT_NE(start, nullptr);
    const ShellCommand command = parseShellCommand(start->text);
    EXPECT_TRUE(command.viaCommandProcessor);

    const UploaderRun run = runUploader(rig.env.temp(), server.address() + "/upload/", command.program);
    EXPECT_EQ(run.exitCode, 0) << run.errors.toStdString();
    EXPECT_EQ(fileLines(server.file("upload/" + uploadName)), (QStringList{"", "", "", ">> Program started"}));
}

} // namespace tonara::test
