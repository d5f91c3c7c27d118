#pragma once
// What the main program hands over in quillon.ini: the sound mode code and
// the language code.

#include <QString>
#include <QStringList>
#include <optional>

namespace tonara::quillon {

struct HandOver {
    QString mode = QStringLiteral("256"); // "16", "32" or "256"
    QString language = QStringLiteral("en");

    bool dutch() const { return language == "nl"; }
};

// %TEMP%/quillon.ini
QString handOverFile();

// The hand-over the file's fields ask for ("128" is served as "256");
// nothing when Quillon cannot serve the mode or speak the language.
std::optional<HandOver> handOverFrom(const QStringList& fields);

// Reads and deletes the hand-over file; the defaults when there is none.
// Raises when the file cannot be read or deleted.
std::optional<HandOver> takeHandOver();

} // namespace tonara::quillon
