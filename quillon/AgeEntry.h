#pragma once
// The age as typed into the age window.

#include <QString>
#include <optional>

namespace tonara::quillon {

constexpr qint16 kOldestAge = 99;

// The text's whole part (rounded down) when the text reads as a number and
// that part lies from 0 to kOldestAge; nothing otherwise (an empty text, a
// lone blank, "1 5").
std::optional<qint16> ageFromText(const QString& text);

} // namespace tonara::quillon
