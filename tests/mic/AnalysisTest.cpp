// What the microphone display measures, on synthetic signals: frequency
// and level, the trigger's start, the spectrum's peak, the remembered choices.
#include "AnalyserSettings.h"
#include "CapturedSamples.h"
#include "MicrophoneAnalyser.h"
#include "SpectrumDrawing.h"
#include "SyntheticHalves.h"
#include "Trigger.h"
#include "WaveDrawing.h"

#include <gtest/gtest.h>
#include <random>

namespace tonara::test {

namespace {

// Two halves into a fresh analyser: the first reading with a frequency.
MicrophoneReadings measured(const Signal& signal) {
    MicrophoneAnalyser analyser(kMicRate);
    analyser.add(half16(signal, 0), 16, 2);
    return analyser.add(half16(signal, kHalfFrames), 16, 2);
}

double db(double amplitude) { return 20 * std::log10(amplitude); }

} // namespace

TEST(MicrophoneMeasures, PureSinesFrom20HzTo20kHzReadTheirFrequencyAndLevel) {
    const double amplitude = 0.5; // -6.02 dBFS peak, -9.03 dBFS RMS
    for (const double hz : {20.0, 31.7, 100.0, 440.0, 443.0, 997.3, 1000.0, 4500.0, 10000.0, 12345.0, 16600.0,
                            20000.0}) {
        for (const double phase : {0.0, 1.1, 2.9}) {
            SCOPED_TRACE(testing::Message() << hz << " Hz, phase " << phase);
            const MicrophoneReadings r = measured(sine(hz, amplitude, phase));
            ASSERT_TRUE(r.hz.has_value());
            EXPECT_NEAR(*r.hz, hz, 0.05);
            // A half of 20 Hz holds two periods exactly; one of 31.7 Hz a part of one more.
            EXPECT_NEAR(r.level.rmsDb, db(amplitude) - db(std::sqrt(2.0)), hz < 40 ? 0.3 : 0.05);
            EXPECT_NEAR(r.level.peakDb, db(amplitude), 0.1);
        }
    }
}

TEST(MicrophoneMeasures, OtherSignalsReadTheirDominantFrequencyAndLevel) {
    std::mt19937 random(7);
    std::normal_distribution<double> noise(0, 0.01); // -40 dBFS RMS
    const auto noisy = [&](qint64 frame) { return sine(1234.5, 0.1)(frame) + noise(random); };
    const auto square = [](qint64 frame) { return sine(440, 1)(frame) >= 0 ? 0.5 : -0.5; };
    struct Case {
        const char* name;
        Signal signal;
        std::optional<double> hz;
        double hzTolerance;
        double rmsDb;
        std::optional<double> peakDb; // none: the noise decides it
        double dbTolerance;
    };
    const Case cases[] = {
        {"a sine 20 dB above white noise", noisy, 1234.5, 0.1, 10 * std::log10(0.005 + 0.0001), std::nullopt, 0.1},
        // The fundamental is the square's strongest component; its harmonics fold
        // back (nothing band-limits it), and the estimate must not follow them.
        {"a square wave", square, 440.0, 0.1, db(0.5), db(0.5), 0.01},
        {"silence", [](qint64) { return 0.0; }, std::nullopt, 0, -INFINITY, -INFINITY, 0},
        {"a full-scale sine", sine(1000, 1.0), 1000.0, 0.05, db(1 / std::sqrt(2.0)), 0.0, 0.05},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const MicrophoneReadings r = measured(c.signal);
        ASSERT_EQ(r.hz.has_value(), c.hz.has_value());
        if (c.hz) {
            EXPECT_NEAR(*r.hz, *c.hz, c.hzTolerance);
        }
        if (std::isfinite(c.rmsDb)) {
            EXPECT_NEAR(r.level.rmsDb, c.rmsDb, c.dbTolerance);
            if (c.peakDb) {
                EXPECT_NEAR(r.level.peakDb, *c.peakDb, c.dbTolerance);
            }
        } else {
            EXPECT_EQ(r.level.rmsDb, -INFINITY);
            EXPECT_EQ(levelText(r.level), "Level: silent");
        }
    }
}

TEST(MicrophoneMeasures, TheFirstHalfHasALevelButNoFrequencyYet) {
    MicrophoneAnalyser analyser(kMicRate);
    const MicrophoneReadings first = analyser.add(half16(sine(440, 0.5), 0), 16, 2);
    EXPECT_FALSE(first.hz.has_value()) << "half the window would still be the silence before";
    EXPECT_NEAR(first.level.peakDb, db(0.5), 0.01);
    // A different format starts afresh.
    EXPECT_FALSE(analyser.add(QByteArray(4410, char(0x80)), 8, 1).hz.has_value());
}

TEST(MicrophoneMeasures, ReadoutsReadAsTheLabelsShowThem) {
    EXPECT_EQ(frequencyText(440.04), "Frequency: 440.0 Hz");
    EXPECT_EQ(frequencyText(12344.96), "Frequency: 12345.0 Hz");
    EXPECT_EQ(frequencyText(std::nullopt), "Frequency: -");
    EXPECT_EQ(levelText({-9.031, -6.02}), "Level: -9.0 dBFS RMS, -6.0 dBFS peak");
    EXPECT_EQ(levelText({-93.3, -90.3}), "Level: -93.3 dBFS RMS, -90.3 dBFS peak");
}

TEST(MicrophoneMeasures, EightBitSamplesAreUnsignedAroundTheirMiddle) {
    const QByteArray bytes("\x80\x00\xff\x40", 4);
    EXPECT_EQ(allSamples(bytes, 8), (std::vector<float>{0.0f, -1.0f, 127.0f / 128, -0.5f}));
    EXPECT_EQ(channelSamples(bytes, 8, 2, 1), (std::vector<float>{-1.0f, -0.5f}));
    EXPECT_EQ(monoSamples(bytes, 8, 2), (std::vector<float>{-0.5f, (127.0f / 128 - 0.5f) / 2}));
    EXPECT_TRUE(allSamples(bytes, 24).empty());
}

TEST(Trigger, TheLastRisingCrossingNeedsTheValuesBelowTheHysteresisFirst) {
    struct Case {
        const char* name;
        std::vector<float> values;
        int latest;
        std::optional<int> start;
    };
    const Case cases[] = {
        {"one rise", {-0.5f, -0.2f, 0.0f, 0.3f}, 10, 2},
        {"the last of two rises", {-0.5f, 0.5f, -0.5f, 0.1f, 0.2f}, 10, 3},
        {"no later than latest", {-0.5f, 0.5f, -0.5f, 0.1f, 0.2f}, 2, 1},
        {"noise within the hysteresis never arms", {0.05f, -0.05f, 0.05f, -0.05f, 0.05f}, 10, std::nullopt},
        {"a fall is no rise", {0.5f, 0.2f, -0.5f, -0.6f}, 10, std::nullopt},
        {"nothing", {}, 10, std::nullopt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(lastRisingCrossing(c.values, c.latest, 0.1f), c.start);
    }
    EXPECT_FLOAT_EQ(triggerHysteresis(std::vector<float>{0.2f, -0.8f}), 0.04f);
    EXPECT_FLOAT_EQ(triggerHysteresis(std::vector<float>{0.0f}), 1.0f / 32768);
}

// Successive triggered pictures of a steady sine start at the same point
// of its period, to well within one of the picture's columns.
TEST(Trigger, ASteadySineStandsStillInEveryPicture) {
    const int widthPx = 177;
    const double framesPerColumn = kHalfFrames / 2.0 / widthPx;
    for (const double hz : {50.0, 443.0, 1000.0, 3001.0}) {
        SCOPED_TRACE(testing::Message() << hz << " Hz");
        const Signal signal = sine(hz, 0.5, 0.3);
        QByteArray previous = half16(signal, 0);
        std::optional<double> firstPhase;
        for (int h = 1; h <= 8; ++h) {
            const QByteArray current = half16(signal, qint64(h) * kHalfFrames);
            const QByteArray drawn = triggeredHalf(previous, current, 16, 2);
            ASSERT_EQ(drawn.size(), current.size());
            const qsizetype start = QByteArray(previous + current).indexOf(drawn.left(64));
            ASSERT_GE(start, 0);
            // Frame of previous + current, h - 1 halves on.
            const double frame = double(start / 4 + qint64(h - 1) * kHalfFrames);
            const double periods = frame * hz / kMicRate + 0.3 / (2 * std::numbers::pi);
            const double phase = periods - std::floor(periods);
            if (!firstPhase) firstPhase = phase;
            double apart = std::abs(phase - *firstPhase);
            apart = std::min(apart, 1 - apart);
            EXPECT_LT(apart * kMicRate / hz, framesPerColumn) << "picture " << h;
            // The drawing starts where the sine has just risen through zero: within one frame's rise.
            const double oneFrameRise = 32768 * 0.5 * 2 * std::numbers::pi * hz / kMicRate;
            const qint16 first = qFromLittleEndian<qint16>(drawn.constData());
            EXPECT_GE(first, 0);
            EXPECT_LE(first, oneFrameRise + 1);
            previous = current;
        }
    }
}

TEST(Trigger, WithNothingToTriggerOnThePictureIsTheHalfAsItIs) {
    const QByteArray silence(kHalfFrames * 4, '\0');
    const QByteArray current = half16(sine(440, 0.5), 0);
    EXPECT_EQ(triggeredHalf(silence, silence, 16, 2), silence);
    EXPECT_EQ(triggeredHalf(silence, current, 24, 2), current) << "a width the drawing does not draw";
    EXPECT_EQ(triggeredHalf(QByteArray(10, '\0'), current, 16, 2), current) << "halves of different sizes";
    // A mono picture draws every frame of its half: the last rise it can start
    // from lies a half before the end, in the previous half.
    const auto monoSquare = [](int firstFrame) {
        QByteArray mono(kHalfFrames * 2, '\0');
        for (int f = 0; f < kHalfFrames; ++f)
            qToLittleEndian(qint16((firstFrame + f) % 100 < 50 ? -1000 : 1000), mono.data() + 2 * f);
        return mono;
    };
    const QByteArray monoPrevious = monoSquare(0);
    const QByteArray mono = monoSquare(kHalfFrames);
    EXPECT_EQ(triggeredHalf(monoPrevious, mono, 16, 1), QByteArray(monoPrevious + mono).mid(2 * 4350, mono.size()));
    EXPECT_EQ(triggeredHalf(QByteArray(mono.size(), '\0'), mono, 16, 1), mono) << "no rise early enough";
}

TEST(Spectrum, ASinePeaksAtItsColumnWithItsLevel) {
    const int widthPx = 300;
    for (const double hz : {100.0, 1000.0, 1002.5, 10000.0}) {
        SCOPED_TRACE(testing::Message() << hz << " Hz");
        MicrophoneAnalyser analyser(kMicRate);
        const Signal signal = sine(hz, 0.1); // -20 dBFS
        for (int h = 0; h < 4; ++h) analyser.add(half16(signal, qint64(h) * kHalfFrames), 16, 2);
        const WavePicture p = analyser.spectrum(widthPx);
        EXPECT_EQ(p.right, widthPx);
        EXPECT_EQ(p.top, 0);
        EXPECT_EQ(p.bottom, -120);
        ASSERT_EQ(p.traces.size(), 1u);
        ASSERT_EQ(p.traces[0].points.size(), size_t(widthPx));
        const auto peak = std::max_element(p.traces[0].points.begin(), p.traces[0].points.end(),
                                           [](QPointF a, QPointF b) { return a.y() < b.y(); });
        EXPECT_NEAR(peak->x(), spectrumColumn(hz, kMicRate / 2.0, widthPx), 1.0);
        // On a bin (every 5 Hz) the level is exact; between two, a Hann window loses up to 1.42 dB.
        const bool onBin = std::fmod(hz, 5.0) == 0;
        EXPECT_NEAR(peak->y(), onBin ? -20 : -20.7, onBin ? 0.05 : 0.75);
        // Far from the tone the floor is 16-bit rounding, far below the tone.
        EXPECT_LT(p.traces[0].points.front().y(), -90);
        EXPECT_GE(p.traces[0].points.front().y(), -120);
    }
    EXPECT_DOUBLE_EQ(spectrumColumn(20, 22050, 300), 0);
    EXPECT_DOUBLE_EQ(spectrumColumn(22050, 22050, 300), 300);
}

TEST(Spectrum, TheAverageFollowsAChangeWithinAFewHalves) {
    MicrophoneAnalyser analyser(kMicRate);
    for (int h = 0; h < 4; ++h) analyser.add(half16(sine(1000, 0.1), qint64(h) * kHalfFrames), 16, 2);
    const double column = spectrumColumn(1000, kMicRate / 2.0, 300);
    const auto at1000 = [&] { return analyser.spectrum(300).traces[0].points[size_t(column)].y(); };
    EXPECT_NEAR(at1000(), -20, 0.1);
    const Signal silence = [](qint64) { return 0.0; };
    analyser.add(half16(silence, 0), 16, 2);
    const double afterOne = at1000();
    EXPECT_LT(afterOne, -21) << "lightly averaged: a new spectrum counts at once";
    EXPECT_GT(afterOne, -30) << "but the old one still counts";
    for (int h = 0; h < 8; ++h) analyser.add(half16(silence, 0), 16, 2);
    EXPECT_LT(at1000(), -40);
}

TEST(AnalyserSettings, WhatTheFileHoldsReadsAsChoicesOrDefaults) {
    struct Case {
        const char* text;
        AnalyserSettings settings;
    };
    const Case cases[] = {
        {"Trigger=y\r\nSpectrum=n\r\nInput=tonara_out.monitor\r\n", {true, false, "tonara_out.monitor"}},
        {"Spectrum=y\nTrigger=n\n", {false, true, ""}},
        {"Trigger=maybe\r\nInput=\r\n", {}},
        {"", {}},
        {"garbage\x01\xff\r\n=y\r\nInput", {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(parseAnalyserSettings(c.text), c.settings);
        EXPECT_EQ(parseAnalyserSettings(formatAnalyserSettings(c.settings)), c.settings) << "written and read back";
    }
    EXPECT_EQ(parseAnalyserSettings(QByteArray(5000, 'x') + "\nTrigger=y"), AnalyserSettings{}) << "not ours";
    const AnalyserSettings named{true, true, QString::fromUtf8("alsa_input.usb-Ünïcode")};
    EXPECT_EQ(parseAnalyserSettings(formatAnalyserSettings(named)), named);
}

} // namespace tonara::test
