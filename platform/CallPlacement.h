#pragma once
// Where in the output stream a request belongs, by the moment it was made.
//
// The sound server takes our stream in bursts: a few buffers are mixed at
// once, then nothing for a while. A request that started in the first
// buffer to see it would land anywhere within a burst of when it was made,
// and a tone timed after another would be shortened or pushed by that
// jitter. So the first request after a quiet spell starts at once and
// anchors the requests that follow: each keeps its distance in time to the
// anchor. One that would land in a buffer already mixed starts at once and
// becomes the new anchor, so the distances hold again from there on.

#include <cstdint>

namespace tonara {

class CallPlacement {
public:
    // Off, every request starts in the buffer that first sees it.
    CallPlacement(int rate, bool on) : rate_(rate), on_(on) {}

    // Audio thread: the frame for a request made at calledNs (steady clock),
    // seen by the buffer that starts at stream frame `at`. Never before `at`.
    std::int64_t frameFor(std::int64_t calledNs, std::int64_t at);
    // The stream fell quiet or stopped: the next request starts at once.
    void forget() { anchored_ = false; }

private:
    const int rate_;
    const bool on_;
    bool anchored_ = false;
    std::int64_t anchorFrame_ = 0;
    std::int64_t anchorNs_ = 0;
};

} // namespace tonara
