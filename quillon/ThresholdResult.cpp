#include "ThresholdResult.h"
#include "OutputBand.h"
#include "ThresholdTexts.h"

namespace tonara::quillon {

namespace {

constexpr int kTestedFrequencies[] = {250, 500, 1000, 2000, 4000, 6000, 8000, 12000, 16000};

QString dbfs(int level) { return QString::number(level) + " dBFS"; }

QString csvEar(Ear ear) { return ear == Ear::Left ? "Left" : ear == Ear::Right ? "Right" : "Both"; }

QString csvOutcome(ThresholdOutcome outcome) {
    switch (outcome) {
    case ThresholdOutcome::Found: return "threshold";
    case ThresholdOutcome::HeardAtLowest: return "heard at the quietest level";
    case ThresholdOutcome::NotHeardAtHighest: return "not heard at full scale";
    case ThresholdOutcome::NoConsistentAnswer: return "no consistent answer";
    case ThresholdOutcome::Searching: break;
    }
    return "not tested";
}

} // namespace

const QString kThresholdCsvFilter = QStringLiteral("CSV Files (*.csv)|*.csv|All Files (*.*)|*.*");
const QString kThresholdPictureFilter = QStringLiteral("PNG Pictures (*.png)|*.png|All Files (*.*)|*.*");

std::vector<int> thresholdFrequencies(int outputRate) {
    std::vector<int> carried;
    for (const int frequency : kTestedFrequencies)
        if (carriesAtFullLevel(outputRate, frequency)) carried.push_back(frequency);
    return carried;
}

bool hasPlottedLevel(const ThresholdResult& result) {
    return result.outcome == ThresholdOutcome::Found || result.outcome == ThresholdOutcome::HeardAtLowest;
}

QString outcomeText(const ThresholdResult& result, bool dutch) {
    const ThresholdTexts& texts = thresholdTexts(dutch);
    switch (result.outcome) {
    case ThresholdOutcome::Found: return dbfs(result.levelDb);
    case ThresholdOutcome::HeardAtLowest: return dbfs(result.levelDb) + texts.orLower;
    case ThresholdOutcome::NotHeardAtHighest: return texts.notHeardAt + dbfs(result.levelDb);
    case ThresholdOutcome::NoConsistentAnswer: return texts.noConsistentAnswer;
    case ThresholdOutcome::Searching: break;
    }
    return texts.notTested;
}

QStringList thresholdCsvLines(const std::vector<ThresholdResult>& results) {
    QStringList lines{"Ear,Frequency (Hz),Threshold (dBFS),Tones,Result"};
    for (const ThresholdResult& r : results) {
        const QString level = hasPlottedLevel(r) ? QString::number(r.levelDb) : QString();
        lines << QStringList{csvEar(r.ear), QString::number(r.frequency), level, QString::number(r.tones),
                             csvOutcome(r.outcome)}
                     .join(',');
    }
    return lines;
}

} // namespace tonara::quillon
