// Morse keyed through the real audio output in sound mode 128, recorded at
// the sound server's sink: every element a separate tone of its own length.
#include "AudioOutput.h"
#include "FakePlatform.h"
#include "Form4.h"
#include "ProgramRig.h"
#include "TestedPlatform.h"
#include "SinkRecording.h"

#include <QLineEdit>
#include <gtest/gtest.h>
#include <algorithm>
#include <iostream>

namespace tonara::test {

namespace {

constexpr int kThreshold = 15000; // half the tone's amplitude
// Inside a 700 Hz tone the signal stays below half its amplitude for 0.24 ms
// around each zero crossing, and in its fade for up to half a cycle (0.71 ms)
// between peaks; the dip between two tones keys lasts 2 ms or more.
const qint64 kMinGapFrames = kSinkRate / 1000;
// Far above one tone at full amplitude, far below two summed ones.
constexpr int kMaxPeak = 31000;

// Stretches at or above the threshold, split wherever the signal stays below it for kMinGapFrames.
std::vector<ToneSpan> separateTones(const std::vector<std::int16_t>& samples, qint64 from) {
    std::vector<ToneSpan> tones;
    for (qint64 i = from; i < qint64(samples.size()); ++i) {
        if (std::abs(int(samples[size_t(i)])) < kThreshold) continue;
        if (tones.empty() || i - tones.back().offset > kMinGapFrames) tones.push_back({i, i});
        tones.back().offset = i;
    }
    return tones;
}

class MorseAtTheSink : public ::testing::Test, protected LogicRig {
protected:
    void SetUp() override {
        if (!soundServerReachable()) GTEST_SKIP() << kNoSoundServer;
        setPlatform(&platform_); // in place of the fake that the folders came with
        main.vars.bit = "128";
        main.vars.lang = "en";
        AudioOutput::instance().deviceInfo(); // a busy sink hands out its monitor in small blocks
    }
    // Keys the message at speed 0 and pitch 700; the tones heard and the loudest sample.
    std::vector<ToneSpan> key(const QString& message) {
        Form4 morse(main);
        morse.loadHandler();
        morse.show();
        control<QLineEdit>(morse, form4::Text1).setText(message);
        QString why;
        EXPECT_TRUE(recorder_.start(why)) << why.toStdString();
        const qint64 pressed = recorder_.position();
        morse.playClicked();
        recorder_.keepRecording(300);
        samples_ = recorder_.stop();
        return separateTones(samples_, pressed);
    }

    void expectCleanTones(const std::vector<ToneSpan>& tones) {
        for (const ToneSpan& t : tones) {
            EXPECT_NEAR(measuredHz(samples_, t.onset + framesOf(10), t.offset - framesOf(10)), 700.0, 2.0);
            EXPECT_LE(peakBetween(samples_, t.onset, t.offset + 1), kMaxPeak) << "clipped or summed";
        }
    }

    static void report(const std::vector<ToneSpan>& tones) {
        std::cout << "[ measured ] tones (ms) and the silences between them (ms):";
        for (size_t i = 0; i < tones.size(); ++i) {
            if (i > 0) std::cout << " [" << msOf(tones[i].onset - tones[i - 1].offset) << "]";
            std::cout << " " << tones[i].ms();
        }
        std::cout << std::endl;
    }

    std::vector<std::int16_t> samples_;
    SinkRecorder recorder_;

private:
    TestedPlatform platform_;
};

} // namespace

TEST_F(MorseAtTheSink, SosAtSpeed0IsNineSeparateTonesWith95MsBetweenLetters) {
    const std::vector<ToneSpan> tones = key("SOS");
    SKIP_WHERE_THE_SERVER_FELL_BEHIND(recorder_);
    report(tones);
    ASSERT_EQ(tones.size(), 9u) << "the elements of a letter ran together";
    // Each element to the half of its fade (2 ms), to the millisecond; the
    // output's gap between two elements short, never nothing, and even.
    const double lengths[] = {100, 100, 100, 200, 200, 200, 100, 100, 100};
    std::vector<double> gaps;
    for (size_t i = 0; i < tones.size(); ++i) {
        EXPECT_NEAR(tones[i].ms(), lengths[i] + 2, 1.0) << "element " << i + 1;
        if (i % 3 != 0) gaps.push_back(msOf(tones[i].onset - tones[i - 1].offset));
    }
    const auto [shortest, longest] = std::minmax_element(gaps.begin(), gaps.end());
    EXPECT_GT(*shortest, 1.0);
    EXPECT_LT(*longest, 10.0);
    EXPECT_LE(*longest - *shortest, 4.0);
    for (size_t letterStart : {3, 6}) {
        const double silence = msOf(tones[letterStart].onset - tones[letterStart - 1].offset);
        EXPECT_GE(silence, 90.0) << "before element " << letterStart + 1;
        EXPECT_LE(silence, 95.0 + 40.0) << "before element " << letterStart + 1;
    }
    expectCleanTones(tones);
}

TEST_F(MorseAtTheSink, ASpaceKeepsTwoLettersAbout690MsApart) {
    const std::vector<ToneSpan> tones = key("a b");
    SKIP_WHERE_THE_SERVER_FELL_BEHIND(recorder_);
    report(tones);
    ASSERT_EQ(tones.size(), 6u);
    const double silence = msOf(tones[2].onset - tones[1].offset);
    EXPECT_GE(silence, 685.0);
    EXPECT_LE(silence, 690.0 + 40.0);
    expectCleanTones(tones);
}

} // namespace tonara::test
