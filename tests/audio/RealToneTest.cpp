// Tones through the real audio output, recorded at the sound server's sink.
#include "AudioOutput.h"
#include "FakeMainWindow.h"
#include "FakePlatform.h"
#include "RealPlatform.h"
#include "RuntimeError.h"
#include "SinkRecording.h"
#include "Sound.h"
#include "Synthesis.h"

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

// The real platform, except that ending the program ends only the test.
class TestedPlatform : public RealPlatform {
public:
    [[noreturn]] void endProgram(int exitCode) override { throw ProgramEnded{exitCode}; }
};

class RealTone : public ::testing::Test {
protected:
    void SetUp() override {
        if (!soundServerReachable())
            GTEST_SKIP() << "no sound server: SOUND_SERVER_PID is unset and pactl info fails "
                            "(./test.sh or tests/sound-server.sh provide one)";
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

    static void report(const std::string& what, double value, const char* unit) {
        std::cout << "[ measured ] " << what << ": " << value << " " << unit << std::endl;
    }

    TestedPlatform platform_;
    FakeMainWindow window;
    SinkRecorder recorder;

private:
    QTemporaryDir temp_;
    QByteArray oldTemp_;
};

} // namespace

TEST_F(RealTone, TheOutputIsOpenAt96kHzStereoWithSmallBuffers) {
    const AudioDeviceSpec spec = AudioOutput::instance().deviceSpec();
    std::cout << "[ measured ] device: " << spec.driver.toStdString() << ", " << spec.rate << " Hz, "
              << spec.channels << " channels, " << spec.format.toStdString() << ", " << spec.bufferFrames
              << " frames per buffer" << std::endl;
    ASSERT_TRUE(spec.open);
    EXPECT_EQ(spec.rate, 96000);
    EXPECT_EQ(spec.channels, 2);
    EXPECT_GE(spec.bufferFrames, 256);
    EXPECT_LE(spec.bufferFrames, 512);
}

TEST_F(RealTone, AContinuousToneSoundsUntilStopAndLeavesNoFile) {
    const qint64 called = recorder.frames();
    qint64 stopped = -1;
    QTimer::singleShot(1500, [&] {
        stopped = recorder.frames();
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
    const qint64 called = recorder.frames();
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

TEST_F(RealTone, A32kHzToneReachesTheSinkAt32kHz) {
    const qint64 called = recorder.frames();
    sound(window).SoundWinmmRNDTMP(32000, 400);
    recorder.keepRecording(300);
    const std::vector<std::int16_t> got = recorder.stop();

    const ToneSpan tone = findTone(got, 12000, called);
    ASSERT_TRUE(tone.found()) << "nothing reached the sink";
    const double hz = measuredHz(got, tone.onset + framesOf(50), tone.offset - framesOf(50));
    report("32 kHz tone pitch", hz, "Hz");
    EXPECT_NEAR(hz, 32000.0, 320.0); // an aliased tone would measure 12 100 Hz
    EXPECT_NEAR(tone.ms(), 400.0, 20.0);
}

TEST_F(RealTone, BeepSoundsItsPitchForItsDuration) {
    const qint64 called = recorder.frames();
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

    const qint64 started = recorder.frames();
    platform().playWav(tempFile("low.wav"), true);
    recorder.keepRecording(600);
    const qint64 replaced = recorder.frames();
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
    const qint64 opened = recorder.frames();
    recorder.keepRecording(200);
    stream->play(true);
    recorder.keepRecording(500);
    const qint64 changed = recorder.frames();
    stream->setVolume(0.5);
    stream->setFrequency(88200);
    recorder.keepRecording(500);
    const qint64 stopped = recorder.frames();
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
