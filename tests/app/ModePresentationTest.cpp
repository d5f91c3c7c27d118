#include "FakeMainWindow.h"
#include "ModePresentation.h"
#include "TempFolders.h"

#include <gtest/gtest.h>
#include <map>

namespace tonara::test {

namespace {

// A 177 x 49 pixel box, measured in twips, that remembers its points.
struct RecordingCanvas : PreviewCanvas {
    int scaleWidth() const override { return 2655; }
    int scaleHeight() const override { return 735; }
    void clear() override {
        points.clear();
        ++clears;
    }
    void plot(int x, int y) override { points[x] = y; }
    std::map<int, int> points;
    int clears = 0;
};

int crossingsOfTheMiddle(const std::map<int, int>& points) {
    int crossings = 0, previous = 0;
    for (const auto& [x, y] : points) {
        const int side = y > 367 ? 1 : (y < 367 ? -1 : 0);
        if (side != 0 && previous != 0 && side != previous) ++crossings;
        if (side != 0) previous = side;
    }
    return crossings;
}

} // namespace

TEST(SinePreview, StaticFramesSpanTheBoxWithTheirMargins) {
    TestEnvironment env;
    FakeMainWindow window;
    Program program(window);
    RecordingCanvas canvas;
    ModePresentation presentation(program, canvas);

    presentation.DrawSine(4, kStaticPreview);
    ASSERT_EQ(canvas.points.size(), 2656u);
    for (const auto& [x, y] : canvas.points) EXPECT_NEAR(y, 368, 6) << "almost flat at 4 Hz, x=" << x;

    presentation.DrawSine(32000, kStaticPreview);
    EXPECT_NEAR(crossingsOfTheMiddle(canvas.points) / 2.0, 27, 1.5) << "some 26 periods";
    int low = 10000, high = 0;
    for (const auto& [x, y] : canvas.points) {
        low = std::min(low, y);
        high = std::max(high, y);
    }
    EXPECT_EQ(low, 100);
    EXPECT_EQ(high, 636);
    EXPECT_EQ(window.vars.stopme, 0) << "every drawing mode clears the stop flag";

    const int clears = canvas.clears;
    presentation.DrawSine(1000, 7);
    EXPECT_EQ(canvas.clears, clears) << "other drawing modes draw nothing";
}

TEST(SinePreview, TheAnimationWrapsItsPhaseAndPacesItself) {
    for (const auto& [stopAtFrame, phase] : {std::pair{999, 99900}, std::pair{1000, 0}}) {
        TestEnvironment env;
        FakeMainWindow window;
        Program program(window);
        RecordingCanvas canvas;
        ModePresentation presentation(program, canvas);
        env.fake.at((stopAtFrame - 1) * 50, [&] { window.vars.stopme = 1; });
        presentation.DrawSine(1000, kAnimatedPreview);
        EXPECT_EQ(presentation.phase(), phase);
        EXPECT_EQ(env.fake.clockMs, stopAtFrame * 50);
    }
}

TEST(SinePreview, HidingTheMainWindowDuringTheAnimationEndsTheProgram) {
    TestEnvironment env;
    FakeMainWindow window;
    Program program(window);
    RecordingCanvas canvas;
    env.fake.at(120, [&] { window.visibleForms.clear(); });
    EXPECT_THROW(ModePresentation(program, canvas).DrawSine(1000, kAnimatedPreview), ProgramEnded);
    EXPECT_EQ(env.fake.clockMs, 200) << "ends after the frame in which it was hidden";
}

TEST(ModeSelection, OutOfRangeModesOnlyRefreshTheTexts) {
    TestEnvironment env;
    FakeMainWindow window;
    Program program(window);
    RecordingCanvas canvas;
    for (qint16 mode : {qint16(0), qint16(10)}) ModePresentation(program, canvas).SelectRadio(mode);
    EXPECT_FALSE(QFile::exists(env.temp("userdata.txt")));
    EXPECT_TRUE(window.captions.isEmpty());
}

} // namespace tonara::test

namespace tonara::test {

TEST(SinePreview, ANewAnimationIsTakenOverByTheRunningOneFromItsOwnStart) {
    TestEnvironment env;
    FakeMainWindow window;
    Program program(window);
    RecordingCanvas canvas;
    ModePresentation running(program, canvas);
    bool returnedAtOnce = false;
    int periodsAfter = 0;
    env.fake.at(200, [&] {
        ModePresentation newer(program, canvas);
        const qint64 before = env.fake.clockMs;
        newer.DrawSine(21000, kAnimatedPreview);
        returnedAtOnce = env.fake.clockMs == before;
    });
    env.fake.at(300, [&] { periodsAfter = crossingsOfTheMiddle(canvas.points) / 2; });
    env.fake.at(400, [&] { window.vars.stopme = 1; });
    running.DrawSine(1000, kAnimatedPreview);

    EXPECT_TRUE(returnedAtOnce) << "no second loop";
    EXPECT_NEAR(periodsAfter, 17, 1.5) << "21000 Hz drawn by the running loop";
    // Phase 0 at the take-over, as in a new loop: four frames after it, and the last pass.
    EXPECT_EQ(running.phase(), 500);
    EXPECT_EQ(env.fake.clockMs, 450);
}

TEST(SinePreview, TheLastPassClearsTheBoxForLowToHighAndKeepsCustomPitchsFrame) {
    for (const bool lowToHigh : {true, false}) {
        TestEnvironment env;
        FakeMainWindow window;
        Program program(window);
        RecordingCanvas canvas;
        std::map<int, int> staticFrame;
        env.fake.at(200, [&] {
            // What choosing the mode does inside the running animation's events.
            if (lowToHigh) {
                window.setChecked(form1::Option6, true);
            } else {
                ModePresentation(program, canvas).DrawSine(12345, kStaticPreview);
                staticFrame = canvas.points;
            }
            window.vars.stopme = 1;
        });
        ModePresentation(program, canvas).DrawSine(1000, kAnimatedPreview);
        if (lowToHigh) {
            EXPECT_TRUE(canvas.points.empty());
        } else {
            EXPECT_FALSE(staticFrame.empty());
            EXPECT_EQ(canvas.points, staticFrame);
        }
    }
}

} // namespace tonara::test
