#include "SignalRenderer.h"

#include "../platform/audio/OutputBand.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace tonara {

namespace {

constexpr int kBlock = 32;
// The highest peak a sum of square or sawtooth harmonics reaches: a lone
// fundamental's 4/pi (the Gibbs overshoot of many harmonics stays below
// it). Scaled by it, the band-limited wave never passes its level.
constexpr double kHarmonicsPeak = 4.0 / std::numbers::pi;
constexpr double kTaperStart = 0.9; // of the band top
constexpr int kPinkRows = 16;

double fraction(double cycles) { return cycles - std::floor(cycles); }

std::uint64_t mixBits(std::uint64_t x) {
    x += 0x9E3779B97F4A7C15ull;
    x = (x ^ (x >> 30)) * 0xBF58476D1CE4E5B9ull;
    x = (x ^ (x >> 27)) * 0x94D049BB133111EBull;
    return x ^ (x >> 31);
}

// Uniform in [-1, 1), the same for the same row and index every time.
double uniform(std::uint64_t row, std::uint64_t index) {
    return double(mixBits(index ^ (row << 58)) >> 11) * (2.0 / 9007199254740992.0) - 1.0;
}

// Voss-McCartney: row r holds a value for 2^r frames, and the rows change
// one at a time (frame p changes the row of its trailing zeros).
double pink(std::int64_t position) {
    const auto p = std::uint64_t(position);
    double sum = uniform(0, p);
    for (int row = 1; row < kPinkRows; ++row)
        sum += uniform(std::uint64_t(row), (p + (std::uint64_t(1) << (row - 1))) >> row);
    return sum / kPinkRows;
}

} // namespace

double SignalRenderer::ditherAt(std::int64_t position, int channel) {
    const auto p = std::uint64_t(position) * 4 + std::uint64_t(channel) * 2;
    return (uniform(kPinkRows + 1, p) + uniform(kPinkRows + 1, p + 1)) / 2;
}

double SignalRenderer::bandTop(int rate) { return kFullLevelShare * rate / 2.0; }

SignalRenderer::SignalRenderer(const SignalParameters& parameters, int rate, double startCycles)
    : waveform_(parameters.waveform), sweep_(parameters.sweepSeconds > 0 ? parameters.sweep : SweepLaw::Off), rate_(rate),
      from_(parameters.frequency), to_(parameters.sweepTo), seconds_(parameters.sweepSeconds), repeat_(parameters.repeat),
      startCycles_(fraction(startCycles)), top_(bandTop(rate)) {
    if (sweep_ == SweepLaw::Logarithmic && (from_ <= 0 || to_ <= 0 || from_ == to_)) sweep_ = SweepLaw::Linear;
    if (sweep_ != SweepLaw::Off) cyclesPerSweep_ = fraction(sweptCycles(seconds_));
}

// The cycles from the start of one sweep after `seconds` of it.
double SignalRenderer::sweptCycles(double seconds) const {
    if (sweep_ == SweepLaw::Linear) return from_ * seconds + (to_ - from_) * seconds * seconds / (2.0 * seconds_);
    const double ratio = to_ / from_;
    return from_ * seconds_ / std::log(ratio) * std::expm1(seconds / seconds_ * std::log(ratio));
}

double SignalRenderer::cyclesAt(std::int64_t position) const {
    if (rate_ <= 0) return 0.0;
    const double seconds = double(position) / rate_;
    if (sweep_ == SweepLaw::Off) {
        // Whole seconds apart, so the product stays exact for long runs.
        const std::int64_t whole = position / rate_;
        const double rest = double(position - whole * rate_) / rate_;
        return fraction(startCycles_ + fraction(from_ * double(whole)) + from_ * rest);
    }
    if (seconds < seconds_) return fraction(startCycles_ + sweptCycles(seconds));
    if (repeat_) {
        const auto sweeps = std::int64_t(std::floor(seconds / seconds_));
        const double into = seconds - double(sweeps) * seconds_;
        return fraction(startCycles_ + fraction(double(sweeps) * cyclesPerSweep_) + sweptCycles(into));
    }
    return fraction(startCycles_ + cyclesPerSweep_ + fraction(to_ * (seconds - seconds_)));
}

double SignalRenderer::frequencyAt(std::int64_t position) const {
    if (sweep_ == SweepLaw::Off || rate_ <= 0) return from_;
    double seconds = double(position) / rate_;
    if (seconds >= seconds_) {
        if (!repeat_) return to_;
        seconds = std::fmod(seconds, seconds_);
    }
    if (sweep_ == SweepLaw::Linear) return from_ + (to_ - from_) * seconds / seconds_;
    return from_ * std::pow(to_ / from_, seconds / seconds_);
}

void SignalRenderer::render(float* out, std::int64_t position, int frames) const {
    for (int done = 0; done < frames;) {
        // Blocks lie at whole multiples of kBlock from frame 0, so that a
        // stretch rendered in other pieces has the same values.
        const std::int64_t at = position + done;
        const std::int64_t blockStart = at - ((at % kBlock) + kBlock) % kBlock;
        const int n = int(std::min<std::int64_t>(blockStart + kBlock - at, frames - done));
        done += n;
        float* o = out + (done - n);
        if (rate_ <= 0) {
            std::fill(o, o + n, 0.0f);
            continue;
        }
        if (waveform_ == Waveform::WhiteNoise) {
            for (int s = 0; s < n; ++s) o[s] = float(uniform(0, std::uint64_t(at + s)));
            continue;
        }
        if (waveform_ == Waveform::PinkNoise) {
            for (int s = 0; s < n; ++s) o[s] = float(pink(at + s));
            continue;
        }
        double cycles[kBlock];
        for (int s = 0; s < n; ++s) cycles[s] = cyclesAt(at + s);
        const double frequency = frequencyAt(blockStart + kBlock / 2);
        if (waveform_ == Waveform::Sine) {
            const float gain = frequency < top_ ? 1.0f : 0.0f;
            for (int s = 0; s < n; ++s) o[s] = gain * float(std::sin(2.0 * std::numbers::pi * cycles[s]));
            continue;
        }
        renderHarmonics(cycles, frequency, o, n);
    }
}

// Sum of a_m sin((1 + step m) x) by Clenshaw's recurrence, thirty-two frames at a
// time so that the compiler can run the frames side by side.
void SignalRenderer::renderHarmonics(const double* cycles, double frequency, float* out, int frames) const {
    const int step = waveform_ == Waveform::Sawtooth ? 1 : 2;
    int terms = 0;
    if (frequency > 0) terms = std::min(kMostHarmonics, int(std::ceil((top_ / frequency - 1.0) / step)));
    if (terms <= 0) {
        std::fill(out, out + frames, 0.0f);
        return;
    }
    double x[kBlock], alpha[kBlock], b1[kBlock] = {}, b2[kBlock] = {};
    for (int s = 0; s < kBlock; ++s) {
        x[s] = 2.0 * std::numbers::pi * (s < frames ? cycles[s] : 0.0);
        alpha[s] = 2.0 * std::cos(step * x[s]);
    }
    const double taperFrom = kTaperStart * top_;
    const auto coefficient = [&](int m) {
        const int k = 1 + step * m;
        double a = 0.0;
        switch (waveform_) {
        case Waveform::Square: a = 4.0 / (std::numbers::pi * k) / kHarmonicsPeak; break;
        case Waveform::Sawtooth: a = (k % 2 ? 2.0 : -2.0) / (std::numbers::pi * k) / kHarmonicsPeak; break;
        default: a = (m % 2 ? -8.0 : 8.0) / (std::numbers::pi * std::numbers::pi * k * k); break;
        }
        const double f = k * frequency;
        if (f >= top_) return 0.0;
        if (f > taperFrom) a *= 0.5 * (1.0 + std::cos(std::numbers::pi * (f - taperFrom) / (top_ - taperFrom)));
        return a;
    };
    for (int m = terms - 1; m >= 1; --m) {
        const double a = coefficient(m);
        for (int s = 0; s < kBlock; ++s) {
            const double b0 = a + alpha[s] * b1[s] - b2[s];
            b2[s] = b1[s];
            b1[s] = b0;
        }
    }
    const double a0 = coefficient(0);
    for (int s = 0; s < frames; ++s) {
        const double first = std::sin(x[s]);
        const double second = std::sin((1 + step) * x[s]);
        out[s] = float(first * a0 + second * b1[s] - first * b2[s]);
    }
}

} // namespace tonara
