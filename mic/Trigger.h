#pragma once
// Where a triggered picture starts, so that a periodic input stands still:
// at a rising zero crossing of channel 1, with a little hysteresis, so that
// noise around zero does not trigger.

#include <QByteArray>
#include <optional>
#include <span>

namespace tonara {

// The last index at or before latest where the values reach zero or more,
// having been below -hysteresis since the previous such crossing.
std::optional<int> lastRisingCrossing(std::span<const float> values, int latest, float hysteresis);

// A twentieth of the largest magnitude, and at least one step of 16 bits.
float triggerHysteresis(std::span<const float> values);

// The bytes to draw in place of current: as many as a half, from the last
// rising crossing of channel 1 in previous + current that leaves every
// frame the drawing reaches recorded (a stereo picture reaches the first
// half of its frames, a mono one all). Bytes past the recording are
// silence, never drawn. current as it is when nothing crosses.
QByteArray triggeredHalf(const QByteArray& previous, const QByteArray& current, int bitsPerSample, int channels);

} // namespace tonara
