#include "MorseSettings.h"
#include "OwnSettingsFile.h"
#include "TextFile.h"

#include <algorithm>

namespace tonara {

namespace {

constexpr const char* kFileName = "morse.ini";
// Longer than any file this window writes: anything bigger is not ours.
constexpr qsizetype kMostBytes = 4096;

int numberOr(const QString& text, int fallback, int lowest, int highest) {
    bool ok = false;
    const int value = text.trimmed().toInt(&ok);
    return ok ? std::clamp(value, lowest, highest) : fallback;
}

} // namespace

MorseSettings parseMorseSettings(const QByteArray& text) {
    MorseSettings settings;
    if (text.size() > kMostBytes) return settings;
    for (const QString& line : wholeLines(text)) {
        const qsizetype equals = line.indexOf('=');
        if (equals < 0) continue;
        const QString name = line.left(equals).trimmed();
        const QString value = line.mid(equals + 1).trimmed();
        if (name == "Timing") {
            if (value == "Standard") settings.timing = MorseTimingChoice::Standard;
            else if (value == "Classic") settings.timing = MorseTimingChoice::Classic;
        } else if (name == "Speed") {
            settings.speed.wpm = numberOr(value, kDefaultWpm, kLowestWpm, kHighestWpm);
        } else if (name == "CharacterSpeed") {
            settings.speed.characterWpm = numberOr(value, kDefaultWpm, kLowestWpm, kHighestWpm);
        } else if (name == "RiseTime") {
            settings.riseMs = numberOr(value, kDefaultRiseMs, kLowestRiseMs, kHighestRiseMs);
        }
    }
    settings.speed = clampedSpeed(settings.speed);
    return settings;
}

QByteArray formatMorseSettings(const MorseSettings& s) {
    const QStringList lines = {
        QString("Timing=%1").arg(s.timing == MorseTimingChoice::Standard ? "Standard" : "Classic"),
        QString("Speed=%1").arg(s.speed.wpm),
        QString("CharacterSpeed=%1").arg(s.speed.characterWpm),
        QString("RiseTime=%1").arg(s.riseMs),
    };
    return (lines.join("\r\n") + "\r\n").toLatin1();
}

namespace {
constexpr OwnSettingsKind<MorseSettings> kMorseFile{kFileName, kMostBytes, "the Morse window starts with its defaults",
                                                    parseMorseSettings, formatMorseSettings};
} // namespace

QString morseSettingsPath() { return ownSettingsPath(kFileName); }
MorseSettings loadMorseSettings() { return loadOwnSettings(kMorseFile); }
bool saveMorseSettings(const MorseSettings& settings) { return saveOwnSettings(kMorseFile, settings); }

} // namespace tonara
