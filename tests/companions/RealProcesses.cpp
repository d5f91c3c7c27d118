#include "RealProcesses.h"
#include "Platform.h"
#include "ToneOwner.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QThread>
#include <stdexcept>

namespace tonara::test {

QString programsFolder() {
    const QString fromTestRun = qEnvironmentVariable("TONARA_BIN");
    if (!fromTestRun.isEmpty()) return fromTestRun;
    return QDir(QCoreApplication::applicationDirPath() + "/../bin").absolutePath();
}

void copyProgram(const QString& from, const QString& to) {
    QDir().mkpath(QFileInfo(to).absolutePath());
    QFile::remove(to);
    if (!QFile::copy(from, to)) throw std::runtime_error("cannot copy " + from.toStdString());
    QFile::setPermissions(to, QFile::permissions(to) | QFile::ExeOwner | QFile::ExeGroup | QFile::ExeOther);
}

QString sleeperImage(const QString& path) {
    const QFileInfo info(path);
    return info.absolutePath() + "/real/" + info.fileName();
}

void writeSleeper(const QString& path) {
    copyProgram("/bin/sleep", sleeperImage(path));
    writeBytes(path, "#!/bin/sh\nexec \"$(dirname \"$0\")/real/$(basename \"$0\")\" 60\n");
    QFile::setPermissions(path, QFile::permissions(path) | QFile::ExeOwner);
}

std::vector<qint64> runningAs(const QString& path) {
    std::vector<qint64> pids;
    for (const ProcessEntry& entry : platform().processes({}))
        if (entry.imageName == path) pids.push_back(entry.pid);
    return pids;
}

bool waitUntil(const std::function<bool()>& condition, int ms) {
    QElapsedTimer timer;
    timer.start();
    while (!condition()) {
        if (timer.elapsed() > ms) return false;
        QCoreApplication::processEvents();
        QThread::msleep(20);
    }
    return true;
}

QProcessEnvironment ownedEnvironment() {
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(kToneOwnerVariable, toneOwnerForChildren());
    return environment;
}

RealProcessEnvironment::RealProcessEnvironment() { setPlatform(nullptr); }

RealProcessEnvironment::~RealProcessEnvironment() {
    for (auto& child : children_) {
        if (child->state() == QProcess::NotRunning) continue;
        child->kill();
        child->waitForFinished(5000);
    }
    for (const QString& image : strangers_) {
        for (qint64 pid : runningAs(image)) platform().terminateProcess(pid);
        waitUntil([&] { return runningAs(image).empty(); }, 5000);
    }
}

QProcess& RealProcessEnvironment::start(const QString& program, const QStringList& arguments,
                                        const QString& workingFolder) {
    auto child = std::make_unique<QProcess>();
    if (!workingFolder.isEmpty()) child->setWorkingDirectory(workingFolder);
    child->setProcessEnvironment(ownedEnvironment());
    child->start(program, arguments);
    if (!child->waitForStarted(5000)) throw std::runtime_error("cannot start " + program.toStdString());
    children_.push_back(std::move(child));
    return *children_.back();
}

QString programFolderWith(const RealProcessEnvironment& env, const QStringList& programs) {
    const QString folder = env.temp("program");
    for (const QString& program : programs) {
        const QString from = program == "tonara_autoplay" ? QCoreApplication::applicationDirPath() : programsFolder();
        copyProgram(from + "/" + program, folder + "/" + program);
    }
    return folder;
}

} // namespace tonara::test
