#include "SignalAnalysis.h"

#include <algorithm>
#include <fftw3.h>
#include <numbers>

namespace tonara {

namespace {

double decibels(double amplitude) { return amplitude > 0 ? 20 * std::log10(amplitude) : -INFINITY; }

} // namespace

LevelReading levelOf(std::span<const float> samples) {
    if (samples.empty()) return {};
    double power = 0;
    double peak = 0;
    for (const float s : samples) {
        power += double(s) * s;
        peak = std::max(peak, double(std::abs(s)));
    }
    return {decibels(std::sqrt(power / double(samples.size()))), decibels(peak)};
}

struct SpectrumAnalysis::Plan {
    explicit Plan(int frames)
        : in(fftw_alloc_real(size_t(frames))), out(fftw_alloc_complex(size_t(frames / 2 + 1))),
          plan(fftw_plan_dft_r2c_1d(frames, in, out, FFTW_ESTIMATE)) {}
    ~Plan() {
        fftw_destroy_plan(plan);
        fftw_free(out);
        fftw_free(in);
    }
    double* in;
    fftw_complex* out;
    fftw_plan plan;
};

SpectrumAnalysis::SpectrumAnalysis(int frames, double rate)
    : frames_(std::max(frames, 4)), rate_(rate), window_(size_t(frames_)), magnitudes_(size_t(frames_ / 2 + 1)),
      levelsDb_(magnitudes_.size(), -INFINITY), plan_(std::make_unique<Plan>(frames_)) {
    // Periodic, so that the two-bin interpolation below is exact.
    for (int n = 0; n < frames_; ++n)
        window_[size_t(n)] = 0.5 - 0.5 * std::cos(2 * std::numbers::pi * n / frames_);
}

SpectrumAnalysis::~SpectrumAnalysis() = default;

const std::vector<double>& SpectrumAnalysis::analyse(std::span<const float> window) {
    const size_t count = std::min(window.size(), size_t(frames_));
    for (size_t n = 0; n < size_t(frames_); ++n) plan_->in[n] = n < count ? double(window[n]) * window_[n] : 0.0;
    fftw_execute(plan_->plan);
    // The Hann window's coherent gain is one half: a sine of amplitude A
    // on a bin gives |X| = A * frames / 4.
    const double scale = 4.0 / frames_;
    for (size_t k = 0; k < magnitudes_.size(); ++k) {
        magnitudes_[k] = std::hypot(double(plan_->out[k][0]), double(plan_->out[k][1])) * scale;
        levelsDb_[k] = decibels(magnitudes_[k]);
    }
    return levelsDb_;
}

std::optional<double> SpectrumAnalysis::dominantHz() const {
    // Bin 0 is the offset; the last bin has no neighbour above.
    const auto first = magnitudes_.begin() + 1;
    const auto last = magnitudes_.end() - 1;
    const auto peak = std::max_element(first, last);
    if (peak == last || decibels(*peak) < kLeastPeakDb) return std::nullopt;
    const double below = *(peak - 1);
    const double above = *(peak + 1);
    // Grandke: for a Hann window the neighbour's ratio a gives the offset (2a - 1) / (a + 1).
    const double ratio = std::max(below, above) / *peak;
    const double offset = std::clamp((2 * ratio - 1) / (ratio + 1), 0.0, 1.0);
    const double bin = double(peak - magnitudes_.begin()) + (above >= below ? offset : -offset);
    return bin * binHz();
}

const std::vector<double>& SpectrumAverage::add(const std::vector<double>& levelsDb) {
    // The first spectrum counts whole.
    const double keep = powers_.size() == levelsDb.size() ? 0.5 : 0.0;
    powers_.resize(levelsDb.size(), 0);
    levelsDb_.resize(levelsDb.size());
    for (size_t k = 0; k < levelsDb.size(); ++k) {
        powers_[k] = keep * powers_[k] + (1 - keep) * std::pow(10.0, levelsDb[k] / 10);
        levelsDb_[k] = 10 * std::log10(powers_[k]);
    }
    return levelsDb_;
}

} // namespace tonara
