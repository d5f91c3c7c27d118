// The capture format, the half-buffer size and the four drawings, at their edges.
#include "CaptureLayout.h"
#include "RuntimeError.h"
#include "WaveDrawing.h"

#include <QtEndian>
#include <functional>
#include <gtest/gtest.h>
#include <optional>

namespace tonara::test {

namespace {

QByteArray littleEndian(const std::vector<qint16>& samples) {
    QByteArray bytes(qsizetype(2 * samples.size()), '\0');
    for (size_t k = 0; k < samples.size(); ++k) qToLittleEndian(samples[k], bytes.data() + 2 * k);
    return bytes;
}

std::vector<qint16> stereoSamples(int frames, qint16 left, qint16 right) {
    std::vector<qint16> s;
    for (int f = 0; f < frames; ++f) s.insert(s.end(), {left, right});
    return s;
}

struct LayoutCase {
    const char* name;
    qint32 rate;
    qint16 bits, channels;
    qint32 askedHalf;
    qint32 half = 0, buffer = 0;
    qint16 blockAlign = 0;
    qint32 bytesPerSecond = 0;
    int error = 0; // the run-time error raised instead
};

struct Point {
    size_t trace, index;
    double x, y;
};

struct DrawingCase {
    const char* name;
    std::function<WavePicture()> draw;
    double right, top, bottom;
    size_t traces, pointsPerTrace;
    std::vector<QPointF> starts;
    std::vector<Point> points;
};

} // namespace

TEST(MicrophoneArithmetic, FormatHalvesAndDrawingsAtTheirEdges) {
    const LayoutCase layouts[] = {
        {"the main window's format: 100 ms", 44100, 16, 2, 0, 17640, 35280, 4, 176400},
        {"8-bit mono keeps an odd half", 8000, 8, 1, 1001, 1001, 2002, 1, 8000},
        {"a half is cut to whole frames", 44100, 16, 2, 1003, 1000, 2000, 4, 176400},
        {"below 1 asks for 100 ms", 8000, 8, 1, -5, 800, 1600, 1, 8000},
        {"100 ms cut to whole frames after rounding", 11025, 8, 2, 0, 2204, 4408, 2, 22050},
        {"rounding a tenth: half to even, down", 25, 8, 1, 0, 2, 4, 1, 25},
        {"rounding a tenth: half to even, up", 35, 8, 1, 0, 4, 8, 1, 35},
        {"block align truncates", 8000, 12, 1, 0, 800, 1600, 1, 8000},
        {"no byte per frame", 8000, 4, 1, 0, 0, 0, 0, 0, 11},
        {"bits times channels past 16 bits", 8000, 16000, 3, 0, 0, 0, 0, 0, err::Overflow},
        {"bytes per second past 32 bits", 2147483647, 16, 2, 0, 0, 0, 0, 0, err::Overflow},
        {"both halves past 32 bits", 44100, 16, 2, 1073741824, 0, 0, 0, 0, err::Overflow},
        {"not one frame in a half", 44100, 16, 2, 3, 0, 0, 0, 0, 5},
        {"100 ms of too little sound", 1, 16, 2, 0, 0, 0, 0, 0, 5},
    };
    for (const LayoutCase& c : layouts) {
        SCOPED_TRACE(c.name);
        if (c.error) {
            try {
                captureLayout(c.rate, c.bits, c.channels, c.askedHalf);
                ADD_FAILURE() << "no error";
            } catch (const RuntimeError& e) {
                EXPECT_EQ(e.number(), c.error);
            }
            continue;
        }
        const CaptureLayout l = captureLayout(c.rate, c.bits, c.channels, c.askedHalf);
        EXPECT_EQ(l.halfBufferLen, c.half);
        EXPECT_EQ(l.bufferSize, c.buffer);
        EXPECT_EQ(l.format.blockAlign, c.blockAlign);
        EXPECT_EQ(l.format.avgBytesPerSec, c.bytesPerSecond);
        EXPECT_EQ(l.format.formatTag, 1);
        EXPECT_EQ(l.format.samplesPerSec, c.rate);
    }

    std::vector<qint16> firstIs20000 = stereoSamples(4410, 0, 0);
    firstIs20000[0] = 20000;
    std::vector<qint16> counting(20);
    for (size_t k = 0; k < counting.size(); ++k) counting[k] = qint16(1000 * k);
    const DrawingCase drawings[] = {
        {"a 17 640-byte half, 16-bit stereo: 8 820 samples, scale 0..4409 by 1..-1",
         [] { return drawing16Bit(samples16Bit(QByteArray(17640, '\0')), 4409, true, 1); }, 4409, 1, -1, 2, 4408,
         {{0, 0.5}, {0, -0.5}}, {{0, 4407, 4406, 0.5}, {1, 4407, 4406, -0.5}}},
        {"20000 in channel 1 at sensitivity 1 lies at 1.5, above the top edge",
         [&] { return drawing16Bit(firstIs20000, 177, true, 1); }, 4409, 1, -1, 2, 177, {{0, 0.5}, {0, -0.5}},
         {{0, 0, 0, 1.5}, {1, 0, 0, -0.5}}},
        {"a box of 20 pixels: step 220.45, 20 points a trace",
         [] { return drawing16Bit(samples16Bit(QByteArray(17640, '\0')), 20, true, 1); }, 4409, 1, -1, 2, 20, {},
         {{0, 1, 220, 0.5}, {0, 19, 4188, 0.5}}},
        {"stereo rounds i (not truncates), then takes the frame's first channel",
         [&] { return drawing16Bit(counting, 6, true, 2); }, 9, 1, -1, 2, 5, {},
         {{0, 1, 2, 0.7}, {0, 2, 2, 0.7}, {0, 3, 4, 0.9}, {1, 3, 4, 0.0},
          {0, 4, 6, 1.1}}},
        {"16-bit mono truncates i and scales by sensitivity",
         [&] { return drawing16Bit(counting, 7, false, 3); }, 19, 0.5, -0.5, 1, 7, {{0, 0}},
         {{0, 1, 2, 0.3}, {0, 2, 5, 0.75}, {0, 6, 16, 2.4}}},
        {"8-bit mono silence lies just above the middle; no sensitivity",
         [] { return drawing8Bit(QByteArray(1001, char(128)), 100, false, 5); }, 1000, 127, -127, 1, 100, {{0, 0}},
         {{0, 0, 0, 1}, {0, 99, 990, 1}}},
        {"8-bit stereo: channel 1 times sensitivity, channel 2 below it",
         [] { return drawing8Bit(QByteArray("\x80\x10\x80\x10\x80\x10\x80\x10\x80\x10", 10), 2, true, 2); }, 4,
         256, -256, 2, 2, {{0, 127}, {0, -127}}, {{0, 0, 0, 256}, {1, 0, 0, 32 - 255}}},
        {"an empty half draws nothing", [] { return drawing8Bit(QByteArray(), 177, true, 1); }, 0, 256, -256, 2, 0, {}, {}},
        {"one 16-bit sample draws nothing", [] { return drawing16Bit({5}, 177, false, 1); }, 0, 0.5, -0.5, 1, 0, {}, {}},
    };
    for (const DrawingCase& c : drawings) {
        SCOPED_TRACE(c.name);
        const WavePicture p = c.draw();
        EXPECT_EQ(p.right, c.right);
        EXPECT_EQ(p.top, c.top);
        EXPECT_EQ(p.bottom, c.bottom);
        ASSERT_EQ(p.traces.size(), c.traces);
        for (size_t t = 0; t < p.traces.size(); ++t) {
            EXPECT_EQ(p.traces[t].points.size(), c.pointsPerTrace) << "trace " << t;
            if (t < c.starts.size()) {
                EXPECT_EQ(p.traces[t].start, c.starts[t]) << "trace " << t;
            }
        }
        for (const Point& e : c.points) {
            ASSERT_LT(e.index, p.traces[e.trace].points.size());
            const QPointF& got = p.traces[e.trace].points[e.index];
            EXPECT_EQ(got.x(), e.x) << "trace " << e.trace << " point " << e.index;
            EXPECT_NEAR(got.y(), e.y, 1e-9) << "trace " << e.trace << " point " << e.index;
        }
    }

    EXPECT_EQ(samples16Bit(QByteArray("\x20\x4e\xe0\xb1\x7f", 5)), (std::vector<qint16>{20000, -20000}))
        << "low byte first; an odd last byte is left out";
    EXPECT_EQ(samples16Bit(littleEndian({-1, 32767, -32768})), (std::vector<qint16>{-1, 32767, -32768}));
}

} // namespace tonara::test
