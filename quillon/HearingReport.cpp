#include "HearingReport.h"
#include "HearingTable.h"

namespace tonara::quillon {

const QString kReportFilter = QStringLiteral("Text Files (*.txt)|*.txt|All Files (*.*)|*.*");

QStringList reportLines(const TestOutcome& outcome) {
    QStringList lines{"Tonara hearing age report", "[Legend]"};
    for (qint16 level = 1; level <= kLevelCount; ++level)
        lines << QStringLiteral("Level %1: %2 Hz").arg(level).arg(levelAt(level).pitch);
    lines << "[Results]" << "Age: " + QString::number(outcome.age)
          << "Heared up to level: " + QString::number(outcome.level)
          << "Hearing age: " + QString::number(outcome.hearingAge) << "Hearing is: " + outcome.verdict;
    if (const QString ear = earReportLine(outcome.ear); !ear.isEmpty()) lines << ear;
    return lines;
}

} // namespace tonara::quillon
