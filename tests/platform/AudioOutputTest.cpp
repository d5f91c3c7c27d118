// The real audio output on a machine without a sound server. Run in a
// child process: the output is opened once per process.
#include "AudioOutput.h"
#include "DeathTests.h"
#include "Platform.h"
#include "RuntimeError.h"

#include <QElapsedTimer>
#include <cstdlib>
#include <gtest/gtest.h>

namespace tonara::test {

namespace {

// Exit codes of the child tell which expectation failed.
[[noreturn]] void runWithoutSoundServer() {
    setenv("PULSE_SERVER", "unix:/nonexistent/tonara-no-server", 1);
    AudioOutput& out = AudioOutput::instance();

    if (out.deviceInfo().open) std::_Exit(2);
    out.playWav("/nonexistent.wav", true);
    out.silenceWav();
    QElapsedTimer timer;
    timer.start();
    realPlatform().beep(1000, 150);
    if (timer.elapsed() < 150) std::_Exit(3); // still takes its time
    try {
        out.openToneStream("/nonexistent.wav");
        std::_Exit(4);
    } catch (const RuntimeError& e) {
        if (e.number() != err::DeviceUnavailable || e.description() != "Device unavailable") std::_Exit(5);
    }
    std::_Exit(0);
}

} // namespace

TEST(AudioOutputWithoutServer, StaysSilentBeepsTimeAndRefusesStreams) {
    DeathTestFolders folders;
    EXPECT_EXIT(runWithoutSoundServer(), ::testing::ExitedWithCode(0), "no sound server");
}

} // namespace tonara::test
