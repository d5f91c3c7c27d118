// Placing requests by the moment they were made, while the stream is fed in
// bursts: a few buffers at once, then a pause.
#include "CallPlacement.h"

#include <gtest/gtest.h>

using namespace tonara;

namespace {

constexpr int kRate = 48000;
constexpr int kBufferFrames = 128;     // 2.67 ms
constexpr int kBuffersPerBurst = 3;    // 8 ms taken at once
constexpr std::int64_t kMs = 1'000'000;

// Feeds the placement as a server would: each burst at its moment, the
// stream kept a fixed distance ahead of the clock. Returns the frame of
// the first buffer that mixes at or after calledNs, as the mixer would see
// the request, and what the placement makes of it.
struct BurstyStream {
    CallPlacement placement{kRate, true};
    std::int64_t frame = 0;
    std::int64_t clockNs = 1'000 * kMs;

    void burst() {
        for (int b = 0; b < kBuffersPerBurst; ++b) {
            placement.buffer(frame, clockNs + b * 10'000, kBufferFrames); // 10 µs apart
            frame += kBufferFrames;
        }
        clockNs += std::int64_t(kBuffersPerBurst) * kBufferFrames * 1'000'000'000 / kRate;
    }
    std::int64_t placeCallAt(std::int64_t calledNs) {
        while (clockNs <= calledNs) burst();
        placement.buffer(frame, clockNs, kBufferFrames);
        const std::int64_t placed = placement.frameFor(calledNs);
        EXPECT_GE(placed, frame) << "placed in a buffer already mixed";
        frame += kBufferFrames;
        clockNs += std::int64_t(kBufferFrames) * 1'000'000'000 / kRate;
        return placed;
    }
};

} // namespace

TEST(CallPlacement, OffStartsEveryRequestInTheBufferThatSeesIt) {
    CallPlacement placement(kRate, false);
    placement.buffer(4096, 5 * kMs, kBufferFrames);
    EXPECT_EQ(placement.frameFor(1 * kMs), 4096);
    EXPECT_EQ(placement.frameFor(9 * kMs), 4096);
}

// Requests 100 ms apart, falling anywhere in the bursts' cycle, stay 100 ms
// apart in the stream; first seen, they would be up to a burst off.
TEST(CallPlacement, RequestsKeepTheirDistanceWhereverTheyFallInABurst) {
    BurstyStream stream;
    for (int i = 0; i < 200; ++i) stream.burst(); // settle
    const std::int64_t firstCall = stream.clockNs + 3 * kMs;
    std::int64_t previous = -1;
    for (int k = 0; k < 40; ++k) {
        const std::int64_t calledNs = firstCall + k * (100 * kMs + 310'000); // drifts through the cycle
        const std::int64_t placed = stream.placeCallAt(calledNs);
        if (previous >= 0) {
            const double apartMs = double(placed - previous) * 1000.0 / kRate;
            EXPECT_NEAR(apartMs, 100.31, 0.05) << "request " << k;
        }
        previous = placed;
    }
}

TEST(CallPlacement, APauseStartsAgainFromTheNextBuffer) {
    BurstyStream stream;
    for (int i = 0; i < 50; ++i) stream.burst();
    stream.clockNs += 2'000 * kMs; // the output was closed for two seconds
    stream.placement.buffer(stream.frame, stream.clockNs, kBufferFrames);
    EXPECT_EQ(stream.placement.frameFor(stream.clockNs - kMs), stream.frame);
}
