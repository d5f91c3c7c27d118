#pragma once
// The status bar's third panel: the audio output's rate, and whether it can
// carry the pitch being played.

#include <QString>

namespace tonara {

// "Output: 48 kHz"; with a pitch the output does not carry at its level
// (OutputBand.h), "Output: 48 kHz, too low for 30000 Hz".
// Pitch 0: no tone. Rate 0: no output at all. In the language ("en", "nl").
QString outputStatusText(int rate, qint32 pitch, const QString& language = QStringLiteral("en"));

} // namespace tonara
