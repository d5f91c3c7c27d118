#pragma once
// The test's eleven levels of rising pitch, each with the hearing age of a
// listener who no longer hears it, and the verdict that compares a hearing
// age with the listener's own age.

#include <QColor>
#include <QString>

namespace tonara::quillon {

struct Level {
    qint16 pitch;      // Hz
    qint16 hearingAge; // years
};

constexpr qint16 kLevelCount = 11;

// Levels 1 to kLevelCount; any other raises Subscript out of range (9).
Level levelAt(qint16 level);

struct Verdict {
    QString english;
    QString dutch;
    QColor colour;

    const QString& text(bool inDutch) const { return inDutch ? dutch : english; }
};

Verdict verdictFor(qint16 age, qint16 hearingAge);

// The first level that an output of outputRate samples per second cannot
// reproduce at its level (OutputBand.h); 0 when it can reproduce
// them all or the rate is unknown (0).
qint16 firstUnreproducibleLevel(int outputRate);

} // namespace tonara::quillon
