#include "GeneratorSettings.h"
#include "Folders.h"
#include "SignalExport.h"

#include <QSettings>
#include <algorithm>
#include <cmath>

namespace tonara {

namespace {

// The highest frequency any output rate the program opens could play.
constexpr double kHighestFrequency = 0.99 * 384000 / 2;

double number(const QSettings& file, const char* key, double fallback, double lowest, double highest) {
    bool ok = false;
    const double value = file.value(key).toDouble(&ok);
    if (!ok || !std::isfinite(value)) return fallback;
    return std::clamp(value, lowest, highest);
}

template <typename Enum> Enum choice(const QSettings& file, const char* key, Enum fallback, Enum last) {
    bool ok = false;
    const int value = file.value(key).toInt(&ok);
    if (!ok || value < 0 || value > int(last)) return fallback;
    return Enum(value);
}

QString text(const QSettings& file, const char* key, const QString& fallback) {
    const QString value = file.value(key, fallback).toString().left(64);
    return value.isEmpty() ? fallback : value;
}

} // namespace

QString generatorSettingsPath() { return joinPath(joinPath(appDataFolder(), "tonara"), "generator.ini"); }

GeneratorSettings loadGeneratorSettings() {
    const QSettings file(generatorSettingsPath(), QSettings::IniFormat);
    GeneratorSettings s;
    SignalParameters& g = s.signal;
    g.waveform = choice(file, "waveform", g.waveform, Waveform::PinkNoise);
    g.frequency = number(file, "frequency", g.frequency, kLowestFrequency, kHighestFrequency);
    g.sweep = choice(file, "sweep", g.sweep, SweepLaw::Logarithmic);
    g.sweepTo = number(file, "sweepTo", g.sweepTo, kLowestFrequency, kHighestFrequency);
    g.sweepSeconds = number(file, "sweepSeconds", g.sweepSeconds, 0.1, kLongestSeconds);
    g.repeat = file.value("repeat", g.repeat).toBool();
    g.levelDb = number(file, "levelDb", g.levelDb, kLowestLevelDb, kHighestLevelDb);
    g.channel = choice(file, "channel", g.channel, SignalChannel::BothRightInverted);
    s.frequencyText = text(file, "frequencyText", s.frequencyText);
    s.sweepToText = text(file, "sweepToText", s.sweepToText);
    s.durationSeconds = number(file, "durationSeconds", s.durationSeconds, 0.0, kLongestSeconds);
    const int rate = file.value("saveRate", s.saveRate).toInt();
    if (std::find(std::begin(kExportRates), std::end(kExportRates), rate) != std::end(kExportRates)) s.saveRate = rate;
    s.saveFormat = choice(file, "saveFormat", s.saveFormat, SoundFileFormat::Flac24);
    return s;
}

void saveGeneratorSettings(const GeneratorSettings& s) {
    QSettings file(generatorSettingsPath(), QSettings::IniFormat);
    const SignalParameters& g = s.signal;
    file.setValue("waveform", int(g.waveform));
    file.setValue("frequency", g.frequency);
    file.setValue("sweep", int(g.sweep));
    file.setValue("sweepTo", g.sweepTo);
    file.setValue("sweepSeconds", g.sweepSeconds);
    file.setValue("repeat", g.repeat);
    file.setValue("levelDb", g.levelDb);
    file.setValue("channel", int(g.channel));
    file.setValue("frequencyText", s.frequencyText);
    file.setValue("sweepToText", s.sweepToText);
    file.setValue("durationSeconds", s.durationSeconds);
    file.setValue("saveRate", s.saveRate);
    file.setValue("saveFormat", int(s.saveFormat));
}

double loadVolumeDb() {
    const QSettings file(generatorSettingsPath(), QSettings::IniFormat);
    return number(file, "volumeDb", 0.0, kLowestVolumeDb, 0.0);
}

void saveVolumeDb(double db) {
    QSettings file(generatorSettingsPath(), QSettings::IniFormat);
    file.setValue("volumeDb", std::clamp(db, kLowestVolumeDb, 0.0));
}

} // namespace tonara
