#include "ToneOwner.h"
#include "ProcFs.h"

#include <QList>
#include <chrono>
#include <thread>
#include <unistd.h>

namespace tonara {

namespace {
bool g_passOwnerOn = false;
}

QString toneOwnerForChildren() {
    if (g_passOwnerOn) return qEnvironmentVariable(kToneOwnerVariable);
    return QString::number(::getpid());
}

void passToneOwnerOn() { g_passOwnerOn = true; }

std::optional<QByteArray> environmentValue(const QByteArray& environment, const QByteArray& name) {
    const QByteArray prefix = name + '=';
    for (const QByteArray& entry : environment.split('\0'))
        if (entry.startsWith(prefix)) return entry.mid(prefix.size());
    return std::nullopt;
}

namespace {

// A process in the middle of its exec shows an empty environment for a
// moment, while its starter already sees it started (the exec has closed
// the starter's pipe): one that began after this process and runs a program
// (not a kernel thread) is read again, 1 ms apart, until its new one is there.
constexpr int kExecSettleReads = 20;

QByteArray settledEnvironment(qint64 pid) {
    QByteArray environment = readProcFile(pid, "environ");
    if (!environment.isEmpty()) return environment;
    const auto self = readProcStat(::getpid());
    for (int read = 1; self && environment.isEmpty() && read < kExecSettleReads; ++read) {
        const auto other = readProcStat(pid);
        if (!other || other->ended() || other->startTicks < self->startTicks || processExecutable(pid).isEmpty()) break;
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
        environment = readProcFile(pid, "environ");
    }
    return environment;
}

} // namespace

bool toneOwnedHere(qint64 pid) {
    const auto owner = environmentValue(settledEnvironment(pid), kToneOwnerVariable);
    if (!owner || owner->toLongLong() != ::getpid()) return false;
    const auto self = readProcStat(::getpid());
    const auto other = readProcStat(pid);
    return self && other && other->startTicks >= self->startTicks;
}

ToneOwnerWatch::ToneOwnerWatch() {
    bool ok = false;
    const qint64 pid = qEnvironmentVariable(kToneOwnerVariable).toLongLong(&ok);
    if (!ok || pid <= 0) return;
    pid_ = pid;
    if (const auto stat = readProcStat(pid); stat && !stat->ended()) startTicks_ = stat->startTicks;
}

bool ToneOwnerWatch::ownerGone() const {
    if (pid_ == 0) return false;
    if (!startTicks_) return true;
    const auto stat = readProcStat(pid_);
    return !stat || stat->ended() || stat->startTicks != *startTicks_;
}

} // namespace tonara
