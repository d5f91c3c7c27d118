// What Quillon's tones sound like at the sound server's sink: every level at
// its pitch and full level, the volume tone until "Stop sound", and the
// tone programs that the "16" and "32" modes start.
//
// The machine is shared and loaded: the recorder may fall a second behind
// and the output may drop out for a moment. So the recording is cut into
// 50 ms windows that are told apart by their pitch, medians decide, and
// endings are judged by the silence that follows, never by the recorder's
// frame count at a given moment.
#include "AudioOutput.h"
#include "Class1.h"
#include "FakePlatform.h"
#include "HearingTable.h"
#include "QuillonRig.h"
#include "RealProcesses.h"
#include "SinkRecording.h"

#include <QTimer>
#include <algorithm>
#include <cmath>
#include <gtest/gtest.h>

namespace tonara::test {

namespace {

using quillon::Class1;
using quillon::kLevelCount;
using quillon::levelAt;

constexpr int kFullLevel = 30000;
constexpr int kSilence = 100;
// Long enough after a tone's end for a lagging recorder to catch up with it.
constexpr int kRecordAfterMs = 2000;

double median(std::vector<double> values) {
    if (values.empty()) return 0;
    std::nth_element(values.begin(), values.begin() + values.size() / 2, values.end());
    return values[values.size() / 2];
}

// The 50 ms windows of the recording whose pitch lies within 2 % of hz:
// their median pitch and amplitude, and how long they sound together.
struct ToneAt {
    double hz = 0;
    double amplitude = 0;
    double ms = 0;
};

ToneAt toneAt(const std::vector<std::int16_t>& samples, double hz) {
    std::vector<double> pitches, amplitudes;
    const qint64 window = framesOf(50);
    for (qint64 at = 0; at + window <= qint64(samples.size()); at += window) {
        const double measured = measuredHz(samples, at, at + window);
        if (std::abs(measured - hz) > hz * 0.02 || peakBetween(samples, at, at + window) < kSilence) continue;
        pitches.push_back(measured);
        // At the nominal pitch: a zero-crossing estimate a hertz off would itself cost a percent over 50 ms.
        amplitudes.push_back(amplitudeAt(samples, at, at + window, hz));
    }
    return {median(pitches), median(amplitudes), 50.0 * double(pitches.size())};
}

// How long the recording is silent at its end.
double silentEndMs(const std::vector<std::int16_t>& samples) {
    qint64 last = qint64(samples.size()) - 1;
    while (last >= 0 && std::abs(int(samples[size_t(last)])) < kSilence) --last;
    return msOf(qint64(samples.size()) - 1 - last);
}

// Plays pitch with operation until z is set ms later.
void playFor(Class1& tone, void (Class1::*operation)(qint16), qint16 pitch, int ms) {
    QTimer::singleShot(ms, [&tone] { tone.z = 1; });
    (tone.*operation)(pitch);
}

class QuillonAtTheSink : public ::testing::Test, protected ProgramRig {
protected:
    void SetUp() override {
        if (!soundServerReachable())
            GTEST_SKIP() << kNoSoundServer;
        setPlatform(&platform_);
        // The running program has its output open; an idle sink hands its monitor out in long blocks.
        AudioOutput::instance().deviceInfo();
        QString why;
        ASSERT_TRUE(recorder.start(why)) << why.toStdString();
    }
    void TearDown() override { setPlatform(nullptr); }

    BuiltProgramsPlatform platform_;
    SinkRecorder recorder;
};

} // namespace

TEST_F(QuillonAtTheSink, EveryLevelSoundsAtItsPitchAndAtFullLevel) {
    Class1 tone;
    for (qint16 level = 1; level <= kLevelCount; ++level) {
        playFor(tone, &Class1::SoundWinmmRND, levelAt(level).pitch, 600);
        recorder.keepRecording(200);
    }
    recorder.keepRecording(kRecordAfterMs);
    const std::vector<std::int16_t> samples = recorder.stop();
    SKIP_WHERE_THE_SERVER_FELL_BEHIND(recorder);

    for (qint16 level = 1; level <= kLevelCount; ++level) {
        const double pitch = levelAt(level).pitch;
        const ToneAt got = toneAt(samples, pitch);
        const std::string name = "level " + std::to_string(level);
        report(name + " pitch", got.hz, "Hz");
        report(name + " amplitude at its pitch", got.amplitude, "");
        EXPECT_GE(got.ms, 300.0) << name << " hardly sounded";
        EXPECT_NEAR(got.hz, pitch, std::max(1.0, pitch * 0.001)) << name;
        EXPECT_NEAR(got.amplitude, kFullLevel, kFullLevel * 0.01) << name;
    }
    EXPECT_GT(silentEndMs(samples), 500.0) << "a tone went on after its z";
    EXPECT_FALSE(QFile::exists(env.temp("tnfwinmmtmp.wav")));
}

TEST_F(QuillonAtTheSink, StopSoundSilencesTheVolumeTone) {
    quillon::Wizard wizard;
    wizard.start();
    quillon::Form1& volume = wizard.volumeWindow();
    bool stopped = false;
    QTimer::singleShot(1000, [&] {
        stopped = true;
        click(volume, quillonVolume::Command3);
    });
    click(volume, quillonVolume::Command2);
    recorder.keepRecording(kRecordAfterMs);
    const std::vector<std::int16_t> samples = recorder.stop();
    SKIP_WHERE_THE_SERVER_FELL_BEHIND(recorder);

    ASSERT_TRUE(stopped) << "the tone's wait never let the click through";
    const ToneAt tone = toneAt(samples, 1000);
    report("volume tone pitch", tone.hz, "Hz");
    report("volume tone amplitude", tone.amplitude, "");
    report("volume tone sounding", tone.ms, "ms");
    EXPECT_NEAR(tone.hz, 1000.0, 1.0);
    EXPECT_NEAR(tone.amplitude, kFullLevel, kFullLevel * 0.01);
    EXPECT_GE(tone.ms, 800.0) << "it should sound until the click, a second after Play";
    // After the click it falls silent within one 100 ms wait (the fake clock
    // times that exactly); here: it does fall silent and stays so.
    EXPECT_GT(silentEndMs(samples), 1000.0) << "it went on sounding after Stop sound";
    EXPECT_TRUE(control<QAbstractButton>(volume, quillonVolume::Command2).isEnabled());
}

TEST_F(QuillonAtTheSink, ChangingLevelsNeverAddsTwoTonesTogether) {
    quillon::Wizard wizard;
    wizard.start();
    wizard.ageAccepted(30);
    // "I hear the sound" starts the next level while the last one is still in the player.
    for (int answer = 1; answer <= 4; ++answer)
        QTimer::singleShot(400 * answer, [&] { click(wizard.testWindow(), quillonTest::Command1); });
    QTimer::singleShot(2000, [&] { click(wizard.testWindow(), quillonTest::Command2); });
    wizard.showTest();
    recorder.keepRecording(kRecordAfterMs);
    const std::vector<std::int16_t> samples = recorder.stop();
    SKIP_WHERE_THE_SERVER_FELL_BEHIND(recorder);

    ASSERT_GE(toneAt(samples, 8000).ms, 200.0) << "level 5 was not reached";
    const int peak = peakBetween(samples, 0, qint64(samples.size()));
    report("highest sample over four level changes", peak, "");
    EXPECT_LE(peak, kFullLevel + kFullLevel / 100) << "two tones sounded together at a level change";
}

TEST_F(QuillonAtTheSink, TheToneProgramModesSoundThroughTheBuiltPrograms) {
    struct Case {
        void (Class1::*operation)(qint16);
        const char* name;
    };
    recorder.stop();
    for (const Case& c : {Case{&Class1::Sound32, "Sound32"}, Case{&Class1::Sound16, "Sound16"}}) {
        SinkRecorder programRecorder;
        QString why;
        ASSERT_TRUE(programRecorder.start(why)) << why.toStdString();
        Class1 tone;
        playFor(tone, c.operation, 2000, 1500);
        programRecorder.keepRecording(kRecordAfterMs);
        const std::vector<std::int16_t> samples = programRecorder.stop();
        SKIP_WHERE_THE_SERVER_FELL_BEHIND(programRecorder);

        const ToneAt got = toneAt(samples, 2000);
        report(std::string(c.name) + " pitch", got.hz, "Hz");
        report(std::string(c.name) + " sounding", got.ms, "ms");
        // Of its 1500 ms the program's start-up takes a part, which a busy
        // machine lengthens (900 ms seen under stress -c 2 and two builds):
        // that is speed, reported; what is asserted is that it sounded.
        EXPECT_GE(got.ms, 200.0) << c.name << ": the tone program hardly sounded";
        EXPECT_NEAR(got.hz, 2000.0, 2.0) << c.name;
        EXPECT_GT(silentEndMs(samples), 1000.0) << c.name << ": still sounding after KillAll";
        EXPECT_FALSE(QFile::exists(env.temp("sound.ini"))) << c.name;
    }
}

} // namespace tonara::test
