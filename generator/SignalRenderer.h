#pragma once
// The samples of a SignalParameters as a function of the frame: the phase is
// worked out in double precision from the frame itself, never accumulated,
// so any stretch can be rendered again, any frequency (a fractional one
// too) is exact, and the live voice and a saved file hold the same values.
//
// Square, triangle and sawtooth are sums of their harmonics below the band
// top (99 % of the Nyquist limit): nothing folds back. The last tenth below
// the top fades out smoothly, so a harmonic that crosses it in a sweep or a
// change of frequency comes and goes without a click.

#include "Signal.h"

#include <cstdint>

namespace tonara {

class SignalRenderer {
public:
    // More would cost more than the audio thread can spend: below about
    // 23 Hz (sawtooth) or 12 Hz (square, triangle) the wave keeps its first
    // this many harmonics.
    static constexpr int kMostHarmonics = 1024;

    SignalRenderer() = default; // silence
    // startCycles: the phase (in cycles) at frame 0, so that a new tone
    // can continue the old one's.
    SignalRenderer(const SignalParameters& parameters, int rate, double startCycles = 0.0);

    // Values at peak 1 of frames [position, position + frames) from frame 0.
    void render(float* out, std::int64_t position, int frames) const;
    // The phase at a frame, in cycles, in [0, 1).
    double cyclesAt(std::int64_t position) const;
    // The instantaneous frequency at a frame (Hz).
    double frequencyAt(std::int64_t position) const;
    Waveform waveform() const { return waveform_; }
    // The highest frequency the rate carries at full level.
    static double bandTop(int rate);
    // Triangular dither of one 16-bit step (-1..1, in steps), the same for
    // the same position and channel every time.
    static double ditherAt(std::int64_t position, int channel);

private:
    // Whole cycles dropped: only the phase's fraction matters.
    double sweptCycles(double seconds) const;
    void renderHarmonics(const double* cycles, double frequency, float* out, int frames) const;

    Waveform waveform_ = Waveform::Sine;
    SweepLaw sweep_ = SweepLaw::Off;
    int rate_ = 0;
    double from_ = 0.0, to_ = 0.0, seconds_ = 0.0;
    bool repeat_ = false;
    double startCycles_ = 0.0;
    double cyclesPerSweep_ = 0.0; // fraction of the cycles one whole sweep takes
    double top_ = 0.0;
};

} // namespace tonara
