#pragma once
// The hearing report: the level legend and the test's four results, in
// English whatever the language, except the verdict as the window shows it.

#include "Ear.h"

#include <QString>
#include <QStringList>

namespace tonara::quillon {

struct TestOutcome {
    qint16 age = 0;
    qint16 level = 0; // where the test ended, 1 to 12
    qint16 hearingAge = 0;
    QString verdict;
    Ear ear = Ear::Both;
};

// The eighteen lines of the report, and for one ear a nineteenth naming it.
QStringList reportLines(const TestOutcome& outcome);

// What the save dialog offers.
extern const QString kReportFilter;

} // namespace tonara::quillon
