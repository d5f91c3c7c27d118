#include "Voice.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace tonara {

namespace {

// 1 at 0, 0 at 1, with no step in level or slope at either end, so a fade
// or a change of level adds no click of its own.
float raisedCosineDown(double progress) { return float(0.5 * (1.0 + std::cos(std::numbers::pi * progress))); }

} // namespace

Voice::Voice(std::shared_ptr<const PcmSound> sound, int fadeFrames, int gainRampFrames)
    : sound_(std::move(sound)), fadeFrames_(std::max(1, fadeFrames)), gain_(gainRampFrames) {}

void Voice::start(std::int64_t at, bool loop, std::int64_t timedFrames) {
    start_ = at;
    segmentStart_ = at;
    loop_ = loop;
    timed_ = timedFrames >= 0;
    fadeAt_ = timed_ ? at + timedFrames : kNever;
}

void Voice::stop(std::int64_t at) {
    if (start_ == kNever) return;
    if (at <= start_) {
        start_ = kNever;
        fadeAt_ = kNever;
        return;
    }
    fadeAt_ = std::min(fadeAt_, at);
}

// A voice not yet sounding takes its gains from its first frame: a ramp from
// the old ones would let an ear meant to be silent hear its first milliseconds.
void Voice::setGain(std::int64_t at, float left, float right) {
    if (started()) gain_.set(at, left, right);
    else gain_.hold(left, right);
}

float Voice::fadeAt(std::int64_t frame) const {
    if (frame < fadeAt_) return 1.0f;
    return raisedCosineDown(double(frame - fadeAt_) / fadeFrames_);
}

std::int64_t Voice::silentFrom() const {
    if (start_ == kNever) return std::numeric_limits<std::int64_t>::min();
    std::int64_t end = fadeAt_ == kNever ? kNever : fadeAt_ + fadeFrames_;
    if (!loop_ && !generated_) end = std::min(end, start_ + sound_->frameCount());
    return end;
}

void Voice::mixInto(float* out, std::int64_t from, int frames) const {
    if (generated_) {
        if (start_ != kNever) mixSignalInto(out, from, frames);
        return;
    }
    const std::int64_t length = sound_->frameCount();
    if (start_ == kNever || length <= 0) return;
    const std::int64_t first = std::max(from, start_);
    const std::int64_t last = std::min(from + frames, silentFrom());
    if (first >= last) return;

    const float* pcm = sound_->samples.data();
    std::int64_t position = first - start_;
    if (loop_) position %= length;
    for (std::int64_t frame = first; frame < last;) {
        // A stretch with one gain rule and no wrap of the loop in it.
        std::int64_t until = std::min(last, frame + (length - position));
        const bool ramping = !gain_.steadyAfter(frame) && !gain_.steadyBefore(frame + 1);
        if (!gain_.steadyAfter(frame))
            until = std::min(until, frame < gain_.changedAt() ? gain_.changedAt() : gain_.settledAt());
        const bool fading = frame >= fadeAt_;
        if (!fading && fadeAt_ != kNever) until = std::min(until, fadeAt_);
        float* o = out + (frame - from) * 2;
        const float* in = pcm + position * 2;
        const auto n = std::int64_t(until - frame);
        if (!ramping && !fading) {
            const float left = gain_.leftAt(frame), right = gain_.rightAt(frame);
            for (std::int64_t k = 0; k < n; ++k) {
                o[2 * k] += left * in[2 * k];
                o[2 * k + 1] += right * in[2 * k + 1];
            }
        } else {
            for (std::int64_t k = 0; k < n; ++k) {
                const float fade = fadeAt(frame + k);
                o[2 * k] += gain_.leftAt(frame + k) * fade * in[2 * k];
                o[2 * k + 1] += gain_.rightAt(frame + k) * fade * in[2 * k + 1];
            }
        }
        position += n;
        if (position >= length) position = 0;
        frame = until;
    }
}

} // namespace tonara

namespace tonara {

namespace {

constexpr int kRenderFrames = 256;

} // namespace

Voice::Voice(const SignalParameters& signal, int rate, int fadeFrames, int gainRampFrames, bool dithered)
    : fadeFrames_(std::max(1, fadeFrames)), gain_(gainRampFrames), generated_(true), dithered_(dithered), rate_(rate),
      signal_(signal),
      current_(signal, rate), rendered_(kRenderFrames), crossed_(kRenderFrames) {
    holdSignalGains();
}

void Voice::holdSignalGains() {
    const auto [left, right] = channelGains(signal_.channel);
    const auto amplitude = float(amplitudeOf(signal_.levelDb));
    gain_.hold(amplitude * left, amplitude * right);
}

void Voice::setSignal(std::int64_t at, const SignalParameters& signal) {
    if (!generated_) return;
    const SignalParameters before = signal_;
    signal_ = signal;
    if (!started() || at <= start_) {
        // Not heard yet: it simply starts as the new signal.
        holdSignalGains();
        current_ = SignalRenderer(signal, rate_);
        crossFrom_ = kNever;
        return;
    }
    if (before.levelDb != signal.levelDb || before.channel != signal.channel) {
        const auto [left, right] = channelGains(signal.channel);
        const auto amplitude = float(amplitudeOf(signal.levelDb));
        gain_.set(at, amplitude * left, amplitude * right);
    }
    if (sameTone(before, signal)) return;
    const double cycles = current_.cyclesAt(at - segmentStart_);
    if (signal.waveform != before.waveform) {
        previous_ = current_;
        previousStart_ = segmentStart_;
        crossFrom_ = at;
    }
    current_ = SignalRenderer(signal, rate_, cycles);
    segmentStart_ = at;
}

float Voice::fadeInAt(std::int64_t frame) const {
    if (!generated_ || frame >= start_ + fadeFrames_) return 1.0f;
    return 1.0f - raisedCosineDown(double(frame - start_) / fadeFrames_);
}

void Voice::mixSignalInto(float* out, std::int64_t from, int frames) const {
    const std::int64_t first = std::max(from, start_);
    const std::int64_t last = std::min(from + frames, silentFrom());
    for (std::int64_t frame = first; frame < last;) {
        const int n = int(std::min<std::int64_t>(kRenderFrames, last - frame));
        float* value = rendered_.data();
        current_.render(value, frame - segmentStart_, n);
        if (crossFrom_ != kNever && frame < crossFrom_ + fadeFrames_) {
            previous_.render(crossed_.data(), frame - previousStart_, n);
            for (int k = 0; k < n; ++k) {
                const std::int64_t into = frame + k - crossFrom_;
                if (into >= fadeFrames_) break;
                const float old = into < 0 ? 1.0f : raisedCosineDown(double(into) / fadeFrames_);
                value[k] = old * crossed_[std::size_t(k)] + (1.0f - old) * value[k];
            }
        }
        float* o = out + (frame - from) * 2;
        for (int k = 0; k < n; ++k) {
            const std::int64_t at = frame + k;
            const float envelope = fadeAt(at) * fadeInAt(at);
            const float left = gain_.leftAt(at), right = gain_.rightAt(at);
            o[2 * k] += left * envelope * value[k];
            o[2 * k + 1] += right * envelope * value[k];
            if (!dithered_) continue;
            // An ear the signal does not reach stays silent.
            const std::int64_t position = at - start_;
            if (left != 0.0f) o[2 * k] += float(SignalRenderer::ditherAt(position, 0) / 32768.0);
            if (right != 0.0f) o[2 * k + 1] += float(SignalRenderer::ditherAt(position, 1) / 32768.0);
        }
        frame += n;
    }
}

} // namespace tonara
