#pragma once
// What /proc tells about one process.

#include <QByteArray>
#include <QString>
#include <QtGlobal>
#include <optional>

namespace tonara {

struct ProcStat {
    char state = '?';       // R, S, D, Z (ended, not yet reaped), X (dead) ...
    quint64 startTicks = 0; // start time since boot; tells a pid's later reuse apart
    bool ended() const { return state == 'Z' || state == 'X'; }
};

// A file of /proc/<pid>/ whole; empty when it cannot be read.
QByteArray readProcFile(qint64 pid, const char* name);
// Nothing when there is no such process.
std::optional<ProcStat> readProcStat(qint64 pid);
// The program the process runs, without the " (deleted)" of a file deleted
// since; empty for a kernel thread, or when it cannot be read. runsNoProgram,
// when given, tells the first apart: a kernel thread, or a process whose
// memory is gone as it ends.
QString processExecutable(qint64 pid, bool* runsNoProgram = nullptr);
// The real user id the process runs under; nothing when there is no such process.
std::optional<uint> processUser(qint64 pid);

} // namespace tonara
