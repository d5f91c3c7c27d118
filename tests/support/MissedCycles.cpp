#include "MissedCycles.h"

#include <QFile>
#include <QList>
#include <QRegularExpression>
#include <ctime>

namespace tonara::test {

std::optional<MissedCycle> firstMissSince(const QByteArray& log, std::int64_t sinceRawNs, Graph graph) {
    // [I][13353.994728] pw.node | [ impl-node.c: 1058 dump_states()] (audio_tests-67) client too slow! rate:512/48000 ...
    // [I][05969.058548] pw.node | [ impl-node.c: 1203 node_on_fd_events()] (tonara_out-43) client missed 1 wakeups
    static const QRegularExpression miss(
        R"(^\[I\]\[(\d+)\.(\d{6})\].*\((.+)-\d+\) client (?:too slow! rate:(\d+)/|missed \d+ wakeups))");
    for (const QByteArray& line : log.split('\n')) {
        const QRegularExpressionMatch match = miss.match(QString::fromUtf8(line));
        if (!match.hasMatch()) continue;
        const QString node = match.captured(3);
        if (graph == Graph::Output && (node == "tonara_mic" || node == "pacat")) continue;
        const std::int64_t rawNs = match.captured(1).toLongLong() * 1000000000 + match.captured(2).toLongLong() * 1000;
        if (rawNs >= sinceRawNs - kMissLogIntervalNs) return MissedCycle{rawNs, match.captured(4).toInt(), line.toStdString()};
    }
    return std::nullopt;
}

std::optional<MissedCycle> pipeWireMissSince(std::int64_t sinceRawNs, Graph graph) {
    if (!atPipeWire()) return std::nullopt;
    QFile log(privateServerLog("pipewire.log"));
    if (!log.open(QIODevice::ReadOnly)) return std::nullopt;
    return firstMissSince(log.readAll(), sinceRawNs, graph);
}

std::int64_t monotonicRawNs() {
    timespec raw{};
    clock_gettime(CLOCK_MONOTONIC_RAW, &raw);
    return std::int64_t(raw.tv_sec) * 1000000000 + raw.tv_nsec;
}

} // namespace tonara::test
