// Where a timed tone asked for after another starts: at the gap, at the
// program's own distance, or at once.
#include "TimedFollow.h"

#include <gtest/gtest.h>

namespace tonara::test {

TEST(TimedFollow, ANextToneFollowsAtTheGapUnlessTheProgramPausedOnPurpose) {
    struct Case {
        int sinceToldMs;
        bool programWaited;
        std::int64_t frames; // at 48 kHz
        const char* what;
    };
    const Case cases[] = {
        {0, false, 0, "asked at once"},
        {kChainMs, true, 0, "a pause within the chain window still follows directly"},
        {kChainMs + 1, true, (kChainMs + 1) * 48, "a longer pause keeps its distance to the tone's end"},
        {95, true, 95 * 48, "a Morse letter's gap"},
        {67, false, 0, "a busy machine let the program ask late: it meant no silence"},
        {kFollowMs, false, 0, "late, but the stream has not rested"},
        {kFollowMs, true, std::int64_t(kFollowMs) * 48, "the longest distance kept"},
        {kFollowMs + 1, false, -1, "too late to follow anything"},
        {kFollowMs + 1, true, -1, "a long pause follows nothing"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(followingFrames(c.sinceToldMs, c.programWaited, 48000), c.frames) << c.what;
}

} // namespace tonara::test
