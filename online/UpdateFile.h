#pragma once
// The update-information file and the version texts: line 1 announces the
// newest version as three digits ("237" for 2.3.7), line 2 is the link.

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace tonara {

constexpr int kThisVersion = 236;
inline const QString kThisVersionText = QStringLiteral("2.3.6");

struct UpdateFile {
    QStringList lines; // whole lines, commas included
    bool rejected = false; // nine lines or more
};

// Reading stops at the ninth line, which rejects the file.
UpdateFile readUpdateFile(const QByteArray& bytes);

// The announced version's value: blanks anywhere are ignored and reading
// stops at the first character that is not part of a number ("2.3.7" is 2.3).
double announcedVersion(const QString& line);

// The first three characters joined by dots: "237" is "2.3.7", "1000" "1.0.0".
QString versionText(const QString& line);

} // namespace tonara
