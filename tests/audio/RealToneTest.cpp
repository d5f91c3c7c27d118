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
#include <algorithm>
#include <cmath>
#include <gtest/gtest.h>
#include <iostream>
#include <numbers>
#include <thread>

namespace tonara::test {

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
        AudioOutput::instance().deviceInfo();
        QString why;
        ASSERT_TRUE(recorder.start(why)) << why.toStdString();
    }
    void TearDown() override {
        // A timed tone may sound on a little after the program was told it
        // ended: the next test starts in silence.
        AudioOutput::instance().letEndedSoundsPlayOut();
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

// A stall of the machine shorter than what the server keeps queued goes
// unheard; changes are heard at once all the same (the tests below).
TEST_F(RealTone, TheOutputIsOpenAtTheServersRateStereoWithABufferThatRidesOutStalls) {
    const AudioDeviceInfo device = AudioOutput::instance().deviceInfo();
    std::cout << "[ measured ] device: " << device.driver.toStdString() << ", " << device.rate << " Hz, "
              << device.channels << " channels, " << device.format.toStdString() << ", " << device.bufferFrames
              << " frames queued" << std::endl;
    ASSERT_TRUE(device.open);
    EXPECT_EQ(device.rate, kSinkRate);
    EXPECT_EQ(platform().outputRate(), kSinkRate);
    EXPECT_EQ(device.channels, 2);
    EXPECT_GE(device.bufferFrames * 1000 / device.rate, 100) << "ms queued";
}

// What the preset modes play, as the hearing test needs it: full level and
// nothing beside the tone.
TEST_F(RealTone, EveryPresetPitchReachesTheSinkAtFullLevelAndPure) {
    for (const qint16 pitch : std::initializer_list<qint16>{1000, 4500, 10000, 16600, 21000}) {
        SCOPED_TRACE(pitch);
        const qint64 called = recorder.position();
        sound(window).SoundWinmmRNDTMP(pitch, 700);
        recorder.keepRecording(150);
        const std::vector<std::int16_t> got = recorder.samples();
        SKIP_WHERE_THE_SERVER_FELL_BEHIND(recorder, called);
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

// The main window's volume scales what the output plays: the High pitch
// preset at -20 dB arrives at a tenth of its level, at 0 dB as before.
TEST_F(RealTone, TheOutputVolumeScalesAPresetAndZeroDbKeepsItsLevel) {
    for (const double db : {-20.0, 0.0}) {
        SCOPED_TRACE(db);
        platform().setOutputVolume(std::pow(10.0, db / 20.0));
        const qint64 called = recorder.position();
        sound(window).SoundWinmmRNDTMP(10000, 700);
        recorder.keepRecording(150);
        const std::vector<std::int16_t> got = recorder.samples();
        SKIP_WHERE_THE_SERVER_FELL_BEHIND(recorder, called);
        const double wanted = 30000 * std::pow(10.0, db / 20.0);
        const ToneSpan tone = findTone(got, int(wanted / 2), called);
        ASSERT_TRUE(tone.found()) << "nothing reached the sink";
        const TonePurity purity =
            analyseTone(samplesBetween(got, tone.onset + framesOf(100), tone.offset - framesOf(100)), kSinkRate, 10000);
        report("High pitch at " + std::to_string(int(db)) + " dB: amplitude", purity.amplitude, "");
        EXPECT_NEAR(purity.amplitude, wanted, wanted * 0.01);
    }
    platform().setOutputVolume(1.0);
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
    SKIP_WHERE_THE_SERVER_FELL_BEHIND(recorder);

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
    // The loop's wait ends with the change it serves, and the output places
    // a stop at the first frame it has not yet played.
    EXPECT_LT(stopLatency, 60.0);
    EXPECT_GT(stopLatency, 0.0);
    EXPECT_FALSE(QFile::exists(tempFile("tnfwinmmtmp.wav")));
    EXPECT_EQ(window.statusText(1), "Actual pitch (Hertz): 1000");
}

TEST_F(RealTone, ATimedToneLastsItsDuration) {
    const qint64 called = recorder.position();
    sound(window).SoundWinmmRNDTMP(1000, 100);
    recorder.keepRecording(300);
    const std::vector<std::int16_t> got = recorder.stop();
    SKIP_WHERE_THE_SERVER_FELL_BEHIND(recorder, called);

    const ToneSpan tone = findTone(got, 15000, called);
    ASSERT_TRUE(tone.found()) << "nothing reached the sink";
    report("timed tone of 100 ms at the sink", tone.ms(), "ms");
    EXPECT_NEAR(tone.ms(), 100.0, 10.0);
    EXPECT_NEAR(measuredHz(got, tone.onset, tone.offset), 1000.0, 5.0);
    EXPECT_FALSE(QFile::exists(tempFile("tnfwinmmtmp.wav")));
}

// At 96 kHz it sounds; at 48 kHz it is filtered out rather than folded to 16 kHz.
// Up to the edge of the band the output carries (99 % of its Nyquist
// limit) a tone keeps its level to within 0.1 dB; beyond the limit it is
// silence, with no tick of a loop seam and no alias, and the status bar
// says so.
TEST_F(RealTone, PitchesUpToTheEdgeOfTheBandKeepTheirLevelAndOneBeyondTheLimitIsSilent) {
    std::vector<qint16> pitches = {21000, 21400, 21600, 21800, 22000, 32000};
    if (kSinkRate == 48000) pitches.insert(pitches.end() - 1, {23000, 23700});
    for (const qint16 pitch : pitches) {
        SCOPED_TRACE(pitch);
        const qint64 called = recorder.position();
        QString panel;
        QTimer::singleShot(300, [&] {
            panel = window.statusText(3);
            window.vars.z = 1;
        });
        window.vars.z = 0;
        sound(window).SoundWinmmRND(pitch);
        recorder.keepRecording(150);
        const std::vector<std::int16_t> got = recorder.samples();
        SKIP_WHERE_THE_SERVER_FELL_BEHIND(recorder, called);
        const QString output = QString("Output: %1 kHz").arg(QString::number(kSinkRate / 1000.0)); // 44.1, 48, 96
        const QString tooLow = output + QString(", too low for %1 Hz").arg(pitch);
        if (2 * pitch >= kSinkRate) {
            const Component strongest = strongestComponent(samplesBetween(got, called, qint64(got.size())), kSinkRate);
            report(std::to_string(pitch) + " Hz: strongest component at the sink", levelDb(strongest.amplitude, 32768),
                   ("dBFS at " + std::to_string(int(strongest.hz)) + " Hz").c_str());
            EXPECT_LT(levelDb(strongest.amplitude, 32768), -100.0) << "at " << strongest.hz << " Hz";
            EXPECT_EQ(panel, tooLow);
            continue;
        }
        // Between the band's edge and the limit (at 44.1 kHz: 21 830 to 22 050 Hz) the
        // level is not promised, and the panel says so.
        if (pitch >= 0.99 * kSinkRate / 2) {
            EXPECT_EQ(panel, tooLow);
            continue;
        }
        const ToneSpan tone = findTone(got, 15000, called);
        ASSERT_TRUE(tone.found()) << "nothing reached the sink";
        const TonePurity purity =
            analyseTone(samplesBetween(got, tone.onset + framesOf(50), tone.offset - framesOf(50)), kSinkRate, pitch);
        report(std::to_string(pitch) + " Hz level at the sink", levelDb(purity.amplitude, 30000), "dB");
        EXPECT_NEAR(levelDb(purity.amplitude, 30000), 0.0, 0.1);
        EXPECT_NEAR(purity.hz, pitch, 0.5);
        EXPECT_EQ(panel, output);
    }
}

TEST_F(RealTone, BeepSoundsItsPitchForItsDuration) {
    const qint64 called = recorder.position();
    platform().beep(1500, 200);
    recorder.keepRecording(300);
    const std::vector<std::int16_t> got = recorder.stop();
    SKIP_WHERE_THE_SERVER_FELL_BEHIND(recorder, called);

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
    SKIP_WHERE_THE_SERVER_FELL_BEHIND(recorder);

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
    SKIP_WHERE_THE_SERVER_FELL_BEHIND(recorder);

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
    SKIP_WHERE_THE_SERVER_FELL_BEHIND(recorder, called);

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
    for (const qint16 pitch : {qint16(1000), qint16(1500), qint16(2000)}) sound(window).SoundWinmmRNDTMP(pitch, 150);
    // The program is told a little before the last one has sounded out.
    recorder.keepRecording(400);
    const std::vector<std::int16_t> got = recorder.stop();
    SKIP_WHERE_THE_SERVER_FELL_BEHIND(recorder, called);

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

// The program told a timed tone has ended, then held up (a busy machine)
// before it asks for the next one without a pause of its own: the next
// still follows at the back-end's short gap.
TEST_F(RealTone, ATimedToneAskedForByAHeldUpProgramStillFollowsAtTheGap) {
    const qint64 called = recorder.position();
    for (const qint16 pitch : {qint16(1000), qint16(1500)}) {
        writeToneWav(pitch);
        platform().playWavFor(temporaryToneWav(), 300);
        platform().awaitTimedTone();
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    recorder.keepRecording(500);
    const std::vector<std::int16_t> got = recorder.stop();
    SKIP_WHERE_THE_SERVER_FELL_BEHIND(recorder, called);

    const ToneSpan first = findTone(got, 15000, called);
    ASSERT_TRUE(first.found());
    // Where, over a whole period, the first stays under half its level.
    const qint64 period = kSinkRate / 1000 + 1;
    qint64 end = first.onset + period;
    while (end < qint64(got.size()) && peakBetween(got, end, end + period) >= 15000) ++end;
    const ToneSpan second = findTone(got, 15000, end);
    ASSERT_TRUE(second.found()) << "the second tone was not heard";
    const double gap = msOf(second.onset - end);
    report("gap after a program held up 100 ms, half level to half level", gap, "ms");
    EXPECT_GT(gap, 1.0) << "two tones ran into one";
    EXPECT_LT(gap, 10.0);
    EXPECT_NEAR(msOf(end - first.onset), 300.0, 2.0);
}

TEST_F(RealTone, AQuietOutputIsCorkedAndTheNextSoundIsHeardAtOnce) {
    // Whether the server holds our stream corked (a quiet stream costs nothing).
    const auto corked = [] {
        QProcess pactl;
        pactl.start("pactl", {"list", "sink-inputs"});
        pactl.waitForFinished(5000);
        const QString listing = QString::fromUtf8(pactl.readAllStandardOutput());
        const qsizetype ours = listing.indexOf("media.name = \"Tones\"");
        const qsizetype start = listing.lastIndexOf("Sink Input #", ours);
        return ours >= 0 && listing.mid(start, ours - start).contains("Corked: yes");
    };
    // Asked while a tone sounds: pactl may take a while to start on a busy machine.
    writeToneWav(1000);
    platform().playWav(temporaryToneWav(), true);
    EXPECT_FALSE(corked());
    platform().silenceWav();
    recorder.keepRecording(2500);
    EXPECT_TRUE(corked()) << "still streaming silence after two seconds";

    const qint64 called = recorder.position();
    platform().beep(1000, 200);
    recorder.keepRecording(300);
    const std::vector<std::int16_t> got = recorder.stop();
    SKIP_WHERE_THE_SERVER_FELL_BEHIND(recorder);
    const ToneSpan tone = findTone(got, 15000, called);
    ASSERT_TRUE(tone.found()) << "the output did not come back";
    report("start latency after a pause (call to sink)", msOf(tone.onset - called), "ms");
    EXPECT_LT(msOf(tone.onset - called), 60.0);
    EXPECT_NEAR(tone.ms(), 200.0, 10.0);
}

namespace {

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

struct PlayAndStopTimes {
    std::vector<double> playMs; // Play to each tone's first sample at the sink
    std::vector<double> stopMs; // Stop to its last
};

// Stop, as the Stop button does it (KillAll inside the tone's wait), after
// Play; a fade, never a click. The first trial of four comes after a quiet
// spell, on a corked stream.
void playAndStop(FakeMainWindow& window, SinkRecorder& recorder, int trials, PlayAndStopTimes& heard) {
    for (int trial = 0; trial < trials; ++trial) {
        if (trial % 4 == 0) recorder.keepRecording(1500); // quiet long enough to be corked
        const qint64 called = recorder.position();
        qint64 stopped = -1;
        window.vars.z = 0; // as Play sets it
        QTimer::singleShot(300 + 17 * trial, [&] {
            stopped = recorder.position();
            sound(window).KillAll();
            window.vars.z = 1;
        });
        sound(window).SoundWinmmRND(1000);
        recorder.keepRecording(150);
        const std::vector<std::int16_t> got = recorder.samples();
        SKIP_WHERE_THE_SERVER_FELL_BEHIND(recorder);
        const ToneSpan tone = findTone(got, 15000, called);
        ASSERT_TRUE(tone.found()) << "trial " << trial;
        heard.playMs.push_back(msOf(tone.onset - called));
        heard.stopMs.push_back(msOf(tone.offset - stopped));
        // No step larger than a full-level sine's own, in the fade or where it ends.
        const int steepest = int(30000 * 2 * std::numbers::pi * 1000 / kSinkRate) + 400;
        for (qint64 i = tone.offset - framesOf(8); i < tone.offset + framesOf(2); ++i)
            ASSERT_LE(std::abs(got[size_t(i)] - got[size_t(i - 1)]), steepest) << "a click at the stop, trial " << trial;
    }
}

} // namespace

// Play and Stop heard within a few tens of milliseconds every time, the
// first Play after a quiet spell (a corked stream) included.
TEST_F(RealTone, PlayAndStopAreHeardAtOnce) {
    PlayAndStopTimes heard;
    playAndStop(window, recorder, 8, heard);
    if (IsSkipped() || HasFatalFailure()) return;
    const std::vector<double>& starts = heard.playMs;
    const std::vector<double>& stops = heard.stopMs;
    const double worstStart = *std::max_element(starts.begin(), starts.end());
    const double worstStop = *std::max_element(stops.begin(), stops.end());
    report("play to sound at the sink, median", median(starts), "ms");
    report("play to sound at the sink, worst", worstStart, "ms");
    report("stop to silence at the sink, median", median(stops), "ms");
    report("stop to silence at the sink, worst", worstStop, "ms");
    EXPECT_LE(median(stops), 30.0);
    EXPECT_LT(worstStop, 60.0);
    EXPECT_LT(worstStart, 70.0);
}

// With nothing else at the server asking for a short cycle, PipeWire runs
// the graph at the cycle our stream asks for and takes that much of its
// queue at a time: a stop written into sound already taken is cut hard.
// PulseAudio instead rewinds its sink for a change, but what the sink's
// monitor has already handed a recorder is not taken back: a recorder
// asking for a long latency there hears a splice no listener does.
TEST_F(RealTone, AStopFadesWhenOurStreamSetsTheServersCycle) {
    if (AudioOutput::instance().deviceInfo().driver != "PipeWire")
        GTEST_SKIP() << SinkRecorder::kRewindsUnseenAtPulseAudio;
    recorder.stop();
    SinkRecorder alone;
    QString why;
    ASSERT_TRUE(alone.start(why, SinkRecorder::kLongLatencyMs)) << why.toStdString();
    PlayAndStopTimes heard;
    playAndStop(window, alone, 8, heard);
}

} // namespace tonara::test
