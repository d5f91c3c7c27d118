#include "Signal.h"

#include <algorithm>
#include <cmath>

namespace tonara {

double amplitudeOf(double levelDb) {
    const double db = std::clamp(levelDb, kLowestLevelDb, kHighestLevelDb);
    return 32767.0 / 32768.0 * std::pow(10.0, db / 20.0);
}

std::pair<float, float> channelGains(SignalChannel channel) {
    switch (channel) {
    case SignalChannel::Both: return {1.0f, 1.0f};
    case SignalChannel::Left: return {1.0f, 0.0f};
    case SignalChannel::Right: return {0.0f, 1.0f};
    case SignalChannel::BothRightInverted: return {1.0f, -1.0f};
    }
    return {1.0f, 1.0f};
}

bool isNoise(Waveform waveform) { return waveform == Waveform::WhiteNoise || waveform == Waveform::PinkNoise; }

bool sameTone(const SignalParameters& a, const SignalParameters& b) {
    SignalParameters gainsOf = b;
    gainsOf.levelDb = a.levelDb;
    gainsOf.channel = a.channel;
    return a == gainsOf;
}

} // namespace tonara
