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

} // namespace tonara
