#include "AnalyserSettings.h"
#include "OwnSettingsFile.h"
#include "TextFile.h"

#include <QRegularExpression>

namespace tonara {

namespace {

constexpr const char* kFileName = "analyser.ini";
// Longer than any file the display writes: anything bigger is not ours.
constexpr qsizetype kMostBytes = 4096;
// Longer than any source name a sound server gives.
constexpr qsizetype kLongestInput = 512;

void readSwitch(const QString& value, bool& into) {
    if (value == "y") into = true;
    else if (value == "n") into = false;
}

} // namespace

AnalyserSettings parseAnalyserSettings(const QByteArray& text) {
    AnalyserSettings settings;
    if (text.size() > kMostBytes) return settings;
    // UTF-8, as written: a source name may hold any character.
    for (const QString& line : QString::fromUtf8(text).split(QRegularExpression("\r\n|\n|\r"))) {
        const qsizetype equals = line.indexOf('=');
        if (equals < 0) continue;
        const QString name = line.left(equals).trimmed();
        const QString value = line.mid(equals + 1).trimmed();
        if (name == "Trigger") readSwitch(value, settings.trigger);
        else if (name == "Spectrum") readSwitch(value, settings.spectrum);
        else if (name == "Input" && value.size() <= kLongestInput && !value.contains(QChar(0))) settings.input = value;
    }
    return settings;
}

QByteArray formatAnalyserSettings(const AnalyserSettings& s) {
    const QStringList lines = {
        QString("Trigger=%1").arg(s.trigger ? "y" : "n"),
        QString("Spectrum=%1").arg(s.spectrum ? "y" : "n"),
        "Input=" + s.input,
    };
    return (lines.join("\r\n") + "\r\n").toUtf8();
}

namespace {
constexpr OwnSettingsKind<AnalyserSettings> kAnalyserFile{kFileName, kMostBytes,
                                                          "the microphone display starts with its defaults",
                                                          parseAnalyserSettings, formatAnalyserSettings};
} // namespace

QString analyserSettingsPath() { return ownSettingsPath(kFileName); }
AnalyserSettings loadAnalyserSettings() { return loadOwnSettings(kAnalyserFile); }
bool saveAnalyserSettings(const AnalyserSettings& settings) { return saveOwnSettings(kAnalyserFile, settings); }

} // namespace tonara
