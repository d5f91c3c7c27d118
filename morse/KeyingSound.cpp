#include "KeyingSound.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace tonara {

namespace {

constexpr double kAmplitude = 30000.0 / 32768.0;

// From 10 % to 90 % of its level a raised cosine takes this share of its length.
const double kTenToNinetyShare = (std::acos(-0.8) - std::acos(0.8)) / std::numbers::pi;

std::int64_t framesAt(double ms, int rate) { return std::llround(ms * rate / 1000.0); }

// Rising from 0 to 1 over frames, sampled at the middle of each frame, so
// that a rise and a fall are mirror images and cross half level between
// the same two frames.
float riseAt(std::int64_t k, int frames) {
    if (k < 0) return 0.0f;
    if (k >= frames) return 1.0f;
    return float(0.5 * (1.0 - std::cos(std::numbers::pi * (double(k) + 0.5) / frames)));
}

} // namespace

int keyingRampFrames(int rate, double riseMs) {
    return 2 * std::max(1, int(std::lround(riseMs / kTenToNinetyShare * rate / 2000.0)));
}

std::int64_t spanStartFrame(const KeyingPlan& plan, size_t index, int rate, double riseMs) {
    double ms = 0;
    for (size_t i = 0; i < index && i < plan.spans.size(); ++i) ms += plan.spans[i].ms;
    return keyingRampFrames(rate, riseMs) / 2 + framesAt(ms, rate);
}

std::vector<float> keyingEnvelope(const KeyingPlan& plan, int rate, double riseMs) {
    const int rise = keyingRampFrames(rate, riseMs);
    const int lead = rise / 2;
    std::vector<float> gain(size_t(framesAt(plan.totalMs(), rate) + rise), 0.0f);
    double ms = 0;
    for (const KeyedSpan& span : plan.spans) {
        const std::int64_t on = lead + framesAt(ms, rate);
        ms += span.ms;
        if (!span.tone) continue;
        const std::int64_t off = lead + framesAt(ms, rate);
        // A tone shorter than its rise never reaches full level.
        for (std::int64_t n = on - lead; n < off - lead + rise; ++n)
            gain[size_t(n)] = std::max(gain[size_t(n)], std::min(riseAt(n - (on - lead), rise), riseAt(off - lead + rise - 1 - n, rise)));
    }
    return gain;
}

std::shared_ptr<const PcmSound> renderKeying(const KeyingPlan& plan, int pitch, int rate, double riseMs) {
    const std::vector<float> gain = keyingEnvelope(plan, rate, riseMs);
    auto sound = std::make_shared<PcmSound>();
    sound->rate = rate;
    sound->samples.assign(gain.size() * 2, 0.0f);
    const double step = 2.0 * std::numbers::pi * pitch / rate;
    for (size_t n = 0; n < gain.size(); ++n) {
        if (gain[n] == 0.0f) continue;
        const auto v = float(gain[n] * kAmplitude * std::sin(step * double(n)));
        sound->samples[2 * n] = sound->samples[2 * n + 1] = v;
    }
    return sound;
}

} // namespace tonara
