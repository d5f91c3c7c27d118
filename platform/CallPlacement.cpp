#include "CallPlacement.h"

#include <algorithm>
#include <cmath>

namespace tonara {

namespace {
// A pause this long means the stream was stopped or reopened: the old
// relation between stream and clock is gone.
constexpr std::int64_t kRestartNs = 250'000'000;
// The extremes forget 1 ms a second, so the placement follows a sound card
// whose clock runs slow or a server that changes its buffering.
constexpr double kForgetPerFrame = 1e-3;
} // namespace

void CallPlacement::buffer(std::int64_t at, std::int64_t nowNs, int frames) {
    if (!started_ || nowNs - nowNs_ > kRestartNs || at < at_) {
        started_ = true;
        originNs_ = nowNs;
        at_ = at;
        nowNs_ = nowNs;
        ahead_ = most_ = least_ = double(at);
        return;
    }
    at_ = at;
    nowNs_ = nowNs;
    ahead_ = double(at) - double(nowNs - originNs_) * rate_ / 1e9;
    const double forget = frames * kForgetPerFrame;
    most_ = std::max(ahead_, most_ - forget);
    least_ = std::min(ahead_, least_ + forget);
}

std::int64_t CallPlacement::frameFor(std::int64_t calledNs) const {
    if (!on_ || !started_) return at_;
    const double sinceCall = double(nowNs_ - calledNs) * rate_ / 1e9;
    const double burst = most_ - least_;
    const double frame = double(at_) + (most_ - ahead_) + burst - sinceCall;
    return std::max(at_, std::int64_t(std::llround(frame)));
}

} // namespace tonara
