#include "ToneOwner.h"
#include "ProcFs.h"

#include <QList>
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

bool toneOwnedHere(qint64 pid) {
    const auto owner = environmentValue(readProcFile(pid, "environ"), kToneOwnerVariable);
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
