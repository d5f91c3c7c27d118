// The threshold search against simulated listeners: what it finds, that it
// always ends, and how many tones it takes.
#include "ThresholdSearch.h"
#include "ThresholdTest.h"

#include <cmath>
#include <functional>
#include <gtest/gtest.h>
#include <random>

namespace tonara::test {

namespace {

using quillon::ThresholdLimits;
using quillon::ThresholdOutcome;
using quillon::ThresholdSearch;
using quillon::ThresholdTiming;

using Listener = std::function<bool(int levelDb)>;

Listener fixedListener(int thresholdDb) {
    return [thresholdDb](int level) { return level >= thresholdDb; };
}

// Hears with a probability that rises over a few dB around the threshold,
// and now and then answers with no tone worth hearing.
Listener noisyListener(double thresholdDb, unsigned seed) {
    auto random = std::make_shared<std::mt19937>(seed);
    return [=](int level) {
        const double heard = 1.0 / (1.0 + std::exp(-(level - thresholdDb) / 1.5));
        const double guess = 0.03;
        return std::uniform_real_distribution<double>(0, 1)(*random) < guess + (1 - guess) * heard;
    };
}

ThresholdSearch searched(const Listener& listener, ThresholdLimits limits = {}) {
    ThresholdSearch search(limits);
    for (int tone = 0; !search.done() && tone < 1000; ++tone) search.answer(listener(search.level()));
    return search;
}

// The answering time of a search: its pauses (their mean), each tone, and
// for a tone not heard the wait for a late answer; a heard one ends at the
// listener's answer, half a second into the tone.
double answeringSeconds(const Listener& listener, const ThresholdSearch& done) {
    ThresholdSearch again;
    double ms = 0;
    while (!again.done()) {
        const bool heard = listener(again.level());
        ms += (ThresholdTiming::kShortestPauseMs + ThresholdTiming::kLongestPauseMs) / 2.0;
        ms += heard ? 500.0 : ThresholdTiming::kToneMs + ThresholdTiming::kLateAnswerMs;
        again.answer(heard);
    }
    EXPECT_EQ(again.tones(), done.tones());
    return ms / 1000.0;
}

} // namespace

TEST(ThresholdSearch, AFixedListenerGetsItsThresholdBackWhereverItLies) {
    for (int threshold = -100; threshold <= 0; threshold += 5) {
        const ThresholdSearch search = searched(fixedListener(threshold));
        if (threshold == -100) {
            EXPECT_EQ(search.outcome(), ThresholdOutcome::HeardAtLowest);
        } else {
            ASSERT_EQ(search.outcome(), ThresholdOutcome::Found) << threshold;
        }
        EXPECT_EQ(search.threshold(), threshold);
        EXPECT_LE(search.tones(), 20) << threshold;
    }
}

TEST(ThresholdSearch, FollowsTheModifiedHughsonWestlakeSteps) {
    // -50 dBFS: heard at -30, -40, -50; then down 10 and up 5 twice until heard on a second ascent.
    ThresholdSearch search;
    std::vector<int> levels;
    while (!search.done()) {
        levels.push_back(search.level());
        search.answer(search.level() >= -50);
    }
    EXPECT_EQ(levels, (std::vector<int>{-30, -40, -50, -60, -55, -50, -60, -55, -50}));
    EXPECT_EQ(search.threshold(), -50);
}

TEST(ThresholdSearch, ListenersWhoAlwaysOrNeverHearEndAndAreReported) {
    const ThresholdSearch always = searched([](int) { return true; });
    EXPECT_EQ(always.outcome(), ThresholdOutcome::HeardAtLowest);
    EXPECT_EQ(always.threshold(), -100);
    EXPECT_LE(always.tones(), 12);

    const ThresholdSearch never = searched([](int) { return false; });
    EXPECT_EQ(never.outcome(), ThresholdOutcome::NotHeardAtHighest);
    EXPECT_EQ(never.threshold(), 0);
    EXPECT_LE(never.tones(), 10);
}

TEST(ThresholdSearch, AnAnswerThatFollowsNoLevelEndsWithinTheTonesAllowed) {
    // Heard on every other tone whatever the level: no level is heard on two ascents out of three or four.
    int tone = 0;
    const ThresholdSearch alternating = searched([&tone](int) { return tone++ % 2 == 0; });
    EXPECT_TRUE(alternating.done());
    EXPECT_LE(alternating.tones(), ThresholdLimits{}.maxTones);
    std::mt19937 coin(7);
    const ThresholdSearch random = searched([&coin](int) { return coin() % 2 == 0; });
    EXPECT_TRUE(random.done());
    EXPECT_LE(random.tones(), ThresholdLimits{}.maxTones);
}

TEST(ThresholdSearch, ANoisyListenerIsFoundWithinFiveDbNineTimesInTenAndNeverTwoStepsOff) {
    int within = 0, searches = 0, tones = 0;
    for (const double threshold : {-80.0, -62.0, -50.0, -40.0, -23.0}) {
        for (unsigned seed = 1; seed <= 40; ++seed) {
            const ThresholdSearch search = searched(noisyListener(threshold, seed));
            ASSERT_TRUE(search.done());
            ++searches;
            tones += search.tones();
            if (search.outcome() == ThresholdOutcome::Found && std::abs(search.threshold() - threshold) <= 5.0)
                ++within;
            EXPECT_EQ(search.outcome(), ThresholdOutcome::Found) << threshold << ", seed " << seed;
            // Two steps off at most: the 5 dB grid and a listener unsure a few dB above the threshold.
            EXPECT_LE(std::abs(search.threshold() - threshold), 10.0) << threshold << ", seed " << seed;
        }
    }
    std::printf("noisy listener: %d of %d searches within 5 dB, %.1f tones each\n", within, searches,
                double(tones) / searches);
    EXPECT_GE(within, searches * 90 / 100);
}

TEST(ThresholdSearch, BothEarsAtNineFrequenciesTakeUnderTenMinutesOfAnswers) {
    // A typical listener: -50 dBFS in the left ear, -40 in the right, the same at every frequency.
    double seconds = 0;
    int tones = 0;
    for (const int threshold : {-40, -50}) {
        for (int frequency = 0; frequency < 9; ++frequency) {
            const ThresholdSearch search = searched(fixedListener(threshold));
            EXPECT_EQ(search.threshold(), threshold);
            tones += search.tones();
            seconds += answeringSeconds(fixedListener(threshold), search);
        }
    }
    std::printf("both ears at nine frequencies: %d tones, %.0f s of answers\n", tones, seconds);
    EXPECT_LT(seconds, 600.0);
}

} // namespace tonara::test
