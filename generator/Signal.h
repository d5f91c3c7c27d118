#pragma once
// What the signal generator plays: a waveform at a frequency (or a sweep
// between two), a level and the ears it reaches. Plain values, so the
// audio thread can take a new one through the engine's queue.

#include <cstdint>
#include <utility>

namespace tonara {

enum class Waveform { Sine, Square, Triangle, Sawtooth, WhiteNoise, PinkNoise };
enum class SweepLaw { Off, Linear, Logarithmic };
enum class SignalChannel { Both, Left, Right, BothRightInverted };

struct SignalParameters {
    Waveform waveform = Waveform::Sine;
    double frequency = 1000.0; // Hz; the sweep's start
    SweepLaw sweep = SweepLaw::Off;
    double sweepTo = 2000.0;   // Hz
    double sweepSeconds = 10.0;
    bool repeat = false;       // otherwise the sweep holds its end frequency
    double levelDb = -20.0;    // dBFS: 0 is a 16-bit sine of amplitude 32767
    SignalChannel channel = SignalChannel::Both;

    bool operator==(const SignalParameters&) const = default;
};

constexpr double kLowestLevelDb = -100.0;
constexpr double kHighestLevelDb = 0.0;
constexpr double kLowestFrequency = 1.0;

// The peak of the waveform at levelDb, as a share of the output's full scale
// (32768 for 16 bits).
double amplitudeOf(double levelDb);
// The gain of each ear: 1, 0, or -1 for an inverted right.
std::pair<float, float> channelGains(SignalChannel channel);
bool isNoise(Waveform waveform);
// The tone parts only: level and channel are gains, not a new tone.
bool sameTone(const SignalParameters& a, const SignalParameters& b);

} // namespace tonara
