// The sink tests' verdicts are only as good as the code that measures the
// recordings: each measure against synthetic signals whose answer is known.

#include "MissedCycles.h"
#include "SinkRecording.h"
#include "ToneAnalysis.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

namespace tonara::test {
namespace {

constexpr double kTwoPi = 2 * std::numbers::pi;

std::vector<double> sine(double hz, double amplitude, int rate, int frames, double phase = 0) {
    std::vector<double> x(static_cast<size_t>(frames));
    for (int i = 0; i < frames; ++i) x[size_t(i)] = amplitude * std::sin(kTwoPi * hz * i / rate + phase);
    return x;
}

// A recording: silence, then each (hz, ms) piece starting at phase 0, at the sink's rate.
std::vector<std::int16_t> recording(std::initializer_list<std::pair<double, double>> pieces, double amplitude = 20000) {
    std::vector<std::int16_t> out;
    for (const auto& [hz, ms] : pieces) {
        const int frames = int(std::lround(ms * kSinkRate / 1000.0));
        for (int i = 0; i < frames; ++i)
            out.push_back(std::int16_t(hz > 0 ? std::lround(amplitude * std::sin(kTwoPi * hz * i / kSinkRate)) : 0));
    }
    return out;
}

struct PureSineCase {
    double hz, amplitude;
    int rate;
};

TEST(AnalyseTone, FindsPitchAndLevelOfAPureSineAndNothingBeside) {
    for (const PureSineCase& c : std::vector<PureSineCase>{{440, 0.5, 48000},
                                                           {1000.3, 10000, 48000},
                                                           {15000, 20000, 48000},
                                                           {21500, 0.25, 96000},
                                                           {50, 1.0, 44100}}) {
        SCOPED_TRACE(c.hz);
        const TonePurity purity = analyseTone(sine(c.hz, c.amplitude, c.rate, c.rate / 2, 0.7), c.rate, c.hz + 0.5);
        EXPECT_NEAR(purity.hz, c.hz, 0.001);
        EXPECT_NEAR(purity.amplitude / c.amplitude, 1.0, 1e-6);
        EXPECT_LT(purity.worstSpuriousDbc, -120);
    }
}

TEST(AnalyseTone, NamesAHarmonicAndAClickBesideTheTone) {
    const int rate = 48000;
    std::vector<double> x = sine(1000, 1.0, rate, rate / 2);
    const std::vector<double> third = sine(3000, 0.001, rate, rate / 2); // -60 dBc
    for (size_t i = 0; i < x.size(); ++i) x[i] += third[i];
    TonePurity purity = analyseTone(x, rate, 1000);
    EXPECT_NEAR(purity.worstSpuriousDbc, -60, 0.5);
    EXPECT_NEAR(purity.worstSpuriousHz, 3000, 4);

    std::vector<double> clicked = sine(1000, 1.0, rate, rate / 2);
    clicked[12000] += 0.5;
    purity = analyseTone(clicked, rate, 1000);
    EXPECT_GT(purity.worstSpuriousDbc, -100);
    EXPECT_LT(purity.worstSpuriousDbc, -40);
}

TEST(StrongestComponent, IsTheLouderOfTwoSinesAtItsLevel) {
    const int rate = 48000;
    std::vector<double> x = sine(2500, 0.25, rate, rate);
    const std::vector<double> quieter = sine(7000, 0.05, rate, rate);
    for (size_t i = 0; i < x.size(); ++i) x[i] += quieter[i];
    const Component c = strongestComponent(x, rate);
    EXPECT_NEAR(c.hz, 2500, 1);
    EXPECT_NEAR(c.amplitude, 0.25, 0.25 * 0.005);
    EXPECT_EQ(strongestComponent(std::vector<double>(4800, 0.0), rate).amplitude, 0.0);
}

TEST(KeyedSpectrum, HardKeyingIsWideAndASteadyToneNarrow) {
    const int rate = 48000;
    const std::vector<double> steady = sine(700, 0.5, rate, rate * 2);
    std::vector<double> hardKeyed = steady;
    for (size_t i = 0; i < hardKeyed.size(); ++i)
        if ((i / 2400) % 2) hardKeyed[i] = 0; // on and off every 50 ms, cut at any phase
    const KeyedSpectrum narrow = keyedSpectrum(steady, rate, 700);
    const KeyedSpectrum wide = keyedSpectrum(hardKeyed, rate, 700);
    EXPECT_LT(narrow.worstDbAt150, -80);
    EXPECT_LT(narrow.bandwidthHz40, 40);
    EXPECT_GT(wide.worstDbAt150, -50);
    EXPECT_GT(wide.bandwidthHz40, 300);
}

TEST(LevelDb, IsTwentyLogOfTheRatio) {
    EXPECT_NEAR(levelDb(0.5, 1), -6.0206, 1e-4);
    EXPECT_NEAR(levelDb(1000, 10), 40, 1e-9);
    EXPECT_DOUBLE_EQ(levelDb(3, 3), 0);
}

TEST(FindTone, SpansTheLoudPartAndHonoursItsLimits) {
    // 100 ms silence, 50 ms of 1000 Hz, 100 ms silence, 50 ms of 1000 Hz.
    const std::vector<std::int16_t> x = recording({{0, 100}, {1000, 50}, {0, 100}, {1000, 50}});
    const qint64 first = framesOf(100), second = framesOf(250), period = kSinkRate / 1000;
    const ToneSpan all = findTone(x, 15000);
    ASSERT_TRUE(all.found());
    EXPECT_GE(all.onset, first);
    EXPECT_LT(all.onset, first + period);
    EXPECT_GT(all.offset, second + framesOf(50) - period);

    const ToneSpan one = findTone(x, 15000, 0, framesOf(200));
    EXPECT_LT(one.offset, first + framesOf(50));
    EXPECT_NEAR(one.ms(), 50, 1.0);
    const ToneSpan later = findTone(x, 15000, framesOf(160));
    EXPECT_GE(later.onset, second);
    EXPECT_FALSE(findTone(x, 15000, framesOf(160), second).found()); // the gap
    EXPECT_FALSE(findTone(x, 20001).found());                        // above the peak
}

TEST(MeasuredHz, CountsUpwardCrossingsOverASecondToAHundredthOfAHertzBelowTheTopOctave) {
    // A crossing is placed on a straight line between two samples: near the
    // top of the band, a few samples to a period, that is off by a fraction
    // of a sample, and the first and last crossings decide.
    const struct {
        double hz, ms, tolerance;
    } cases[] = {{20, 1000, 0.01},   {440, 1000, 0.01},   {1234.5, 1000, 0.01}, {10000, 1000, 0.1},
                 {19999, 1000, 0.1}, {1000, 50, 0.5}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.hz);
        const std::vector<std::int16_t> x = recording({{c.hz, c.ms}});
        EXPECT_NEAR(measuredHz(x, 0, qint64(x.size())), c.hz, c.tolerance);
    }
    const std::vector<std::int16_t> silence = recording({{0, 100}});
    EXPECT_EQ(measuredHz(silence, 0, qint64(silence.size())), 0.0);
}

TEST(PeakBetween, IsTheLargestMagnitudeInTheRange) {
    std::vector<std::int16_t> x = recording({{500, 100}}, 12000);
    EXPECT_NEAR(peakBetween(x, 0, qint64(x.size())), 12000, 1);
    x[100] = -30000; // a click
    EXPECT_EQ(peakBetween(x, 0, qint64(x.size())), 30000);
    EXPECT_LT(peakBetween(x, 101, qint64(x.size())), 12001);
    EXPECT_EQ(samplesBetween(x, 98, 102).size(), 4u);
    EXPECT_EQ(samplesBetween(x, 98, 102)[2], -30000.0);
}

TEST(AmplitudeAt, ReadsEachComponentOfAMixtureAndNothingOfAnAbsentOne) {
    // 1000 Hz at 12000 and 3000 Hz at 300 together, and a pitch not there.
    std::vector<std::int16_t> x = recording({{1000, 200}}, 12000);
    const std::vector<std::int16_t> small = recording({{3000, 200}}, 300);
    for (size_t i = 0; i < x.size(); ++i) x[i] = std::int16_t(x[i] + small[i]);
    const qint64 n = qint64(x.size());
    EXPECT_NEAR(amplitudeAt(x, 0, n, 1000), 12000, 2);
    EXPECT_NEAR(amplitudeAt(x, 0, n, 3000), 300, 2);
    EXPECT_LT(amplitudeAt(x, 0, n, 2000), 2);
    EXPECT_LT(amplitudeAt(recording({{0, 200}}), 0, n, 1000), 1e-9); // silence
    EXPECT_EQ(amplitudeAt(x, 0, 10, 1000), 0.0);                     // less than a period
    EXPECT_NEAR(amplitudeAt(x, n / 2, n + 1000, 1000), 12000, 2);    // an end past the samples
}

TEST(SweepSteps, FindsEachStepItsPitchAndOnset) {
    const std::vector<std::int16_t> x = recording({{0, 20}, {200, 50}, {400, 50}, {600, 50}, {0, 20}, {800, 50}});
    const std::vector<SweepStep> steps = sweepSteps(x, 0, 200);
    ASSERT_EQ(steps.size(), 4u);
    const int pitches[] = {200, 400, 600, 800};
    // After silence the first crossing from below is a period in; at a change of pitch it is the change.
    const double onsetsMs[] = {20 + 5, 70, 120, 190 + 1.25};
    for (size_t i = 0; i < steps.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(steps[i].pitch, pitches[i]);
        EXPECT_NEAR(steps[i].onset, double(framesOf(onsetsMs[i])), 1.5);
    }
    // A pitch off the grid (310 Hz) is no step.
    EXPECT_TRUE(sweepSteps(recording({{310, 100}}), 0, 200).empty());
}

// Lines as PipeWire 0.3.65's daemon writes them, among their neighbours.
TEST(FirstMissSince, IsTheOutputGraphsFirstMissLoggedFromTwoSecondsBeforeThatMomentOn) {
    const QByteArray log =
        "[I][13353.994675] pw.node      | [     impl-node.c: 1058 dump_states()] (parec-51) client too slow! "
        "rate:512/48000 pos:2204160 status:triggered\n"
        "[I][13354.000001] pw.node      | [     impl-node.c:  409 node_update_state()] (parec-51) running -> idle\n"
        "[I][13380.000100] pw.node      | [     impl-node.c: 1203 node_on_fd_events()] (tonara_mic-44) client missed 2 "
        "wakeups\n"
        "[I][13400.494663] pw.node      | [     impl-node.c: 1058 dump_states()] (tonara_mic-44) client too slow! "
        "rate:256/48000 pos:2501120 status:triggered\n"
        "[I][13400.646064] pw.node      | [     impl-node.c: 1058 dump_states()] (pacat-47) client too slow! "
        "rate:256/48000 pos:512256 status:triggered\n"
        "[I][13410.250000] pw.node      | [     impl-node.c: 1203 node_on_fd_events()] (tonara_out-43) client missed 1 "
        "wakeups\n"
        "[I][13429.1839] pw.node | (broken-1) client too slow! rate:512/48000\n"
        "[I][13429.183917] pw.node      | [     impl-node.c: 1058 dump_states()] (audio_tests_at_server-67) client "
        "too slow! rate:1024/96000 pos:5813248 status:awake\n";
    struct Case {
        std::int64_t sinceRawNs;
        std::int64_t rawNs; // of the miss found; 0 for none
        int quantum;
        const char* node;
    } const cases[] = {
        {0, 13353994675000, 512, "(parec-51)"},
        {13353994675000, 13353994675000, 512, "(parec-51)"}, // at that very moment
        // The daemon logs one miss per 2 s: one logged shortly before may hide more after it.
        {13355994675000, 13353994675000, 512, "(parec-51)"},
        // Past the microphone's misses, a node of the output's graph that woke too late.
        {13355994676000, 13410250000000, 0, "(tonara_out-43)"},
        {13412250000000, 13410250000000, 0, "(tonara_out-43)"},
        {13412250001000, 13429183917000, 1024, "(audio_tests_at_server-67)"},
        {13429183918000, 13429183917000, 1024, "(audio_tests_at_server-67)"},
        {13431183918000, 0, 0, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.sinceRawNs);
        const std::optional<MissedCycle> miss = firstMissSince(log, c.sinceRawNs);
        if (c.rawNs == 0) {
            EXPECT_FALSE(miss.has_value());
            continue;
        }
        ASSERT_TRUE(miss.has_value());
        EXPECT_EQ(miss->rawNs, c.rawNs);
        EXPECT_EQ(miss->quantum, c.quantum);
        EXPECT_NE(miss->line.find(c.node), std::string::npos);
    }
    EXPECT_FALSE(firstMissSince("", 0).has_value());
    // The microphone's graph counts its own chain's misses too.
    const std::optional<MissedCycle> micMiss = firstMissSince(log, 13355994676000, Graph::Microphone);
    ASSERT_TRUE(micMiss.has_value());
    EXPECT_EQ(micMiss->rawNs, 13380000100000);
    EXPECT_NE(micMiss->line.find("(tonara_mic-44) client missed"), std::string::npos);
    EXPECT_EQ(micMiss->quantum, 0);
}

} // namespace
} // namespace tonara::test
