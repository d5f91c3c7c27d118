#pragma once
// A pair of gains (left, right) that moves to new values from the frame it
// is set at, over a raised-cosine ramp: a change of level or of ear adds no
// click. Before that frame it holds the values it had; like a voice, it is
// a function of the frame only, so any stretch can be mixed again.

#include <cmath>
#include <cstdint>
#include <numbers>

namespace tonara {

class GainRamp {
public:
    explicit GainRamp(int rampFrames) : ramp_(rampFrames < 1 ? 1 : rampFrames) {}

    void set(std::int64_t at, float left, float right) {
        fromLeft_ = leftAt(at);
        fromRight_ = rightAt(at);
        toLeft_ = left;
        toRight_ = right;
        at_ = at;
    }
    // The values from the start, with no ramp to them.
    void hold(float left, float right) {
        fromLeft_ = toLeft_ = left;
        fromRight_ = toRight_ = right;
    }
    float leftAt(std::int64_t frame) const { return between(fromLeft_, toLeft_, frame); }
    float rightAt(std::int64_t frame) const { return between(fromRight_, toRight_, frame); }
    // The gains no longer move from this frame on (or have not begun to).
    bool steadyAfter(std::int64_t frame) const { return frame >= at_ + ramp_ || !moving(); }
    bool steadyBefore(std::int64_t frame) const { return frame <= at_ || !moving(); }
    std::int64_t changedAt() const { return at_; }
    std::int64_t settledAt() const { return at_ + ramp_; }
    float left() const { return toLeft_; }
    float right() const { return toRight_; }

private:
    bool moving() const { return fromLeft_ != toLeft_ || fromRight_ != toRight_; }
    float between(float from, float to, std::int64_t frame) const {
        const std::int64_t into = frame - at_;
        if (into >= ramp_ || from == to) return to;
        if (into <= 0) return from;
        const auto down = float(0.5 * (1.0 + std::cos(std::numbers::pi * double(into) / ramp_)));
        return to + (from - to) * down;
    }

    int ramp_;
    float fromLeft_ = 1.0f, fromRight_ = 1.0f;
    float toLeft_ = 1.0f, toRight_ = 1.0f;
    std::int64_t at_ = 0;
};

} // namespace tonara
