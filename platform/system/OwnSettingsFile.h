#pragma once
// The small settings files of our own beside tonara.ini (morse.ini,
// analyser.ini): read whole when there and small, replaced in one step when
// written. A file that cannot be read or written costs a line on standard
// error, never the program.

#include <QByteArray>
#include <QString>
#include <optional>

namespace tonara {

// The file's bytes; nothing when it is missing, larger than mostBytes or
// unreadable (then saying so, and that instead).
std::optional<QByteArray> readOwnSettingsFile(const QString& path, qsizetype mostBytes, const char* instead);
// False, having said why, when the file could not be replaced.
bool writeOwnSettingsFile(const QString& path, const QByteArray& bytes);

// One such file in the settings folder: its name, how large it may be, what
// the program does without it, and how its lines are read and written.
template <typename Settings>
struct OwnSettingsKind {
    const char* fileName;
    qsizetype mostBytes;
    const char* instead;
    Settings (*parse)(const QByteArray&);
    QByteArray (*format)(const Settings&);
};

QString ownSettingsPath(const char* fileName);

// The defaults when the file is missing or cannot be read.
template <typename Settings>
Settings loadOwnSettings(const OwnSettingsKind<Settings>& kind) {
    const std::optional<QByteArray> bytes = readOwnSettingsFile(ownSettingsPath(kind.fileName), kind.mostBytes, kind.instead);
    return bytes ? kind.parse(*bytes) : Settings{};
}

template <typename Settings>
bool saveOwnSettings(const OwnSettingsKind<Settings>& kind, const Settings& settings) {
    return writeOwnSettingsFile(ownSettingsPath(kind.fileName), kind.format(settings));
}

} // namespace tonara
