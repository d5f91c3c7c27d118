#pragma once
// What the threshold test found for each ear and frequency, and the CSV
// file it is saved as.

#include "Ear.h"
#include "ThresholdSearch.h"

#include <QStringList>
#include <vector>

namespace tonara::quillon {

struct ThresholdResult {
    Ear ear = Ear::Right;
    int frequency = 0; // Hz
    ThresholdOutcome outcome = ThresholdOutcome::Searching;
    int levelDb = 0;   // dBFS: the threshold, or the limit the search ended at
    int tones = 0;
};

// The frequencies tested, in their order, of those an output of rate carries at full level.
std::vector<int> thresholdFrequencies(int outputRate);

// The threshold to draw; false where the search found none to draw (never heard, no consistent answer).
bool hasPlottedLevel(const ThresholdResult& result);
// How the table names the result: "-45 dBFS", "-100 dBFS or lower", "not heard at 0 dBFS", ...
QString outcomeText(const ThresholdResult& result, bool dutch);

// A header and one line per result: ear, frequency, threshold (empty when
// there is none), tones, what the search ended with.
QStringList thresholdCsvLines(const std::vector<ThresholdResult>& results);

// The filters of the two save dialogs.
extern const QString kThresholdCsvFilter;
extern const QString kThresholdPictureFilter;

} // namespace tonara::quillon
