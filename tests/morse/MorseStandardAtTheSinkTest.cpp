// Standard keying through the real audio output, recorded at the sound
// server's sink: read back by multimon-ng, every tone and gap timed against
// the plan, and the spectrum of the keying. The 200-character message is
// heard at the sink by bench/morse_sink_bench (beside paplay), and read back
// from the saved file in Form4StandardTest.
#include "AudioOutput.h"
#include "CwDecoder.h"
#include "Form4.h"
#include "KeyingPlan.h"
#include "MorseTexts.h"
#include "ProgramRig.h"
#include "SinkRecording.h"
#include "TestedPlatform.h"
#include "ToneAnalysis.h"

#include <QLineEdit>
#include <QRadioButton>
#include <QSpinBox>
#include <gtest/gtest.h>
#include <algorithm>
#include <cmath>
#include <iostream>
#include <numbers>

namespace tonara::test {

namespace {

constexpr int kPitch = 700;

// The tone's level frame by frame: the recording mixed down with the
// pitch and averaged over 10 ms, seven whole periods, which removes the
// mixing's own product. A linear, centred average moves no half-level
// crossing of a ramp that is as steep falling as rising.
std::vector<double> toneLevel(const std::vector<std::int16_t>& samples, int rate) {
    const double w = 2 * std::numbers::pi * kPitch / rate;
    const size_t window = size_t(rate / 100);
    std::vector<double> i(samples.size()), q(samples.size());
    for (size_t n = 0; n < samples.size(); ++n) {
        i[n] = samples[n] * std::cos(w * double(n));
        q[n] = samples[n] * std::sin(w * double(n));
    }
    std::vector<double> level(samples.size(), 0.0);
    double si = 0, sq = 0;
    for (size_t n = 0; n < samples.size(); ++n) {
        si += i[n];
        sq += q[n];
        if (n >= window) {
            si -= i[n - window];
            sq -= q[n - window];
        }
        if (n + 1 >= window) level[n + 1 - window / 2 - 1] = 2 * std::hypot(si, sq) / double(window);
    }
    return level;
}

struct Edge {
    double frame; // where the level crosses half of its top, between frames
    bool rising;
};

std::vector<Edge> halfLevelEdges(const std::vector<double>& level) {
    const double half = *std::max_element(level.begin(), level.end()) / 2;
    std::vector<Edge> edges;
    for (size_t n = 1; n < level.size(); ++n) {
        const bool above = level[n] >= half, before = level[n - 1] >= half;
        if (above == before) continue;
        edges.push_back({double(n - 1) + (half - level[n - 1]) / (level[n] - level[n - 1]), above});
    }
    return edges;
}

class MorseStandardAtTheSink : public ::testing::Test, protected LogicRig {
protected:
    void SetUp() override {
        if (!soundServerReachable()) GTEST_SKIP() << kNoSoundServer;
        setPlatform(&platform_);
        main.vars.bit = "128";
        main.vars.lang = "en";
        AudioOutput::instance().deviceInfo();
    }

    std::string serverMissed_; // by the last key(): SinkRecorder::serverFellBehind

    // Keys the message in Standard timing; the recording from the press on.
    std::vector<std::int16_t> key(const QString& message, int wpm) {
        Form4 morse(main);
        morse.loadHandler();
        morse.show();
        control<QRadioButton>(morse, form4::Standard).setChecked(true);
        control<QSpinBox>(morse, form4::Wpm).setValue(wpm);
        control<QSpinBox>(morse, form4::CharacterWpm).setValue(wpm);
        control<QSpinBox>(morse, form4::RiseTime).setValue(kDefaultRiseMs);
        control<QLineEdit>(morse, form4::Text1).setText(message);
        control<QLineEdit>(morse, form4::Text3).setText(QString::number(kPitch));
        SinkRecorder recorder;
        QString why;
        EXPECT_TRUE(recorder.start(why)) << why.toStdString();
        const long underrunsBefore = AudioOutput::instance().underruns();
        const qint64 pressed = recorder.position();
        morse.playClicked();
        recorder.keepRecording(400);
        const long underruns = AudioOutput::instance().underruns() - underrunsBefore;
        EXPECT_EQ(underruns, 0) << "the sound server ran out of the message " << underruns << " times";
        std::vector<std::int16_t> all = recorder.stop();
        serverMissed_ = recorder.serverFellBehind(pressed);
        return {all.begin() + std::min<qint64>(pressed, qint64(all.size())), all.end()};
    }

    // Every tone and gap against the plan; the worst difference in ms.
    static double worstTimingError(const std::vector<std::int16_t>& heard, const KeyingPlan& plan) {
        const std::vector<Edge> edges = halfLevelEdges(toneLevel(heard, kSinkRate));
        std::vector<double> wanted; // the lengths between successive edges
        bool first = true;
        for (size_t i = 0; i + 1 < plan.spans.size(); ++i) {
            if (first && !plan.spans[i].tone) continue;
            first = false;
            wanted.push_back(plan.spans[i].ms);
        }
        EXPECT_EQ(edges.size(), wanted.size() + 1) << "tones heard apart, none lost, none split";
        if (edges.size() != wanted.size() + 1) reportSpans(edges);
        if (edges.size() != wanted.size() + 1 || edges.empty() || !edges.front().rising) return 1e9;
        double worst = 0;
        for (size_t k = 0; k < wanted.size(); ++k) {
            const double ms = (edges[k + 1].frame - edges[k].frame) * 1000.0 / kSinkRate;
            worst = std::max(worst, std::abs(ms - wanted[k]));
        }
        return worst;
    }

    // Where a tone was split or a blip heard: every span between two edges.
    static void reportSpans(const std::vector<Edge>& edges) {
        std::cout << "[ measured ] what was heard (ms), tones and [silences]:";
        for (size_t k = 0; k + 1 < edges.size(); ++k) {
            const double ms = (edges[k + 1].frame - edges[k].frame) * 1000.0 / kSinkRate;
            if (edges[k].rising) std::cout << " " << ms;
            else std::cout << " [" << ms << "]";
        }
        std::cout << std::endl;
    }

private:
    TestedPlatform platform_;
};

} // namespace

TEST_F(MorseStandardAtTheSink, EveryToneAndGapIsWithinAMillisecondOfTheTableAndReadsBack) {
    for (const int wpm : {15, 20, 30}) {
        SCOPED_TRACE(testing::Message() << wpm << " WPM");
        const std::vector<std::int16_t> heard = key(kParisText, wpm);
        if (!serverMissed_.empty()) GTEST_SKIP() << serverMissed_;
        const StandardTiming timing = standardTiming({wpm, wpm});
        const double worst = worstTimingError(heard, standardPlan(kParisText, timing));
        report("PARIS PARIS TEST 73 at " + std::to_string(wpm) + " WPM, worst tone or gap against the table", worst, "ms");
        EXPECT_LE(worst, 1.0);
        const CwDecoding decoded = decodeCw(heard, kSinkRate, timing.unitMs);
        ASSERT_TRUE(decoded.error.isEmpty()) << decoded.error.toStdString();
        EXPECT_EQ(cwNormalised(decoded.text).toStdString(), kParisText.toStdString());
    }
}

TEST_F(MorseStandardAtTheSink, TheKeyingAt20WpmIs40DbDownAt150Hz) {
    const std::vector<std::int16_t> heard = key(kParisText + " " + kParisText, 20);
    if (!serverMissed_.empty()) GTEST_SKIP() << serverMissed_;
    std::vector<double> samples(heard.begin(), heard.end());
    const KeyedSpectrum spectrum = keyedSpectrum(samples, kSinkRate, kPitch);
    report("keying at 20 WPM, rise 5 ms: strongest at 150 Hz or more from the tone", spectrum.worstDbAt150, "dB");
    report("keying at 20 WPM, rise 5 ms: bandwidth at -40 dB", spectrum.bandwidthHz40, "Hz");
    EXPECT_LE(spectrum.worstDbAt150, -40.0);
}

} // namespace tonara::test
