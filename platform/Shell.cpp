#include "Shell.h"
#include "RealPlatform.h"
#include "ProcFs.h"
#include "RuntimeError.h"
#include "ToneOwner.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <csignal>
#include <sys/types.h>
#include <unistd.h>

namespace tonara {

ShellCommand parseShellCommand(const QString& command) {
    ShellCommand sc;
    QString rest = command.trimmed();
    if (rest.startsWith("cmd /c ", Qt::CaseInsensitive)) {
        sc.viaCommandProcessor = true;
        rest = rest.mid(7).trimmed();
    }
    if (rest.startsWith('"')) {
        const qsizetype close = rest.indexOf('"', 1);
        if (close < 0) {
            sc.program = rest.mid(1);
            return sc;
        }
        sc.program = rest.mid(1, close - 1);
        rest = rest.mid(close + 1);
    } else {
        const qsizetype space = rest.indexOf(' ');
        sc.program = space < 0 ? rest : rest.left(space);
        rest = space < 0 ? QString() : rest.mid(space);
    }
    if (rest.startsWith(' ')) rest.remove(0, 1);
    sc.argument = rest;
    return sc;
}

QString resolveProgram(const QString& program, const QString& folder) {
    const QString path = QDir::isAbsolutePath(program) ? program : QDir(folder).filePath(program);
    if (QFileInfo::exists(path)) return path;
    // Windows finds a program whatever the case of its name ("SOUND32.dll" is sound32.dll).
    const QFileInfo wanted(path);
    const QDir dir = wanted.dir();
    for (const QString& name : dir.entryList(QDir::Files, QDir::Name))
        if (name.compare(wanted.fileName(), Qt::CaseInsensitive) == 0) return dir.filePath(name);
    return path;
}

void RealPlatform::startProgram(const QString& command, bool /*hidden: no console windows here*/) {
    const ShellCommand sc = parseShellCommand(command);
    const QString folder = companionFolder();
    const QString path = resolveProgram(sc.program, folder);
    const QFileInfo info(path);
    if (!info.isFile() || !info.isExecutable()) {
        if (sc.viaCommandProcessor) return;
        raise(info.isFile() ? err::PermissionDenied : err::FileNotFound);
    }
    QProcess child;
    child.setProgram(path);
    if (!sc.argument.isEmpty()) child.setArguments({sc.argument});
    child.setWorkingDirectory(folder);
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    const QString owner = toneOwnerForChildren();
    if (owner.isEmpty()) environment.remove(kToneOwnerVariable);
    else environment.insert(kToneOwnerVariable, owner);
    child.setProcessEnvironment(environment);
    if (!child.startDetached()) {
        if (sc.viaCommandProcessor) return;
        raise(err::FileNotFound);
    }
}

namespace {

// The executable of a running program whose file was deleted reads "path (deleted)".
QString executablePath(const QString& procDir) {
    static const QString deleted = QStringLiteral(" (deleted)");
    QString path = QFile::symLinkTarget(procDir + "/exe");
    if (path.endsWith(deleted)) path.chop(deleted.size());
    return path;
}

} // namespace

std::vector<ProcessEntry> RealPlatform::processes() {
    std::vector<ProcessEntry> list;
    const QDir proc("/proc");
    for (const QString& name : proc.entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        bool numeric = false;
        const qint64 pid = name.toLongLong(&numeric);
        if (!numeric) continue;
        // A zombie has ended; only its parent's wait would remove it, and
        // orphans are not always reaped here.
        const auto stat = readProcStat(pid);
        if (!stat || stat->ended()) continue;
        const QString procDir = "/proc/" + name;
        QString image = executablePath(procDir);
        if (image.isEmpty()) {
            QFile comm(procDir + "/comm");
            if (!comm.open(QIODevice::ReadOnly)) continue;
            image = QString::fromLocal8Bit(comm.readAll()).trimmed();
        }
        list.push_back(ProcessEntry{pid, image, processUser(pid) == ::getuid()});
    }
    return list;
}

bool RealPlatform::terminateProcess(qint64 pid) { return ::kill(static_cast<pid_t>(pid), SIGKILL) == 0; }

} // namespace tonara
