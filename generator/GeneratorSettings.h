#pragma once
// What the generator and the main window's volume remember, in a file of
// their own: tonara/generator.ini in the application-data folder (never
// tonara.ini). A value that is missing or cannot be used reads as its default.

#include "Signal.h"
#include "SoundFile.h"

#include <QString>

namespace tonara {

struct GeneratorSettings {
    SignalParameters signal;
    QString frequencyText = QStringLiteral("1000");
    QString sweepToText = QStringLiteral("2000");
    double durationSeconds = 0.0;
    int saveRate = 48000;
    SoundFileFormat saveFormat = SoundFileFormat::Wav16;
};

constexpr double kLongestSeconds = 86400.0;
constexpr double kLowestVolumeDb = -60.0;

QString generatorSettingsPath();
GeneratorSettings loadGeneratorSettings();
void saveGeneratorSettings(const GeneratorSettings& settings);
// The main window's volume, 0 to -60 dB.
double loadVolumeDb();
void saveVolumeDb(double db);

} // namespace tonara
