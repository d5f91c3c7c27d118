// The output opened on a thread of its own while the program builds its
// windows, as Tonara opens it: the same output as one opened by its first
// sound. Run in a child process: the output is opened once per process.
#include "AudioOutput.h"
#include "DeathTests.h"
#include "Platform.h"
#include "SinkRecording.h"
#include "Synthesis.h"

#include <cstdlib>
#include <gtest/gtest.h>

namespace tonara::test {

namespace {

// Exit codes of the child tell which expectation failed.
[[noreturn]] void beepOnAnOutputOpenedAhead() {
    AudioOutput& out = AudioOutput::instance();
    out.openAhead(kToneRate);
    const AudioDeviceInfo info = out.deviceInfo();
    if (!info.open) std::_Exit(2);
    if (info.rate != out.outputRate() || info.rate <= 0) std::_Exit(3);
    realPlatform().beep(1500, 200);
    out.letEndedSoundsPlayOut();
    std::_Exit(0);
}

} // namespace

TEST(OutputOpenedAhead, ItsFirstBeepSoundsItsPitchForItsDuration) {
    if (!soundServerReachable()) GTEST_SKIP() << kNoSoundServer;
    SinkRecorder recorder;
    QString why;
    ASSERT_TRUE(recorder.start(why)) << why.toStdString();
    const qint64 called = recorder.position();
    {
        DeathTestFolders folders;
        EXPECT_EXIT(beepOnAnOutputOpenedAhead(), ::testing::ExitedWithCode(0), "");
    }
    recorder.keepRecording(300);
    const std::vector<std::int16_t> got = recorder.stop();
    SKIP_WHERE_THE_SERVER_MISSED_A_CYCLE(recorder, called);

    const ToneSpan tone = findTone(got, 15000, called);
    ASSERT_TRUE(tone.found()) << "nothing reached the sink";
    EXPECT_NEAR(tone.ms(), 200.0, 10.0);
    EXPECT_NEAR(measuredHz(got, tone.onset, tone.offset), 1500.0, 5.0);
}

} // namespace tonara::test
