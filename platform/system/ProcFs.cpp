#include "ProcFs.h"

#include <QByteArray>
#include <QFile>
#include <QList>
#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

namespace tonara {

// Plain system calls: a Stop reads every process of the machine, twice.
QByteArray readProcFile(qint64 pid, const char* name) {
    const QByteArray path = "/proc/" + QByteArray::number(pid) + '/' + name;
    const int fd = ::open(path.constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return {};
    QByteArray bytes;
    char buffer[4096];
    for (ssize_t n; (n = ::read(fd, buffer, sizeof buffer)) > 0;) bytes.append(buffer, n);
    ::close(fd);
    return bytes;
}

std::optional<ProcStat> readProcStat(qint64 pid) {
    if (pid <= 0) return std::nullopt;
    const QByteArray line = readProcFile(pid, "stat");
    // The name in parentheses may hold blanks and parentheses itself: the fields follow the last ')'.
    const qsizetype afterName = line.lastIndexOf(')');
    if (afterName < 0 || afterName + 2 >= line.size()) return std::nullopt;
    const QList<QByteArray> fields = line.mid(afterName + 2).split(' ');
    // fields[0] is the state (field 3 of the line), fields[19] the start time (field 22).
    if (fields.size() < 20 || fields[0].isEmpty()) return std::nullopt;
    ProcStat stat;
    stat.state = fields[0].at(0);
    stat.startTicks = fields[19].toULongLong();
    return stat;
}

std::optional<uint> processUser(qint64 pid) {
    if (pid <= 0) return std::nullopt;
    for (const QByteArray& line : readProcFile(pid, "status").split('\n')) {
        if (!line.startsWith("Uid:")) continue;
        const QList<QByteArray> ids = line.mid(4).simplified().split(' ');
        bool ok = false;
        const uint uid = ids.value(0).toUInt(&ok);
        if (ok) return uid;
    }
    return std::nullopt;
}

QString processExecutable(qint64 pid, bool* runsNoProgram) {
    static const QString deleted = QStringLiteral(" (deleted)");
    char target[4096];
    const ssize_t n = ::readlink(("/proc/" + QByteArray::number(pid) + "/exe").constData(), target, sizeof target);
    if (runsNoProgram) *runsNoProgram = n < 0 && errno == ENOENT;
    if (n <= 0) return {};
    QString path = QFile::decodeName(QByteArray(target, n));
    if (path.endsWith(deleted)) path.chop(deleted.size());
    return path;
}

} // namespace tonara
