#include "AgeEntry.h"
#include "NumberText.h"

namespace tonara::quillon {

std::optional<qint16> ageFromText(const QString& text) {
    if (!readsAsNumber(text)) return std::nullopt;
    const double whole = integerPart(text);
    if (whole < 0 || whole > kOldestAge) return std::nullopt;
    return qint16(whole);
}

} // namespace tonara::quillon
