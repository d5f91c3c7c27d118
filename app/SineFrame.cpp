#include "SineFrame.h"
#include "NumberText.h"

#include <cmath>

namespace tonara {

namespace {

// Points between two exact evaluations of the sine: the rotation in between
// drifts by a few ulps a step.
constexpr qint32 kAnchorEvery = 64;
// A product this close (in twips) to a half is rounded from the exact sine:
// the rotation's error is far below it, so every height is the formula's.
constexpr double kHalfMargin = 1e-4;
// 1.5 * 2^52: a sum with it keeps no fraction, rounded to nearest, halves to even.
constexpr double kRounder = 6755399441055744.0;

qint32 exactHeight(double step, qint32 phase, qint32 amplitude, qint32 x) {
    return toInt32(std::sin(step * x + phase) * amplitude);
}

} // namespace

// A frame is thousands of sines, twenty times a second: the sine is carried
// from point to point by a rotation, which costs a fraction of a sine.
void sineFrame(float step, qint32 phase, qint32 amplitude, qint32 width, std::vector<qint32>& heights) {
    const double d = double(step);
    heights.resize(width >= 0 ? std::size_t(width) + 1 : 0);
    const double sinD = std::sin(d), cosD = std::cos(d);
    double s = 0, c = 1;
    // Heights this large are left to the formula's own range check.
    const bool fits = std::abs(double(amplitude)) < 1e9;
    for (qint32 x = 0; x <= width; ++x) {
        if (x % kAnchorEvery == 0) {
            const double angle = d * x + phase;
            s = std::sin(angle);
            c = std::cos(angle);
        }
        const double scaled = s * amplitude;
        // Halves to even, as toInt32 rounds, without a call a point.
        const double r = (scaled + kRounder) - kRounder;
        const qint32 y = std::abs(std::abs(scaled - r) - 0.5) < kHalfMargin || !fits ? exactHeight(d, phase, amplitude, x)
                                                                                    : qint32(r);
        heights[std::size_t(x)] = amplitude + y + 100;
        const double next = s * cosD + c * sinD;
        c = c * cosD - s * sinD;
        s = next;
    }
}

} // namespace tonara
