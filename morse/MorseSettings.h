#pragma once
// The Morse window's own choices, kept in morse.ini in the application-data
// folder (beside tonara.ini, which they never touch): the timing and the
// Standard timing's speeds and rise time, one "name=value" line each.

#include "StandardTiming.h"

#include <QByteArray>
#include <QString>

namespace tonara {

enum class MorseTimingChoice { Classic, Standard };

struct MorseSettings {
    MorseTimingChoice timing = MorseTimingChoice::Classic;
    StandardSpeed speed;
    int riseMs = kDefaultRiseMs;
    bool operator==(const MorseSettings&) const = default;
};

// Whatever the text holds: unknown lines and values out of range or not
// numbers give way to the defaults or the nearest allowed value.
MorseSettings parseMorseSettings(const QByteArray& text);
QByteArray formatMorseSettings(const MorseSettings& settings);

QString morseSettingsPath();
// The defaults when the file is missing or cannot be read.
MorseSettings loadMorseSettings();
// Replaces the file in one step; false when it cannot be written (the
// choices then last as long as the window).
bool saveMorseSettings(const MorseSettings& settings);

} // namespace tonara
