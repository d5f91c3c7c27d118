#include "ThresholdSearch.h"

#include <algorithm>

namespace tonara::quillon {

namespace {

constexpr int kDownAfterHeardDb = 10;
constexpr int kUpAfterMissedDb = 5;
constexpr int kAnswersAtALimit = 2;
constexpr int kAscentsHeardNeeded = 2;

} // namespace

ThresholdSearch::ThresholdSearch(ThresholdLimits limits)
    : limits_(limits), level_(std::clamp(limits.startDb, limits.lowestDb, limits.highestDb)) {}

void ThresholdSearch::answer(bool heard) {
    if (done()) return;
    ++tones_;
    if (ascending_) {
        Ascents& here = ascents_[level_];
        ++here.presented;
        if (heard) ++here.heard;
        if (here.heard >= kAscentsHeardNeeded && 2 * here.heard >= here.presented) return end(ThresholdOutcome::Found, level_);
    }
    // The limits the output sets: louder than full scale it cannot play, and
    // below the quietest level it has nothing worth telling apart.
    if (heard && level_ == limits_.lowestDb && ++heardAtLowest_ >= kAnswersAtALimit)
        return end(ThresholdOutcome::HeardAtLowest, level_);
    if (!heard && level_ == limits_.highestDb && ++missedAtHighest_ >= kAnswersAtALimit)
        return end(ThresholdOutcome::NotHeardAtHighest, level_);
    if (tones_ >= limits_.maxTones) return end(ThresholdOutcome::NoConsistentAnswer, level_);

    ascending_ = !heard;
    level_ = std::clamp(heard ? level_ - kDownAfterHeardDb : level_ + kUpAfterMissedDb, limits_.lowestDb,
                        limits_.highestDb);
}

void ThresholdSearch::end(ThresholdOutcome outcome, int threshold) {
    outcome_ = outcome;
    threshold_ = threshold;
}

} // namespace tonara::quillon
