#pragma once
// PipeWire's own record of the graph cycles it missed. On a busy or
// virtual machine its graph now and then runs a cycle before a client has
// delivered its part ("client too slow!" in the daemon's log), or a node
// of the graph wakes too late for a cycle ("client missed N wakeups"; a
// Morse element then came out split by 21.7 ms of silence): every stream
// of that client, a peer's as much as ours, then loses or is delayed by a
// cycle of sound (10.7 ms at 48 kHz) or more, and the recorder loses up to a
// tenth of a second. A recording the server spoiled so cannot judge the program.

#include <QByteArray>
#include <QString>
#include <cstdint>
#include <optional>
#include <string>

namespace tonara::test {

struct MissedCycle {
    std::int64_t rawNs = 0; // when the daemon saw it, on CLOCK_MONOTONIC_RAW (its log's clock)
    int quantum = 0;        // the graph's cycle then, in frames; 0 where the line does not say
    std::string line;       // as logged
};

// Which graph's misses count. The microphone's chain (its sink and the sine
// that plays into it) runs a graph of its own.
enum class Graph { Output, Microphone };

// The daemon logs at most one miss of a graph per this interval and keeps
// quiet about the rest (a rate limit of its driver): a miss logged this
// long before a moment may hide more that followed it.
constexpr std::int64_t kMissLogIntervalNs = 2'000'000'000;

// The first logged miss of that graph that may stand for one at or after
// sinceRawNs, in a daemon log (pw.node at info level): logged at most
// kMissLogIntervalNs before it. The microphone's graph counts every node's
// miss: a capture also loses what its own node missed.
std::optional<MissedCycle> firstMissSince(const QByteArray& log, std::int64_t sinceRawNs, Graph graph = Graph::Output);
// Whether the tests run at the private PipeWire (tests/sound-server.sh),
// and where its daemons log: $XDG_RUNTIME_DIR/pipewire.log, pipewire-pulse.log.
inline bool atPipeWire() { return qEnvironmentVariable("SOUND_SERVER") == "pipewire"; }
inline QString privateServerLog(const char* name) { return qEnvironmentVariable("XDG_RUNTIME_DIR") + "/" + name; }
// The same in the private PipeWire's daemon log; none at PulseAudio.
std::optional<MissedCycle> pipeWireMissSince(std::int64_t sinceRawNs, Graph graph);
// Now, on the log's clock.
std::int64_t monotonicRawNs();

// A capture during which the microphone's graph missed a cycle is not
// judged: the test is skipped with the daemon's line.
#define SKIP_WHERE_THE_MICROPHONE_GRAPH_MISSED_SINCE(sinceRawNs)                                                     \
    if (const std::optional<MissedCycle> miss = pipeWireMissSince(sinceRawNs, Graph::Microphone))                   \
    GTEST_SKIP() << "PipeWire missed a cycle of the microphone's graph during the capture (or just before it, "  \
                    "hiding more), which cuts its sound; its log: "                                                 \
                 << miss->line

} // namespace tonara::test
