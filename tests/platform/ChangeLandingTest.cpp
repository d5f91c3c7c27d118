// Where a change written over the queued sound landed, from what the
// server had taken and played by its next answer.
#include "ChangeLanding.h"

#include <gtest/gtest.h>

namespace tonara::test {

TEST(ChangeLanding, AChangeIsLateOnlyWherePartOfItCouldNoLongerBeChanged) {
    struct Case {
        std::int64_t taken, played;
        bool serverRewinds;
        ChangeLanding kind;
        std::int64_t lateFrames;
        const char* what;
    };
    constexpr std::int64_t from = 10000;
    const Case cases[] = {
        {9500, 9000, true, ChangeLanding::InTime, 0, "PulseAudio: ahead of what the sink had rendered"},
        {from, 9400, true, ChangeLanding::Rewound, 0, "PulseAudio: its rewind took the queue back to the change"},
        {10600, from, true, ChangeLanding::Rewound, 0, "PulseAudio: rendered past it, but played only up to it"},
        {10600, 10001, true, ChangeLanding::Late, 1, "PulseAudio: one frame of the change had been played"},
        {11000, 10480, true, ChangeLanding::Late, 480, "PulseAudio: 10 ms at 48 kHz played before the change"},
        {9500, 9000, false, ChangeLanding::InTime, 0, "PipeWire: ahead of what its graph had taken"},
        {from, 9400, false, ChangeLanding::InTime, 0, "PipeWire: taken exactly up to the change"},
        {10300, 9800, false, ChangeLanding::Late, 300, "PipeWire: its graph had taken part of what changed"},
    };
    for (const Case& c : cases) {
        const Landing landing = changeLanding(from, c.taken, c.played, c.serverRewinds);
        EXPECT_EQ(landing.kind, c.kind) << c.what;
        EXPECT_EQ(landing.lateFrames, c.lateFrames) << c.what;
    }
}

} // namespace tonara::test
