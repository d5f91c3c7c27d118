// Programs of this machine: starting the companions, listing and ending processes.
#include "RealPlatform.h"
#include "ProcFs.h"
#include "RuntimeError.h"
#include "Shell.h"
#include "ToneOwner.h"

#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <csignal>
#include <cstdlib>
#include <dirent.h>
#include <sys/stat.h>
#include <sys/types.h>
#include <unistd.h>

namespace tonara {

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

std::vector<ProcessEntry> RealPlatform::processes(const QString& nameEnding) {
    std::vector<ProcessEntry> list;
    DIR* proc = ::opendir("/proc");
    if (!proc) return list;
    while (const dirent* entry = ::readdir(proc)) {
        char* end = nullptr;
        const qint64 pid = std::strtoll(entry->d_name, &end, 10);
        if (pid <= 0 || *end != '\0') continue;
        // Another process's environment can be slow to read (it waits on
        // that process's memory, as a dying one frees it), and a Stop lists
        // every process of the machine: the kernel's threads are passed over
        // and only the ones named are asked more.
        bool runsNoProgram = false;
        QString image = processExecutable(pid, &runsNoProgram);
        if (runsNoProgram) continue;
        if (image.isEmpty()) {
            const QByteArray comm = readProcFile(pid, "comm");
            if (comm.isEmpty()) continue;
            image = QString::fromLocal8Bit(comm).trimmed();
        }
        if (!imageNameEndsWith(image, nameEnding)) continue;
        // A zombie has ended; only its parent's wait would remove it, and
        // orphans are not always reaped here.
        const auto stat = readProcStat(pid);
        if (!stat || stat->ended()) continue;
        const QByteArray procDir = QByteArray("/proc/") + entry->d_name;
        // The folder of a process belongs to the user it runs as.
        struct stat owner {};
        const bool ours = ::stat(procDir.constData(), &owner) == 0 && owner.st_uid == ::getuid();
        list.push_back(ProcessEntry{pid, image, ours, ours && toneOwnedHere(pid)});
    }
    ::closedir(proc);
    return list;
}

bool RealPlatform::terminateProcess(qint64 pid) { return ::kill(static_cast<pid_t>(pid), SIGKILL) == 0; }

} // namespace tonara
