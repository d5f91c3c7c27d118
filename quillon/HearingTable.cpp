#include "HearingTable.h"
#include "OutputBand.h"
#include "RuntimeError.h"

#include <array>

namespace tonara::quillon {

namespace {

constexpr std::array<Level, kLevelCount> kLevels{{
    {1000, 95},
    {2000, 85},
    {4000, 75},
    {6000, 65},
    {8000, 55},
    {12000, 45},
    {15000, 35},
    {16000, 27},
    {17500, 22},
    {19000, 19},
    {21000, 9},
}};

// Tested in order: the first row whose margin puts the age above the hearing age.
struct VerdictRow {
    int margin;
    Verdict verdict;
};

} // namespace

Level levelAt(qint16 level) {
    if (level < 1 || level > kLevelCount) raise(err::SubscriptOutOfRange);
    return kLevels[size_t(level - 1)];
}

Verdict verdictFor(qint16 age, qint16 hearingAge) {
    static const VerdictRow rows[] = {
        {0, {"Perfect", "Perfect", QColor(0, 128, 0)}},
        {10, {"Good", "Goed", QColor(0, 0, 255)}},
        {20, {"Average", "Gemiddeld", QColor(255, 128, 0)}},
    };
    static const Verdict bad{"Bad", "Slecht", QColor(255, 0, 0)};
    for (const VerdictRow& row : rows)
        if (int(age) + row.margin > int(hearingAge)) return row.verdict;
    return bad;
}

qint16 firstUnreproducibleLevel(int outputRate) {
    if (outputRate <= 0) return 0;
    for (qint16 level = 1; level <= kLevelCount; ++level)
        if (!carriesAtFullLevel(outputRate, levelAt(level).pitch)) return level;
    return 0;
}

} // namespace tonara::quillon
