#include "MorseInput.h"
#include "NumberText.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace tonara {

namespace {

constexpr qint32 kMaxSpeed = 500;
constexpr qint32 kMinPitch = 50;
constexpr qint32 kMaxPitch = 32000;
constexpr qint16 kDefaultPitch = 700;

// The box as a whole number, halves to even. An empty box (Backspace always
// passes the key filter) holds 0, and a number too large for 32 bits counts
// as the largest, so both meet the range checks instead of failing the run.
// Raises Type mismatch (13) for text that is no number.
qint32 wholeBoxNumber(const QString& text) {
    if (text.trimmed().isEmpty()) return 0;
    const double rounded = std::nearbyint(toNumber(text));
    constexpr double lowest = std::numeric_limits<qint32>::min(), highest = std::numeric_limits<qint32>::max();
    return qint32(std::clamp(rounded, lowest, highest));
}

} // namespace

BoxReading readSpeedBox(const QString& text) {
    const qint32 speed = wholeBoxNumber(text);
    if (speed > kMaxSpeed) return {0, BoxCorrection{"Max speed = 500", "Max Speed", "0"}};
    // Far below zero every element and pause is already left out, so the
    // 16-bit floor changes nothing.
    return {qint16(std::max<qint32>(speed, std::numeric_limits<qint16>::min())), std::nullopt};
}

BoxReading readPitchBox(const QString& text) {
    const qint32 pitch = wholeBoxNumber(text);
    if (pitch < kMinPitch) return {kDefaultPitch, BoxCorrection{"Min pitch = 50 Hertz", "Min Pitch", "700"}};
    if (pitch > kMaxPitch) return {kDefaultPitch, BoxCorrection{"Max pitch = 32000", "Max Pitch", "700"}};
    return {qint16(pitch), std::nullopt};
}

} // namespace tonara
