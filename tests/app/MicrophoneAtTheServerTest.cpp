// The microphone display on the sound server's own microphone.
#include "DeathTests.h"
#include "MicrophoneRig.h"
#include "SinkRecording.h"

#include <cstdio>
#include <iostream>

namespace tonara::test {

namespace {

// Start-up with the display on, on the sound server's microphone instead of the fake's.
struct RealMicrophoneRig : MicrophoneRig {
    RealMicrophoneRig() { env.fake.capturesPassedTo = &realPlatform(); }
};

// Run in a child process, so that the sound library starts with the missing
// source as its default.
void startWhileTheDefaultSourceIsGone() {
    qputenv("PULSE_SOURCE", "no_such_source");
    RealMicrophoneRig rig;
    rig.writeSettings(microphoneOn());
    rig.form->start();
    const PlatformRecord* box = rig.env.fake.last("message");
    QStringList wrong;
    if (!box || box->title != "DirectSound Error" || !box->text.startsWith("Error: 68\r\nDesription: No capture device: ") ||
        !box->text.endsWith("\r\nSource: Tonara"))
        wrong << "message: " + (box ? box->title + " / " + box->text : "none");
    if (rig.settingsLine(6) != "MicrophoneON=n") wrong << "line 6: " + rig.settingsLine(6);
    if (rig.form->isChecked(form1::microinputonoff)) wrong << "the item is checked";
    if (rig.form->state().microcheck != 0) wrong << "microcheck is not 0";
    std::fprintf(stderr, "%s\n", qPrintable(wrong.join("; ")));
    std::_Exit(wrong.isEmpty() ? 0 : 1);
}

} // namespace

TEST(RealMicrophoneDeathTest, AMissingSourceShowsTheErrorAndRecordsTheDisplayOff) {
    if (!soundServerReachable()) GTEST_SKIP() << "no sound server (./test.sh or tests/sound-server.sh provide one)";
    DeathTestFolders folders;
    EXPECT_EXIT(startWhileTheDefaultSourceIsGone(), ::testing::ExitedWithCode(0), "");
}

TEST(RealMicrophone, TheBoxShowsTheLive440HzSine) {
    if (!soundServerReachable()) GTEST_SKIP() << "no sound server (./test.sh or tests/sound-server.sh provide one)";
    RealMicrophoneRig rig;
    rig.writeSettings(microphoneOn());
    rig.form->start();
    ASSERT_EQ(rig.env.fake.count("message"), 0);
    // The first halves may be the source's start; judge a later one.
    for (int picture = 0; picture < 5; ++picture) {
        rig.box().clear();
        ASSERT_TRUE(rig.waitForPicture()) << "picture " << picture;
    }
    const WaveTrace& upper = rig.box().picture().traces[0];
    // x is the index into the interleaved samples: two per frame.
    int crossings = 0;
    double first = -1, last = -1;
    for (size_t k = 1; k < upper.points.size(); ++k) {
        const QPointF a = upper.points[k - 1], b = upper.points[k];
        if (a.y() < 0.5 && b.y() >= 0.5) {
            last = a.x() / 2;
            if (first < 0) first = last;
            ++crossings;
        }
    }
    ASSERT_GT(crossings, 10);
    const double hz = (crossings - 1) * double(kRate) / (last - first);
    std::cout << "[ measured ] the picture's wave: " << hz << " Hz" << std::endl;
    EXPECT_NEAR(hz, 440, 30) << "crossings are found to within a point of about 12 frames";
    EXPECT_THROW(rig.form->unloadHandler(), ProgramEnded);
}

} // namespace tonara::test
