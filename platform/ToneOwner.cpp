#include "ToneOwner.h"
#include "ProcFs.h"

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
