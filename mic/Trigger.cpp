#include "Trigger.h"
#include "CapturedSamples.h"

#include <algorithm>
#include <cmath>

namespace tonara {

std::optional<int> lastRisingCrossing(std::span<const float> values, int latest, float hysteresis) {
    std::optional<int> found;
    bool armed = false;
    const int end = std::min(latest, int(values.size()) - 1);
    for (int i = 0; i <= end; ++i) {
        const float v = values[size_t(i)];
        if (v < -hysteresis) {
            armed = true;
        } else if (armed && v >= 0) {
            found = i;
            armed = false;
        }
    }
    return found;
}

float triggerHysteresis(std::span<const float> values) {
    float peak = 0;
    for (const float v : values) peak = std::max(peak, std::abs(v));
    return std::max(peak / 20, 1.0f / 32768);
}

QByteArray triggeredHalf(const QByteArray& previous, const QByteArray& current, int bitsPerSample, int channels) {
    const int frameBytes = bitsPerSample / 8 * channels;
    if ((bitsPerSample != 8 && bitsPerSample != 16) || channels < 1 || previous.size() != current.size() ||
        current.size() < frameBytes)
        return current;
    const QByteArray both = previous + current;
    const int frames = int(current.size()) / frameBytes;
    const int drawnFrames = channels == 2 ? (frames + 1) / 2 : frames;
    const std::vector<float> first = channelSamples(both, bitsPerSample, channels, 0);
    const std::optional<int> start = lastRisingCrossing(first, 2 * frames - drawnFrames, triggerHysteresis(first));
    if (!start) return current;
    QByteArray half = both.mid(qsizetype(*start) * frameBytes, current.size());
    const char silence = bitsPerSample == 8 ? char(0x80) : '\0';
    half.append(current.size() - half.size(), silence);
    return half;
}

} // namespace tonara
