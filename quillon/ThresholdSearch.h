#pragma once
// The modified Hughson-Westlake search for one ear at one frequency: down
// 10 dB after a tone heard, up 5 dB after one not heard; the threshold is
// the lowest level heard on at least half, and at least two, of the tones
// that came to it from below (two of three ascents). Levels are in dB
// relative to the output's full scale. No clock, no sound: it is told the
// answers and says what to play next, so simulated listeners test it.

#include <map>

namespace tonara::quillon {

enum class ThresholdOutcome {
    Searching,
    Found,              // threshold() is the level
    HeardAtLowest,      // heard even at the quietest level: threshold() is that level or below
    NotHeardAtHighest,  // not heard at full scale
    NoConsistentAnswer, // the answers settled on no level within the tones allowed
};

struct ThresholdLimits {
    int startDb = -30;
    int lowestDb = -100;
    int highestDb = 0;
    int maxTones = 40;
};

class ThresholdSearch {
public:
    explicit ThresholdSearch(ThresholdLimits limits = {});

    int level() const { return level_; } // of the next tone
    void answer(bool heard);
    bool done() const { return outcome_ != ThresholdOutcome::Searching; }
    ThresholdOutcome outcome() const { return outcome_; }
    int threshold() const { return threshold_; }
    int tones() const { return tones_; }

private:
    struct Ascents {
        int presented = 0;
        int heard = 0;
    };
    void end(ThresholdOutcome outcome, int threshold);

    ThresholdLimits limits_;
    int level_;
    bool ascending_ = false; // the tone now comes after one not heard
    int tones_ = 0;
    int heardAtLowest_ = 0;
    int missedAtHighest_ = 0;
    std::map<int, Ascents> ascents_;
    ThresholdOutcome outcome_ = ThresholdOutcome::Searching;
    int threshold_ = 0;
};

} // namespace tonara::quillon
