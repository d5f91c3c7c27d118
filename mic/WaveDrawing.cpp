#include "WaveDrawing.h"

#include <QtEndian>
#include <algorithm>
#include <cmath>
#include <functional>

namespace tonara {

namespace {

using SampleValue = std::function<double(int index)>;

constexpr double kFullScale16 = 20000;

// The loop every drawing shares: i from 0 to n - 2 in single-precision
// steps of n / width, so a picture has about one point per pixel whatever
// the buffer's length.
template <typename Visit>
void forEachStep(int n, int widthPx, Visit visit) {
    const float step = float(double(n) / std::max(widthPx, 1));
    for (float i = 0; i <= float(n - 2); i += step) visit(i);
}

WavePicture scaled(int n, double top) {
    WavePicture picture;
    picture.right = n;
    picture.top = top;
    picture.bottom = -top;
    return picture;
}

// One trace from (0, 0); point k of the array at x = k.
WavePicture monoPicture(int upperIndex, int widthPx, double top, const SampleValue& y) {
    const int n = upperIndex;
    WavePicture picture = scaled(n, top);
    WaveTrace trace{QPointF(0, 0), {}};
    forEachStep(n, widthPx, [&](float i) {
        const int k = int(i);
        trace.points.emplace_back(k, y(k));
    });
    picture.traces.push_back(std::move(trace));
    return picture;
}

// Two traces over interleaved frames: element k is channel 1, k + 1 channel 2.
// The scale spans half the array's index range, so the first half of the
// frames fills the width.
WavePicture stereoPicture(int upperIndex, int widthPx, double top, double startY, const SampleValue& upperY,
                          const SampleValue& lowerY) {
    const int n = upperIndex / 2;
    WavePicture picture = scaled(n, top);
    WaveTrace upper{QPointF(0, startY), {}};
    WaveTrace lower{QPointF(0, -startY), {}};
    forEachStep(n, widthPx, [&](float i) {
        int k = int(std::nearbyint(i)); // halves to even
        k -= k % 2;
        upper.points.emplace_back(k, upperY(k));
        lower.points.emplace_back(k, lowerY(k + 1));
    });
    picture.traces.push_back(std::move(upper));
    picture.traces.push_back(std::move(lower));
    return picture;
}

} // namespace

WavePicture drawing8Bit(const QByteArray& bytes, int widthPx, bool stereo, qint16 sensitivity) {
    const auto byte = [&](int k) { return double(quint8(bytes[k])); };
    const int upperIndex = int(bytes.size()) - 1;
    if (!stereo) return monoPicture(upperIndex, widthPx, 127, [&](int k) { return byte(k) - 127; });
    return stereoPicture(
        upperIndex, widthPx, 256, 127, [&](int k) { return byte(k) * sensitivity; },
        [&](int k) { return byte(k) * sensitivity - 255; });
}

WavePicture drawing16Bit(const std::vector<qint16>& samples, int widthPx, bool stereo, qint16 sensitivity) {
    const auto value = [&](int k) { return samples[size_t(k)] / kFullScale16 * sensitivity; };
    const int upperIndex = int(samples.size()) - 1;
    if (!stereo) return monoPicture(upperIndex, widthPx, 0.5, value);
    return stereoPicture(
        upperIndex, widthPx, 1, 0.5, [&](int k) { return value(k) + 0.5; }, [&](int k) { return value(k) - 0.5; });
}

std::vector<qint16> samples16Bit(const QByteArray& bytes) {
    std::vector<qint16> samples(size_t(bytes.size() / 2));
    for (size_t k = 0; k < samples.size(); ++k) samples[k] = qFromLittleEndian<qint16>(bytes.constData() + 2 * k);
    return samples;
}

} // namespace tonara
