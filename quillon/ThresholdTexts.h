#pragma once
// The threshold window's and audiogram's texts, in English and in Dutch.

#include <QString>

namespace tonara::quillon {

struct ThresholdTexts {
    QString caption, note, ready, listening /* %1 the ear, %2 the frequency */, complete, stopped;
    QString start, hearIt, saveCsv, savePicture;
    QString frequencyAxis, levelAxis;
    QString orLower, notHeardAt, noConsistentAnswer, notTested;
};

const ThresholdTexts& thresholdTexts(bool dutch);

} // namespace tonara::quillon
