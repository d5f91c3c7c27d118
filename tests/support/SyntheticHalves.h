#pragma once
// Captured halves made from a formula, as the main window's capture delivers them.

#include <QByteArray>
#include <QtEndian>
#include <algorithm>
#include <cmath>
#include <functional>
#include <numbers>

namespace tonara::test {

inline constexpr int kMicRate = 44100;
inline constexpr int kHalfFrames = 4410;

// A signal as a fraction of full scale at a frame.
using Signal = std::function<double(qint64 frame)>;

inline Signal sine(double hz, double amplitude, double phase = 0) {
    return [=](qint64 frame) {
        return amplitude * std::sin(2 * std::numbers::pi * hz * double(frame) / kMicRate + phase);
    };
}

// 16-bit stereo, both channels alike, from frame first on.
inline QByteArray half16(const Signal& signal, qint64 first, int frames = kHalfFrames) {
    QByteArray bytes(frames * 4, '\0');
    for (int f = 0; f < frames; ++f) {
        const double v = std::clamp(std::round(signal(first + f) * 32768), -32768.0, 32767.0);
        qToLittleEndian(qint16(v), bytes.data() + 4 * f);
        qToLittleEndian(qint16(v), bytes.data() + 4 * f + 2);
    }
    return bytes;
}

} // namespace tonara::test
