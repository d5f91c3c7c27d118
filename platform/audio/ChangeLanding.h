#pragma once
// Where a change written over the queued sound landed, judged from the
// server's first answer after it: the server answers in order, so by then
// it has taken the change. `from` is where the change begins; `taken` how
// far the server had read the queue, `played` how far it had played it, at
// its answer (all frames of the stream).

#include <cstdint>

namespace tonara {

enum class ChangeLanding {
    InTime,  // ahead of everything the server had taken
    Rewound, // PulseAudio rewound its sink over sound taken but not played: heard whole
    Late,    // part of what it changed had already reached the listener: may be heard cut
};

struct Landing {
    ChangeLanding kind = ChangeLanding::InTime;
    std::int64_t lateFrames = 0; // how far past the change's start, when Late
};

constexpr Landing changeLanding(std::int64_t from, std::int64_t taken, std::int64_t played, bool serverRewinds) {
    // PipeWire cannot take back what its graph has taken.
    const std::int64_t beyondReach = serverRewinds ? played : taken;
    if (beyondReach > from) return {ChangeLanding::Late, beyondReach - from};
    // A rewind takes the queue's read position back to where the change began.
    if (serverRewinds && taken >= from) return {ChangeLanding::Rewound};
    return {};
}

} // namespace tonara
