#include "StandardTiming.h"

#include <algorithm>

namespace tonara {

namespace {

// Of the 50 units of PARIS, 19 are gaps between characters or words
// (4 × 3 + 7): those are the ones Farnsworth spacing stretches.
constexpr double kStretchedUnits = 19;

} // namespace

StandardSpeed clampedSpeed(StandardSpeed speed) {
    speed.wpm = std::clamp(speed.wpm, kLowestWpm, kHighestWpm);
    speed.characterWpm = std::clamp(speed.characterWpm, speed.wpm, kHighestWpm);
    return speed;
}

StandardTiming standardTiming(StandardSpeed speed) {
    speed = clampedSpeed(speed);
    const double c = speed.characterWpm;
    const double s = speed.wpm;
    const double unit = 1200.0 / c;
    if (speed.characterWpm == speed.wpm) return {unit, 3 * unit, 7 * unit};
    // The delay of one word's gaps together, in seconds, as the ARRL gives it:
    // what is left of a minute's s words once their characters have sounded.
    const double totalDelayMs = 1000.0 * (60.0 * c - 37.2 * s) / (s * c);
    return {unit, totalDelayMs * 3 / kStretchedUnits, totalDelayMs * 7 / kStretchedUnits};
}

} // namespace tonara
