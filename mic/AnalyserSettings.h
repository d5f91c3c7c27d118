#pragma once
// The microphone display's own choices, kept in analyser.ini in the
// application-data folder (tonara.ini keeps its six lines): the trigger,
// the spectrum and the capture source, one "name=value" line each.

#include <QByteArray>
#include <QString>

namespace tonara {

struct AnalyserSettings {
    bool trigger = false;
    bool spectrum = false;
    QString input; // a capture source's name; "" the default source
    bool operator==(const AnalyserSettings&) const = default;
};

// Whatever the text holds: unknown lines and values give way to the defaults.
AnalyserSettings parseAnalyserSettings(const QByteArray& text);
QByteArray formatAnalyserSettings(const AnalyserSettings& settings);

QString analyserSettingsPath();
// The defaults when the file is missing or cannot be read.
AnalyserSettings loadAnalyserSettings();
// Replaces the file in one step; false when it cannot be written (the
// choices then last as long as the program).
bool saveAnalyserSettings(const AnalyserSettings& settings);

} // namespace tonara
