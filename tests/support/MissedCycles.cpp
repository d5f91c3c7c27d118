#include "MissedCycles.h"

#include <QList>
#include <QRegularExpression>

namespace tonara::test {

std::optional<MissedCycle> firstMissSince(const QByteArray& log, std::int64_t sinceRawNs) {
    // [I][13353.994728] pw.node | [ impl-node.c: 1058 dump_states()] (audio_tests-67) client too slow! rate:512/48000 ...
    static const QRegularExpression miss(R"(^\[I\]\[(\d+)\.(\d{6})\].*\((.+)-\d+\) client too slow! rate:(\d+)/)");
    for (const QByteArray& line : log.split('\n')) {
        const QRegularExpressionMatch match = miss.match(QString::fromUtf8(line));
        if (!match.hasMatch()) continue;
        const QString node = match.captured(3);
        if (node == "tonara_mic" || node == "pacat") continue;
        const std::int64_t rawNs = match.captured(1).toLongLong() * 1000000000 + match.captured(2).toLongLong() * 1000;
        if (rawNs >= sinceRawNs) return MissedCycle{rawNs, match.captured(4).toInt(), line.toStdString()};
    }
    return std::nullopt;
}

} // namespace tonara::test
