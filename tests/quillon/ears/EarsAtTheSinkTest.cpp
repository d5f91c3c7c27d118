// One ear at the sound server's sink: with "Left ear" every level sounds at
// full level on the left and the right channel is digital silence; with
// "Both ears" both carry it as before. And the server's volume, set from
// Quillon's own volume window, changes what the sink plays.
#include "AudioOutput.h"
#include "HearingTable.h"
#include "OutputVolumeWindow.h"
#include "QuillonRig.h"
#include "SinkRecording.h"
#include "TestedPlatform.h"

#include <QComboBox>
#include <QSlider>
#include <QTimer>
#include <algorithm>
#include <cmath>
#include <functional>
#include <gtest/gtest.h>

namespace tonara::test {

namespace {

using quillon::kLevelCount;
using quillon::levelAt;

constexpr int kFullLevel = 30000;
constexpr int kHeardAfterMs = 500;
constexpr int kRecordAfterMs = 1500;

double rmsDbfs(const std::vector<std::int16_t>& samples) {
    double sum = 0;
    for (const std::int16_t s : samples) sum += double(s) * s;
    const double rms = std::sqrt(sum / double(std::max<size_t>(1, samples.size())));
    return rms > 0 ? 20 * std::log10(rms / 32768.0) : -200.0; // digital silence: below any figure
}

double median(std::vector<double> values) {
    std::nth_element(values.begin(), values.begin() + values.size() / 2, values.end());
    return values[values.size() / 2];
}

// The strongest amplitude of hz in the 50 ms windows of the recording.
double strongestAt(const std::vector<std::int16_t>& samples, double hz) {
    const qint64 window = framesOf(50);
    double best = 0;
    for (qint64 at = 0; at + window <= qint64(samples.size()); at += window)
        best = std::max(best, amplitudeAt(samples, at, at + window, hz));
    return best;
}

class EarsAtTheSink : public ::testing::Test, protected ProgramRig {
protected:
    void SetUp() override {
        if (!soundServerReachable()) GTEST_SKIP() << kNoSoundServer;
        setPlatform(&platform_);
        AudioOutput::instance().deviceInfo();
        initialVolume_ = platform_.outputDeviceVolume();
        QString why;
        ASSERT_TRUE(recorder.start(why)) << why.toStdString();
    }
    void TearDown() override {
        if (initialVolume_.known) platform_.setOutputDeviceVolume(initialVolume_.level, initialVolume_.muted);
        setPlatform(nullptr);
    }

    // The wizard through every level in the chosen ear, each heard after half a second.
    void playEveryLevel(int earIndex) {
        quillon::Wizard wizard;
        wizard.start();
        auto& list = control<QComboBox>(wizard.volumeWindow(), quillonVolume::EarList);
        list.setCurrentIndex(earIndex);
        wizard.ageAccepted(30);
        // Each answer comes half a second after its level began to sound: a
        // zero timer fires once the tone's own wait serves events, however
        // long its start took on a busy machine (fixed times let a stalled
        // start bunch two answers and cut the last level short).
        int answered = 0;
        std::function<void()> answer;
        const auto answerAfterThisLevelSounds = [&] {
            QTimer::singleShot(0, [&] { QTimer::singleShot(kHeardAfterMs, answer); });
        };
        answer = [&] {
            if (++answered < kLevelCount) answerAfterThisLevelSounds();
            click(wizard.testWindow(), quillonTest::Command1);
        };
        answerAfterThisLevelSounds();
        wizard.showTest();
        wizard.stopTone();
        recorder.keepRecording(kRecordAfterMs);
        EXPECT_EQ(AudioOutput::instance().underruns(), 0) << "the output ran dry";
    }

    TestedPlatform platform_;
    SinkRecorder recorder;
    DeviceVolume initialVolume_;
};

} // namespace

TEST_F(EarsAtTheSink, LeftEarSoundsEveryLevelOnTheLeftAtFullLevelAndTheRightIsSilent) {
    playEveryLevel(1);
    const std::vector<std::int16_t> left = recorder.samples(0, 0);
    const std::vector<std::int16_t> right = recorder.samples(0, 1);
    recorder.stop();
    SKIP_WHERE_THE_SERVER_FELL_BEHIND(recorder);
    // Levels the output carries at full level; the rest its converter filters out.
    for (qint16 level = 1; level <= kLevelCount; ++level) {
        const double pitch = levelAt(level).pitch;
        if (pitch >= 0.99 * kSinkRate / 2) continue;
        const double got = strongestAt(left, pitch);
        report("left, level " + std::to_string(level) + " amplitude", got, "");
        EXPECT_NEAR(got, kFullLevel, kFullLevel * 0.01) << "level " << level;
    }
    const double rightDb = rmsDbfs(right);
    report("right channel over the whole test", rightDb, "dBFS (-200: every sample 0)");
    EXPECT_LT(rightDb, -100.0);
}

TEST_F(EarsAtTheSink, BothEarsSoundEveryLevelInBothChannelsAsBefore) {
    playEveryLevel(0);
    const std::vector<std::int16_t> left = recorder.samples(0, 0);
    const std::vector<std::int16_t> right = recorder.samples(0, 1);
    recorder.stop();
    SKIP_WHERE_THE_SERVER_FELL_BEHIND(recorder);
    for (const double pitch : {1000.0, 8000.0}) {
        report("both ears, " + std::to_string(int(pitch)) + " Hz left", strongestAt(left, pitch), "");
        report("both ears, " + std::to_string(int(pitch)) + " Hz right", strongestAt(right, pitch), "");
        EXPECT_NEAR(strongestAt(left, pitch), kFullLevel, kFullLevel * 0.01);
        EXPECT_NEAR(strongestAt(right, pitch), kFullLevel, kFullLevel * 0.01);
    }
}

TEST_F(EarsAtTheSink, QuillonsVolumeWindowChangesTheLevelAtTheSink) {
    ASSERT_TRUE(initialVolume_.known) << "the server's volume could not be read";
    ASSERT_TRUE(platform_.setOutputDeviceVolume(1.0, false));
    quillon::OutputVolumeWindow window(false);
    window.showVolume();
    auto& slider = control<QSlider>(window, quillonOutput::OutputVolume);
    EXPECT_EQ(slider.value(), 100);

    quillon::Class1 tone;
    QTimer::singleShot(700, [&] { slider.setValue(50); });
    QTimer::singleShot(1400, [&] { tone.z = 1; });
    const qint64 start = recorder.position();
    tone.SoundWinmmRND(1000);
    recorder.keepRecording(kRecordAfterMs);
    const std::vector<std::int16_t> left = recorder.samples(start, 0);
    recorder.stop();
    SKIP_WHERE_THE_SERVER_FELL_BEHIND(recorder);

    // 50 % of the server's volume is its cubic curve's (0.5)^3 of the amplitude.
    const DeviceVolume set = platform_.outputDeviceVolume();
    EXPECT_NEAR(set.level, 0.5, 0.01);
    std::vector<double> amplitudes;
    const qint64 window50 = framesOf(50);
    for (qint64 at = 0; at + window50 <= qint64(left.size()); at += window50) {
        const double a = amplitudeAt(left, at, at + window50, 1000);
        if (a > 100) amplitudes.push_back(a);
    }
    ASSERT_GE(amplitudes.size(), 10u);
    // The windows of each half by their median: fades and the change itself fall outside.
    const double half = *std::max_element(amplitudes.begin(), amplitudes.end()) / 2;
    std::vector<double> louder, quieter;
    for (const double a : amplitudes) (a < half ? quieter : louder).push_back(a);
    ASSERT_GE(quieter.size(), 5u) << "the level never fell";
    ASSERT_GE(louder.size(), 5u);
    const double loud = median(louder), quiet = median(quieter);
    report("1000 Hz at 100 %", loud, "");
    report("1000 Hz at 50 %", quiet, "");
    report("ratio", 20 * std::log10(quiet / loud), "dB");
    EXPECT_NEAR(loud, kFullLevel, kFullLevel * 0.02);
    EXPECT_NEAR(quiet / loud, 0.125, 0.02);
}

} // namespace tonara::test
