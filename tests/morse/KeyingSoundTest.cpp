// The rendered message: every edge where the plan puts it, to the frame, and
// rises and falls with no step larger than the tone's own.
#include "KeyingSound.h"
#include "ToneAnalysis.h"

#include <gtest/gtest.h>
#include <cmath>
#include <iostream>
#include <numbers>

namespace tonara::test {

namespace {

constexpr double kAmplitude = 30000.0 / 32768.0;

// Frames at or above half level, as runs [first, last].
std::vector<std::pair<std::int64_t, std::int64_t>> halfLevelRuns(const std::vector<float>& gain) {
    std::vector<std::pair<std::int64_t, std::int64_t>> runs;
    for (std::int64_t n = 0; n < std::int64_t(gain.size()); ++n) {
        if (gain[size_t(n)] < 0.5f) continue;
        if (runs.empty() || runs.back().second != n - 1) runs.push_back({n, n});
        runs.back().second = n;
    }
    return runs;
}

} // namespace

TEST(KeyingSound, EveryToneAndGapLastsItsTimeToTheFrame) {
    const KeyingPlan plan = standardPlan("PARIS <AR>", standardTiming({20, 20}));
    for (const int rate : {44100, 48000, 96000}) {
        for (const int rise : {1, 5, 10}) {
            SCOPED_TRACE(testing::Message() << rate << " Hz, rise " << rise << " ms");
            const std::vector<float> gain = keyingEnvelope(plan, rate, rise);
            const int riseFrames = keyingRampFrames(rate, rise);
            EXPECT_EQ(std::int64_t(gain.size()), std::llround(plan.totalMs() * rate / 1000.0) + riseFrames);
            const auto runs = halfLevelRuns(gain);
            std::vector<std::pair<std::int64_t, std::int64_t>> expected;
            for (size_t i = 0; i < plan.spans.size(); ++i)
                if (plan.spans[i].tone)
                    expected.push_back({spanStartFrame(plan, i, rate, rise), spanStartFrame(plan, i + 1, rate, rise) - 1});
            EXPECT_EQ(runs, expected);
            // At 48 kHz a unit of 60 ms is 2880 frames exactly.
            if (rate == 48000) {
                EXPECT_EQ(runs[0].second - runs[0].first + 1, 2880);
            }
            EXPECT_LT(gain.front(), 1e-3f) << "from silence";
            EXPECT_LT(gain.back(), 1e-3f) << "to silence";
        }
    }
}

TEST(KeyingSound, RisesAndFallsStepNoMoreThanTheToneItself) {
    const int rate = 48000;
    for (const int pitch : {500, 700, 1000, 3000}) {
        for (const int rise : {1, 2, 5, 10}) {
            SCOPED_TRACE(testing::Message() << pitch << " Hz, rise " << rise << " ms");
            const KeyingPlan plan = standardPlan("SOS", standardTiming({60, 60}));
            const auto sound = renderKeying(plan, pitch, rate, rise);
            ASSERT_EQ(sound->rate, rate);
            const std::vector<float>& s = sound->samples;
            // The largest step between two samples of the sine at full level.
            const double sineStep = 2 * kAmplitude * std::sin(std::numbers::pi * pitch / rate);
            double worst = 0, peak = 0;
            for (size_t n = 1; n < s.size() / 2; ++n) {
                worst = std::max(worst, double(std::abs(s[2 * n] - s[2 * n - 2])));
                peak = std::max(peak, double(std::abs(s[2 * n])));
                ASSERT_EQ(s[2 * n], s[2 * n + 1]) << "both channels alike";
            }
            EXPECT_LE(worst, sineStep * 1.0001);
            EXPECT_GT(worst, sineStep * 0.9) << "the tone itself is there";
            EXPECT_NEAR(peak, kAmplitude, 0.002);
        }
    }
}

TEST(KeyingSound, TheEnvelopeIsSmoothAndMirrored) {
    const KeyingPlan plan = standardPlan("T", standardTiming({20, 20}));
    const std::vector<float> gain = keyingEnvelope(plan, 48000, 5);
    const int rise = keyingRampFrames(48000, 5);
    EXPECT_EQ(rise, 406) << "5 ms from 10 % to 90 % is a ramp of 8.47 ms";
    // Measured on the envelope: the first frames at or above 10 % and 90 %.
    int tenth = 0, ninth = 0;
    while (gain[size_t(tenth)] < 0.1f) ++tenth;
    while (gain[size_t(ninth)] < 0.9f) ++ninth;
    EXPECT_NEAR((ninth - tenth) / 48.0, 5.0, 0.03);
    // The dash's edge at half level, plus the fall's half after it.
    const std::int64_t fallEnd = spanStartFrame(plan, 1, 48000, 5) + rise / 2;
    EXPECT_EQ(fallEnd, rise / 2 + 3 * 2880 + rise / 2);
    EXPECT_LT(gain[size_t(fallEnd)], 1e-9f);
    // Rise: 0 → 1 over 240 frames, no step larger than the raised cosine's own slope.
    for (int k = 0; k < rise; ++k) {
        EXPECT_NEAR(gain[size_t(k)], 0.5 * (1 - std::cos(std::numbers::pi * (k + 0.5) / rise)), 1e-6);
        EXPECT_FLOAT_EQ(gain[size_t(k)], gain[size_t(fallEnd - 1 - k)]) << "the fall mirrors the rise";
    }
    EXPECT_EQ(gain[size_t(rise)], 1.0f);
}

TEST(KeyingSound, ATooShortToneStillFallsToSilence) {
    // A Classic element far shorter than its rise never reaches full level, and never steps.
    const KeyingPlan plan{{{false, 20}, {true, 1}, {false, 75}}, {}};
    const std::vector<float> gain = keyingEnvelope(plan, 48000, 10);
    float top = 0;
    for (size_t n = 1; n < gain.size(); ++n) {
        top = std::max(top, gain[n]);
        EXPECT_LT(std::abs(gain[n] - gain[n - 1]), 0.01f);
    }
    EXPECT_GT(top, 0.0f);
    EXPECT_LT(top, 0.7f) << "the rise and fall overlap: never full level";
    EXPECT_LT(gain.back(), 1e-3f);
}

TEST(KeyingSound, TheKeyedSpectrumStaysNarrow) {
    // Without the raised cosine (a rise of one frame pair) the keying clicks
    // far outside the band; with the default rise it keeps within ±150 Hz.
    const KeyingPlan plan = standardPlan("PARIS PARIS TEST 73 PARIS PARIS TEST 73", standardTiming({20, 20}));
    auto spectrumOf = [&](double riseMs) {
        const auto sound = renderKeying(plan, 700, 48000, riseMs);
        std::vector<double> left(size_t(sound->frameCount()));
        for (size_t n = 0; n < left.size(); ++n) left[n] = sound->samples[2 * n];
        return test::keyedSpectrum(left, 48000, 700);
    };
    const test::KeyedSpectrum shaped = spectrumOf(kDefaultRiseMs);
    std::cout << "[ measured ] rendered at 20 WPM, rise 5 ms: worst at ±150 Hz " << shaped.worstDbAt150
              << " dB, -40 dB bandwidth " << shaped.bandwidthHz40 << " Hz" << std::endl;
    EXPECT_LE(shaped.worstDbAt150, -40);
    EXPECT_GT(spectrumOf(0.01).worstDbAt150, -40) << "hard keying is wide: the measure can fail";
}

} // namespace tonara::test
