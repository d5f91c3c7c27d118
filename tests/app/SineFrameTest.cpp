// What a frame of the sine preview draws: every height as the formula gives
// it, and the pixels a whole frame paints the same as plotting each point.
#include "NumberText.h"
#include "PictureBox.h"
#include "SineFrame.h"

#include <QImage>
#include <cmath>
#include <gtest/gtest.h>

namespace tonara::test {

namespace {

// The preview's formula, a sine per point.
std::vector<qint32> formulaFrame(float step, qint32 phase, qint32 amplitude, qint32 width) {
    std::vector<qint32> heights;
    for (qint32 x = 0; x <= width; ++x)
        heights.push_back(amplitude + toInt32(std::sin(double(step) * x + phase) * amplitude) + 100);
    return heights;
}

float stepOf(qint16 pitch) { return float(pitch / 500.0 * 0.001); }

} // namespace

TEST(SineFrame, EveryHeightIsTheFormulasAtEveryPitchPhaseAndBoxSize) {
    struct Box {
        qint32 amplitude, width; // twips, as the preview computes them from the box
    };
    // The design's box, a box grown with its window, a tiny one and one of a single point.
    const Box boxes[] = {{268, 2655}, {2150, 9600}, {-93, 30}, {268, 0}};
    const qint16 pitches[] = {1000, 4500, 10000, 16600, 21000, 4, 32000, 12345, 7, -3000};
    std::vector<qint32> heights;
    int frames = 0;
    for (const Box& box : boxes)
        for (const qint16 pitch : pitches)
            // Every phase of the animation's cycle (100 to 100 000), and phase 0.
            for (qint32 phase = 0; phase <= 100000; phase += box.width == 2655 ? 100 : 3700) {
                sineFrame(stepOf(pitch), phase, box.amplitude, box.width, heights);
                ASSERT_EQ(heights, formulaFrame(stepOf(pitch), phase, box.amplitude, box.width))
                    << "pitch " << pitch << ", phase " << phase << ", amplitude " << box.amplitude;
                ++frames;
            }
    EXPECT_GT(frames, 10000);
}

TEST(SineFrame, AFrameBufferIsReusedAtItsNewLength) {
    std::vector<qint32> heights(5000, -1);
    sineFrame(stepOf(1000), 300, 268, 2655, heights);
    EXPECT_EQ(heights, formulaFrame(stepOf(1000), 300, 268, 2655));
    sineFrame(stepOf(1000), 300, 268, -1, heights);
    EXPECT_TRUE(heights.empty()) << "a box narrower than a point has none";
}

TEST(PictureBoxFrame, AWholeFramePaintsThePixelsOfItsPointsPlottedOneByOne) {
    struct Case {
        const char* what;
        std::vector<qint32> heights;
    };
    std::vector<qint32> sine = formulaFrame(stepOf(10000), 4200, 268, 2655);
    std::vector<qint32> edges;
    // Above the box by less than a pixel still lands in its top row, as a plot does; further up, off it.
    for (const qint32 y : {-1, -14, -15, -16, 0, 14, 15, 734, 735, 736, 100000, -100000}) edges.push_back(y);
    std::vector<qint32> wider(2655 + 400, 300); // points past the right edge
    const Case cases[] = {{"a frame of the sine", sine}, {"heights at and past the edges", edges},
                          {"more points than the box is wide", wider}, {"no points", {}}};
    for (const Case& c : cases) {
        PictureBox byPoints(form1::Picture1, 177, 49), byFrame(form1::Picture1, 177, 49);
        for (std::size_t x = 0; x < c.heights.size(); ++x) byPoints.plot(int(x), c.heights[x]);
        byFrame.plotFrame(c.heights);
        EXPECT_EQ(byFrame.image(), byPoints.image()) << c.what;
    }
    PictureBox box(form1::Picture1, 177, 49);
    const QImage blank = box.image();
    box.plotFrame(sine);
    EXPECT_NE(box.image(), blank) << "the frame is drawn at all";
}

} // namespace tonara::test
