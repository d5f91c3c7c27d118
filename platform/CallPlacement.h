#pragma once
// Where in the output stream a request belongs, by the moment it was made.
//
// The sound server takes our stream in bursts: a few buffers are mixed at
// once, then nothing for a while. A request first seen in the next buffer
// would start anywhere within a burst of when it was made, and a tone timed
// after another would be shortened by that jitter. Placed a fixed time after
// its call instead (one burst later than the earliest frame that could
// always take it), every request keeps its distance to the one before.

#include <cstdint>

namespace tonara {

class CallPlacement {
public:
    // Off, every request starts in the buffer that first sees it.
    explicit CallPlacement(int rate, bool on) : rate_(rate), on_(on) {}

    // Audio thread, before each buffer: its first stream frame and the
    // steady clock in nanoseconds.
    void buffer(std::int64_t at, std::int64_t nowNs, int frames);
    // The frame for a request made at calledNs (steady clock); never before
    // the current buffer.
    std::int64_t frameFor(std::int64_t calledNs) const;

private:
    const int rate_;
    const bool on_;
    bool started_ = false;
    std::int64_t at_ = 0;
    std::int64_t nowNs_ = 0;
    std::int64_t originNs_ = 0;
    // How far the stream runs ahead of the clock (frames), for this buffer
    // and at most and least over recent bursts.
    double ahead_ = 0;
    double most_ = 0;
    double least_ = 0;
};

} // namespace tonara
