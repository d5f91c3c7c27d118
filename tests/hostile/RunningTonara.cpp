#include "RunningTonara.h"
#include "TempFolders.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QThread>
#include <csignal>
#include <sys/stat.h>
#include <unistd.h>

namespace tonara::test {

namespace {

const QString kSetpriv = QStringLiteral("/usr/bin/setpriv");

QStringList asOtherUserPrefix() {
    return {QString("--reuid=%1").arg(kOtherUid), QString("--regid=%1").arg(kOtherUid), "--clear-groups"};
}

qint64 clockMs() {
    static QElapsedTimer clock = [] { QElapsedTimer t; t.start(); return t; }();
    return clock.elapsed();
}

} // namespace

QString whyNotAsOtherUser() {
    if (::geteuid() != 0) return "acting as another user needs root";
    if (!QFileInfo(kSetpriv).isExecutable()) return "setpriv (util-linux) is missing";
    return {};
}

bool runAsOtherUser(const QStringList& command) {
    QProcess run;
    run.start(kSetpriv, asOtherUserPrefix() + command);
    return run.waitForFinished(10000) && run.exitStatus() == QProcess::NormalExit && run.exitCode() == 0;
}

QByteArray settingsText(const QString& bit, bool autoUpdate) {
    return QString("AutoUpdate=%1\r\nSoundBit=%2\r\nLanguage=EN\r\nSendData=n\r\nMicrophone=1\r\nMicrophoneON=n\r\n")
        .arg(autoUpdate ? "y" : "n", bit)
        .toLatin1();
}

RunningTonara::RunningTonara(const QByteArray& settings) : environment_(QProcessEnvironment::systemEnvironment()) {
    for (const char* folder : {"temp", "appdata", "home", "run"}) QDir(root_.path()).mkpath(folder);
    ::chmod(QFile::encodeName(temp()).constData(), 0700);
    ::chmod(QFile::encodeName(root_.path() + "/run").constData(), 0700);
    writeBytes(appData("tonara.ini"), settings);
    logFolder = temp();
    // Nothing leaves the machine and loopback goes straight to the test's server; the test's sound
    // server (PULSE_RUNTIME_PATH) is used when there is one.
    for (const char* name : {"TONARA_UPDATE_HOST", "TONARA_INFO_HOST", "TONARA_UPLOAD_URL", "TMPDIR", "http_proxy",
                             "https_proxy", "all_proxy", "HTTPS_PROXY", "ALL_PROXY"})
        environment_.remove(name);
    environment_.insert("QT_QPA_PLATFORM", "offscreen");
    environment_.insert("TEMP", temp());
    environment_.insert("APPDATA", appData());
    environment_.insert("HOME", root_.path() + "/home");
    environment_.insert("XDG_RUNTIME_DIR", root_.path() + "/run");
}

RunningTonara::~RunningTonara() {
    if (running()) {
        process_.kill();
        process_.waitForFinished(5000);
    }
}

QString RunningTonara::temp(const QString& name) const {
    return name.isEmpty() ? root_.path() + "/temp" : root_.path() + "/temp/" + name;
}
QString RunningTonara::appData(const QString& name) const {
    return name.isEmpty() ? root_.path() + "/appdata" : root_.path() + "/appdata/" + name;
}

void RunningTonara::start(const QStringList& arguments, bool asOtherUser) {
    const QString tonara = qEnvironmentVariable("TONARA_BIN") + "/tonara";
    process_.setProcessEnvironment(environment_);
    process_.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    process_.setStandardOutputFile(QProcess::nullDevice());
    if (asOtherUser) {
        // Its folders become its own.
        QProcess::execute("chown", {"-R", QString("%1:%1").arg(kOtherUid), root_.path()});
        process_.start(kSetpriv, asOtherUserPrefix() + QStringList{tonara} + arguments);
    } else {
        process_.start(tonara, arguments);
    }
    process_.waitForStarted(10000);
    startedMs_ = clockMs();
}

qint64 RunningTonara::waitForLog(const QString& text, int withinMs) {
    const qint64 until = clockMs() + withinMs;
    do {
        for (const QString& line : activityLog())
            if (line.startsWith(text)) return clockMs() - startedMs_;
        QThread::msleep(10);
    } while (clockMs() < until);
    return -1;
}

qint64 RunningTonara::waitForFile(const QString& path, int withinMs) {
    const qint64 until = clockMs() + withinMs;
    do {
        if (QFileInfo::exists(path)) return clockMs() - startedMs_;
        QThread::msleep(10);
    } while (clockMs() < until);
    return -1;
}

qint64 RunningTonara::terminate(int withinMs) {
    if (!running()) return -1; // a pid of 0 would reach the test's own process group
    const qint64 sent = clockMs();
    ::kill(pid_t(process_.processId()), SIGTERM);
    if (process_.waitForFinished(withinMs)) return clockMs() - sent;
    process_.kill();
    process_.waitForFinished(5000);
    return -1;
}

QStringList RunningTonara::activityLog() const { return fileLines(logFolder + "/userdata.txt"); }

} // namespace tonara::test
