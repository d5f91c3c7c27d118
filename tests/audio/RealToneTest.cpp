// Tones through the real audio output, recorded at the sound server's sink.
#include "AudioOutput.h"
#include "FakeMainWindow.h"
#include "FakePlatform.h"
#include "RuntimeError.h"
#include "SinkRecording.h"
#include "Sound.h"
#include "Synthesis.h"
#include "TestedPlatform.h"
#include "ToneAnalysis.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTimer>
#include <cmath>
#include <gtest/gtest.h>
#include <iostream>
#include <numbers>

using namespace tonara;
using namespace tonara::test;

namespace {

class RealTone : public ::testing::Test {
protected:
    void SetUp() override {
        if (!soundServerReachable())
            GTEST_SKIP() << kNoSoundServer;
        oldTemp_ = qgetenv("TEMP");
        qputenv("TEMP", QFile::encodeName(temp_.path()));
        setPlatform(&platform_);
        window.errorLeft = true; // a trapped failure ends the test instead of waiting
        // Open the output before recording, as the running program has it:
        // an idle sink hands its monitor out in long blocks.
        AudioOutput::instance().deviceSpec();
        QString why;
        ASSERT_TRUE(recorder.start(why)) << why.toStdString();
    }
    void TearDown() override {
        setPlatform(nullptr);
        if (!oldTemp_.isNull()) qputenv("TEMP", oldTemp_);
    }

    QString tempFile(const QString& name) const { return temp_.filePath(name); }

    TestedPlatform platform_;
    FakeMainWindow window;
    SinkRecorder recorder;

private:
    QTemporaryDir temp_;
    QByteArray oldTemp_;
};

} // namespace

TEST_F(RealTone, TheOutputIsOpenAtTheServersRateStereoWithSmallBuffers) {
    const AudioDeviceSpec spec = AudioOutput::instance().deviceSpec();
    std::cout << "[ measured ] device: " << spec.driver.toStdString() << ", " << spec.rate << " Hz, "
              << spec.channels << " channels, " << spec.format.toStdString() << ", " << spec.bufferFrames
              << " frames per buffer" << std::endl;
    ASSERT_TRUE(spec.open);
    EXPECT_EQ(spec.rate, kSinkRate);
    EXPECT_EQ(platform().outputRate(), kSinkRate);
    EXPECT_EQ(spec.channels, 2);
    EXPECT_LE(spec.bufferFrames * 1000 / spec.rate, 10) << "ms per buffer";
}

// What the preset modes play, as the hearing test needs it: full level and
// nothing beside the tone.
TEST_F(RealTone, EveryPresetPitchReachesTheSinkAtFullLevelAndPure) {
    for (const qint16 pitch : {1000, 4500, 10000, 16600, 21000}) {
        SCOPED_TRACE(pitch);
        const qint64 called = recorder.position();
        sound(window).SoundWinmmRNDTMP(pitch, 700);
        recorder.keepRecording(150);
        const std::vector<std::int16_t> got = recorder.samples();
        const ToneSpan tone = findTone(got, 15000, called);
        ASSERT_TRUE(tone.found()) << "nothing reached the sink";
        const TonePurity purity =
            analyseTone(samplesBetween(got, tone.onset + framesOf(100), tone.offset - framesOf(100)), kSinkRate, pitch);
        report(std::to_string(pitch) + " Hz amplitude", purity.amplitude, "");
        report(std::to_string(pitch) + " Hz worst spurious component", purity.worstSpuriousDbc,
               ("dBc at " + std::to_string(int(purity.worstSpuriousHz)) + " Hz").c_str());
        EXPECT_NEAR(purity.amplitude, 30000, 300);
        EXPECT_LT(purity.worstSpuriousDbc, -60.0) << "at " << purity.worstSpuriousHz << " Hz";
        EXPECT_LE(peakBetween(got, called, qint64(got.size())), 30300);
    }
}

TEST_F(RealTone, AContinuousToneSoundsUntilStopAndLeavesNoFile) {
    const qint64 called = recorder.position();
    qint64 stopped = -1;
    QTimer::singleShot(1500, [&] {
        stopped = recorder.position();
        window.vars.z = 1;
    });
    sound(window).SoundWinmmRND(1000);
    recorder.keepRecording(300);
    const std::vector<std::int16_t> got = recorder.stop();

    ASSERT_GE(stopped, 0) << "the wait loop never let the timer run";
    const ToneSpan tone = findTone(got, 15000, called);
    ASSERT_TRUE(tone.found()) << "nothing reached the sink";
    const qint64 steadyFrom = tone.onset + framesOf(100), steadyTo = tone.offset - framesOf(100);
    ASSERT_LT(steadyFrom, steadyTo);
    const double hz = measuredHz(got, steadyFrom, steadyTo);
    const int peak = peakBetween(got, steadyFrom, steadyTo);
    const double startLatency = msOf(tone.onset - called);
    const double stopLatency = msOf(tone.offset - stopped);
    report("continuous tone pitch", hz, "Hz");
    report("continuous tone peak", peak, "");
    report("start latency (call to sink)", startLatency, "ms");
    report("stop latency (z = 1 to silence at the sink)", stopLatency, "ms");

    EXPECT_NEAR(hz, 1000.0, 1.0);
    EXPECT_NEAR(peak, 30000, 300);
    // The loop waits out the period in progress; the output's own delay is
    // the start latency, so what is left must fit in one period (plus the
    // jitter of reading the recorder; a second period would add 100 ms).
    EXPECT_LE(stopLatency - startLatency, 100.0 + 25.0);
    EXPECT_GT(stopLatency, 0.0);
    EXPECT_FALSE(QFile::exists(tempFile("tnfwinmmtmp.wav")));
    EXPECT_EQ(window.statusText(1), "Actual pitch (Hertz): 1000");
}

TEST_F(RealTone, ATimedToneLastsItsDuration) {
    const qint64 called = recorder.position();
    sound(window).SoundWinmmRNDTMP(1000, 100);
    recorder.keepRecording(300);
    const std::vector<std::int16_t> got = recorder.stop();

    const ToneSpan tone = findTone(got, 15000, called);
    ASSERT_TRUE(tone.found()) << "nothing reached the sink";
    report("timed tone of 100 ms at the sink", tone.ms(), "ms");
    EXPECT_NEAR(tone.ms(), 100.0, 10.0);
    EXPECT_NEAR(measuredHz(got, tone.onset, tone.offset), 1000.0, 5.0);
    EXPECT_FALSE(QFile::exists(tempFile("tnfwinmmtmp.wav")));
}

// At 96 kHz it sounds; at 48 kHz it is filtered out rather than folded to 16 kHz.
TEST_F(RealTone, A32kHzToneReachesTheSinkAt32kHzOrNotAtAll) {
    const qint64 called = recorder.position();
    sound(window).SoundWinmmRNDTMP(32000, 400);
    recorder.keepRecording(300);
    const std::vector<std::int16_t> got = recorder.stop();

    const ToneSpan tone = findTone(got, 12000, called);
    if (kSinkRate <= 64000) {
        // The one-second loop's seam (its phase step is 0.01 rad at 32 kHz)
        // leaves a faint tick; an alias would be a full-level 16 kHz tone.
        const TonePurity alias = analyseTone(samplesBetween(got, called, qint64(got.size())), kSinkRate, 16000);
        report("16 kHz alias of a 32 kHz tone", alias.amplitude, "");
        EXPECT_LT(alias.amplitude, 3.0);
        EXPECT_LT(peakBetween(got, called, qint64(got.size())), 300);
        return;
    }
    ASSERT_TRUE(tone.found()) << "nothing reached the sink";
    const double hz = measuredHz(got, tone.onset + framesOf(50), tone.offset - framesOf(50));
    report("32 kHz tone pitch", hz, "Hz");
    EXPECT_NEAR(hz, 32000.0, 320.0);
    EXPECT_NEAR(tone.ms(), 400.0, 20.0);
}

TEST_F(RealTone, BeepSoundsItsPitchForItsDuration) {
    const qint64 called = recorder.position();
    platform().beep(1500, 200);
    recorder.keepRecording(300);
    const std::vector<std::int16_t> got = recorder.stop();

    const ToneSpan tone = findTone(got, 15000, called);
    ASSERT_TRUE(tone.found()) << "nothing reached the sink";
    report("beep of 200 ms at the sink", tone.ms(), "ms");
    EXPECT_NEAR(tone.ms(), 200.0, 10.0);
    EXPECT_NEAR(measuredHz(got, tone.onset, tone.offset), 1500.0, 5.0);
}

TEST_F(RealTone, ThePlayerPlaysEightBitMonoAtItsOwnRateAndAMissingFileSilencesIt) {
    SampleGrid grid(1, 22050);
    for (int s = 0; s < grid.samples; ++s)
        grid.at(0, s) = 128 + qint32(std::lround(100 * std::sin(2 * std::numbers::pi * 500 * s / 22050)));
    WriteWave(tempFile("low.wav"), CreateWaveArray(grid, 22050, 8));

    const qint64 started = recorder.position();
    platform().playWav(tempFile("low.wav"), true);
    recorder.keepRecording(600);
    const qint64 replaced = recorder.position();
    platform().playWav(tempFile("none.wav"), true);
    recorder.keepRecording(300);
    const std::vector<std::int16_t> got = recorder.stop();

    const ToneSpan tone = findTone(got, 12000, started, replaced);
    ASSERT_TRUE(tone.found()) << "nothing reached the sink";
    EXPECT_NEAR(measuredHz(got, tone.onset + framesOf(50), replaced), 500.0, 1.0);
    EXPECT_NEAR(peakBetween(got, tone.onset + framesOf(50), replaced), 25600, 256); // 100 of 128
    EXPECT_LT(peakBetween(got, replaced + framesOf(100), qint64(got.size())), 100) << "the old sound went on";
}

TEST_F(RealTone, AToneStreamFollowsItsVolumeAndRateAndStops) {
    writeToneWav(1000);
    std::unique_ptr<ToneStream> stream = platform().openToneStream(temporaryToneWav());
    const qint64 opened = recorder.position();
    recorder.keepRecording(200);
    stream->play(true);
    recorder.keepRecording(500);
    const qint64 changed = recorder.position();
    stream->setVolume(0.5);
    stream->setFrequency(88200);
    recorder.keepRecording(500);
    const qint64 stopped = recorder.position();
    stream->stop();
    recorder.keepRecording(300);
    const std::vector<std::int16_t> got = recorder.stop();

    EXPECT_LT(peakBetween(got, opened, opened + framesOf(150)), 100) << "sounded before play";
    const ToneSpan first = findTone(got, 15000, opened, changed);
    ASSERT_TRUE(first.found()) << "nothing reached the sink";
    EXPECT_NEAR(measuredHz(got, first.onset + framesOf(50), changed), 1000.0, 2.0);
    EXPECT_NEAR(peakBetween(got, first.onset + framesOf(50), changed), 30000, 300);
    const qint64 secondFrom = changed + framesOf(100);
    EXPECT_NEAR(measuredHz(got, secondFrom, stopped), 2000.0, 4.0);
    EXPECT_NEAR(peakBetween(got, secondFrom, stopped), 15000, 150);
    EXPECT_LT(peakBetween(got, stopped + framesOf(100), qint64(got.size())), 100) << "still sounding after stop";
}

TEST_F(RealTone, ToneStreamsRefuseMissingAndForeignFiles) {
    recorder.stop();
    try {
        platform().openToneStream(tempFile("none.wav"));
        ADD_FAILURE() << "a missing file opened";
    } catch (const RuntimeError& e) {
        EXPECT_EQ(e.number(), err::FileNotFound);
    }
    QFile text(tempFile("text.wav"));
    ASSERT_TRUE(text.open(QIODevice::WriteOnly));
    text.write("not a wave");
    text.close();
    try {
        platform().openToneStream(text.fileName());
        ADD_FAILURE() << "a text file opened";
    } catch (const RuntimeError& e) {
        EXPECT_EQ(e.number(), 321);
    }
}

TEST_F(RealTone, TheSweepClimbsStepByStepWithoutClipping) {
    const qint64 called = recorder.position();
    QTimer::singleShot(1700, [&] { window.vars.z = 1; });
    sound(window).SoundWinmmLTH();
    recorder.keepRecording(200);
    const std::vector<std::int16_t> got = recorder.stop();

    const std::vector<SweepStep> steps = sweepSteps(got, called, 200);
    ASSERT_GE(steps.size(), 10u) << "the sweep did not reach the sink step by step";
    for (size_t i = 0; i < steps.size(); ++i) ASSERT_EQ(steps[i].pitch, 200 * int(i + 1)) << "step " << i;
    const double periodMs = (steps.back().onset - steps.front().onset) * 1000.0 / kSinkRate / double(steps.size() - 1);
    report("sweep step period at the sink", periodMs, "ms");
    report("sweep peak", peakBetween(got, called, qint64(got.size())), "");
    EXPECT_LE(peakBetween(got, called, qint64(got.size())), 30300) << "steps summed";
    EXPECT_GE(periodMs, 74.5) << "steps cut short";
}

TEST_F(RealTone, BackToBackTimedTonesAreSeparateTonesThatKeepTheirLength) {
    const qint64 called = recorder.position();
    for (const qint16 pitch : {1000, 1500, 2000}) sound(window).SoundWinmmRNDTMP(pitch, 150);
    recorder.keepRecording(200);
    const std::vector<std::int16_t> got = recorder.stop();

    EXPECT_LE(peakBetween(got, called, qint64(got.size())), 30300) << "tones summed";
    qint64 from = called;
    for (const int pitch : {1000, 1500, 2000}) {
        SCOPED_TRACE(pitch);
        const ToneSpan tone = findTone(got, 15000, from);
        ASSERT_TRUE(tone.found());
        // The tone ends where, over a whole period, it stays under half its level:
        // halfway down its fade, at the dip before the next tone.
        const qint64 period = kSinkRate / pitch + 1;
        qint64 end = tone.onset + period;
        while (end < qint64(got.size()) && peakBetween(got, end, end + period) >= 15000) ++end;
        const double ms = msOf(end - tone.onset);
        report("back-to-back tone of 150 ms at the sink, to half its fade", ms, "ms");
        EXPECT_NEAR(ms, 150.0, 10.0);
        EXPECT_NEAR(measuredHz(got, tone.onset + framesOf(10), end - framesOf(10)), pitch, pitch * 0.005);
        from = end;
    }
}

TEST_F(RealTone, AQuietOutputLeavesTheServerAndTheNextSoundBringsItBack) {
    const auto ourStreams = [] {
        QProcess pactl;
        pactl.start("pactl", {"list", "sink-inputs"});
        pactl.waitForFinished(5000);
        return QString::fromUtf8(pactl.readAllStandardOutput()).count("Tonara tones");
    };
    platform().beep(1000, 50);
    EXPECT_EQ(ourStreams(), 1);
    recorder.keepRecording(4500);
    EXPECT_EQ(ourStreams(), 0) << "still streaming silence after four seconds";

    const qint64 called = recorder.position();
    platform().beep(1000, 200);
    recorder.keepRecording(300);
    const std::vector<std::int16_t> got = recorder.stop();
    const ToneSpan tone = findTone(got, 15000, called);
    ASSERT_TRUE(tone.found()) << "the output did not come back";
    report("start latency after a pause (call to sink)", msOf(tone.onset - called), "ms");
    EXPECT_NEAR(tone.ms(), 200.0, 10.0);
}
