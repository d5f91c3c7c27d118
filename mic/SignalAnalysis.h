#pragma once
// What the microphone display measures in what arrives: the level, the
// dominant frequency and the spectrum. Samples are fractions of full scale
// (-1..1). Pure: no window, no server.

#include <cmath>
#include <memory>
#include <optional>
#include <span>
#include <vector>

namespace tonara {

// dBFS against a full-scale square: a full-scale sine reads -3.0 RMS, 0.0 peak.
struct LevelReading {
    double rmsDb = -INFINITY;
    double peakDb = -INFINITY;
};
LevelReading levelOf(std::span<const float> samples);

// One analysis of a fixed number of frames: a periodic Hann window, one
// real FFT, magnitudes in dBFS (a sine on a bin reads its own level).
class SpectrumAnalysis {
public:
    SpectrumAnalysis(int frames, double rate);
    ~SpectrumAnalysis();
    SpectrumAnalysis(const SpectrumAnalysis&) = delete;
    SpectrumAnalysis& operator=(const SpectrumAnalysis&) = delete;

    int frames() const { return frames_; }
    double binHz() const { return rate_ / frames_; }
    double nyquistHz() const { return rate_ / 2; }

    // window holds frames() samples. Returns the level of each bin, 0 to frames() / 2.
    const std::vector<double>& analyse(std::span<const float> window);
    // The strongest component of the last analysis, between bins by the
    // ratio of the two largest (exact for one sine under a Hann window);
    // none when nothing stands above kLeastPeakDb.
    std::optional<double> dominantHz() const;

    static constexpr double kLeastPeakDb = -100;

private:
    struct Plan;
    const int frames_;
    const double rate_;
    std::vector<double> window_;
    std::vector<double> magnitudes_; // linear, per bin
    std::vector<double> levelsDb_;
    std::unique_ptr<Plan> plan_;
};

// A light running average of spectra, in power: each new spectrum counts half.
class SpectrumAverage {
public:
    const std::vector<double>& add(const std::vector<double>& levelsDb);
    void clear() { powers_.clear(); }

private:
    std::vector<double> powers_;
    std::vector<double> levelsDb_;
};

} // namespace tonara
