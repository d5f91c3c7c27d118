// Placing requests by the moment they were made, while the stream is fed in
// bursts: a few buffers at once, then a pause.
#include "CallPlacement.h"

#include <gtest/gtest.h>

using namespace tonara;

namespace {

constexpr int kRate = 48000;
constexpr int kBufferFrames = 240;  // 5 ms
constexpr int kBuffersPerBurst = 3; // 15 ms taken at once
constexpr std::int64_t kMs = 1'000'000;
constexpr double kBurstMs = 15.0;

double msOf(std::int64_t frames) { return double(frames) * 1000.0 / kRate; }

// Mixes as a server would take the stream: each burst at its moment, its
// buffers at once, the stream kept a fixed distance ahead of the clock.
struct BurstyStream {
    CallPlacement placement{kRate, true};
    std::int64_t frame = 0;
    std::int64_t clockNs = 1'000 * kMs;
    std::int64_t seenBy = 0; // the buffer that saw the last request

    void burst() {
        frame += std::int64_t(kBuffersPerBurst) * kBufferFrames;
        clockNs += std::int64_t(kBuffersPerBurst) * kBufferFrames * 1'000'000'000 / kRate;
    }
    // A request made at calledNs, seen by the first buffer mixed after it;
    // buffer `inBurst` of a burst is mixed a few microseconds after the first.
    std::int64_t placeCallAt(std::int64_t calledNs) {
        while (clockNs + (kBuffersPerBurst - 1) * 10'000 <= calledNs) burst();
        const int inBurst = clockNs > calledNs ? 0 : int((calledNs - clockNs) / 10'000) + 1;
        seenBy = frame + std::int64_t(inBurst) * kBufferFrames;
        const std::int64_t placed = placement.frameFor(calledNs, seenBy);
        EXPECT_GE(placed, seenBy) << "placed in a buffer already mixed";
        return placed;
    }
};

} // namespace

TEST(CallPlacement, OffStartsEveryRequestInTheBufferThatSeesIt) {
    CallPlacement placement(kRate, false);
    EXPECT_EQ(placement.frameFor(1 * kMs, 4096), 4096);
    EXPECT_EQ(placement.frameFor(9 * kMs, 4096), 4096);
}

// Requests 100.31 ms apart drift through the bursts' cycle. Seen by the
// next buffer, they would land up to a burst off; placed, they are never
// closer than they were made, settle on their distance within one cycle
// of the drift and keep it.
TEST(CallPlacement, RequestsKeepTheirDistanceWhereverTheyFallInABurst) {
    BurstyStream stream;
    const std::int64_t firstCall = stream.clockNs + 3 * kMs;
    const std::int64_t spacingNs = 100 * kMs + 310'000;
    std::int64_t previous = stream.placeCallAt(firstCall);
    EXPECT_EQ(previous, stream.frame) << "the first request waits for nothing";
    int moved = 0;
    for (int k = 1; k < 120; ++k) {
        const std::int64_t placed = stream.placeCallAt(firstCall + k * spacingNs);
        const double apartMs = msOf(placed - previous);
        SCOPED_TRACE("request " + std::to_string(k));
        EXPECT_GE(apartMs, 100.31 - 0.03);
        EXPECT_LE(apartMs, 100.31 + kBurstMs);
        if (apartMs > 100.31 + 0.03) ++moved;
        if (k > 60) {
            EXPECT_NEAR(apartMs, 100.31, 0.03);
        }
        previous = placed;
    }
    EXPECT_LE(moved, 6) << "the distances never settled";
}

// The stream ran 40 ms ahead at once (a stall and a catch-up): the request
// after it starts at once, and the ones after keep their distance to it.
TEST(CallPlacement, AStallMovesTheAnchorToTheRequestAfterIt) {
    BurstyStream stream;
    std::int64_t calledNs = stream.clockNs + kMs;
    stream.placeCallAt(calledNs);
    calledNs += 100 * kMs;
    stream.placeCallAt(calledNs);
    stream.frame += 40 * kRate / 1000;
    calledNs += 100 * kMs;
    const std::int64_t afterStall = stream.placeCallAt(calledNs);
    EXPECT_EQ(afterStall, stream.seenBy);
    for (int k = 1; k <= 3; ++k) {
        const double apartMs = msOf(stream.placeCallAt(calledNs + k * 100 * kMs) - afterStall);
        EXPECT_GE(apartMs, 100.0 * k - 0.03);
        EXPECT_LE(apartMs, 100.0 * k + kBurstMs);
    }
}

TEST(CallPlacement, AfterForgettingARequestStartsInTheBufferThatSeesIt) {
    CallPlacement placement(kRate, true);
    EXPECT_EQ(placement.frameFor(10 * kMs, 4800), 4800);
    EXPECT_EQ(placement.frameFor(20 * kMs, 4800), 4800 + 480) << "10 ms after the anchor";
    placement.forget();
    EXPECT_EQ(placement.frameFor(3000 * kMs, 9600), 9600);
}
