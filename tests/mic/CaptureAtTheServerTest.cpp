// The capture object on the real microphone: the test sound server's 440 Hz sine source.
#include "FakePlatform.h"
#include "MissedCycles.h"
#include "ProgramRig.h"
#include "TestedPlatform.h"
#include "SinkRecording.h"
#include "frmDX_Record.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QThread>
#include <QtEndian>
#include <gtest/gtest.h>
#include <iostream>

namespace tonara::test {

namespace {

constexpr int kMicRate = 44100;

class RealCapture : public ::testing::Test, protected LogicRig {
protected:
    void SetUp() override {
        if (!soundServerReachable())
            GTEST_SKIP() << kNoSoundServer;
        setPlatform(&platform_);
    }
    void TearDown() override { setPlatform(nullptr); }

    TestedPlatform platform_;
};

std::vector<std::int16_t> channel(const QByteArray& half, int which) {
    std::vector<std::int16_t> samples;
    for (qsizetype at = 2 * which; at + 1 < half.size(); at += 4)
        samples.push_back(qFromLittleEndian<qint16>(half.constData() + at));
    return samples;
}

} // namespace

TEST_F(RealCapture, TheSineSourceArrivesAsHalvesOf100MsAt440Hz) {
    frmDX_Record record(main);
    std::vector<QByteArray> halves;
    std::vector<qint64> arrivals;
    QElapsedTimer clock;
    QObject::connect(&record, &frmDX_Record::GotWaveData, [&](const QByteArray& buffer, qint16 bits, qint16 channels) {
        EXPECT_EQ(bits, 16);
        EXPECT_EQ(channels, 2);
        halves.push_back(buffer);
        arrivals.push_back(clock.elapsed());
    });
    ASSERT_EQ(record.Initialize(kMicRate, 16, 2, 0, ""), "");
    const std::int64_t startedRawNs = monotonicRawNs();
    ASSERT_TRUE(record.SoundPlay());
    clock.start();
    // Generous: a loaded machine may deliver late, but a live source never stops.
    while (halves.size() < 8 && clock.elapsed() < 30000) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
        QThread::msleep(10);
    }
    record.SoundStop();
    record.UninitializeSound();
    ASSERT_GE(halves.size(), 8u);
    SKIP_WHERE_THE_MICROPHONE_GRAPH_MISSED_SINCE(startedRawNs);
    std::cout << "[ measured ] first half after " << arrivals.front() << " ms, then one every "
              << double(arrivals.back() - arrivals.front()) / double(arrivals.size() - 1) << " ms" << std::endl;

    for (size_t h = 2; h < halves.size(); ++h) {
        SCOPED_TRACE(h);
        ASSERT_EQ(halves[h].size(), 17640);
        for (int c = 0; c < 2; ++c) {
            const std::vector<std::int16_t> samples = channel(halves[h], c);
            // measuredHz counts in the sink's rate; these samples are at the microphone's.
            const double hz = measuredHz(samples, 0, qint64(samples.size())) * kMicRate / kSinkRate;
            EXPECT_NEAR(hz, 440, 4) << "channel " << c + 1;
            EXPECT_GT(peakBetween(samples, 0, qint64(samples.size())), 3000) << "channel " << c + 1;
        }
    }
}

TEST_F(RealCapture, AMicrophoneThatDoesNotExistIsAnErrorText) {
    frmDX_Record record(main);
    const QString text = record.Initialize(kMicRate, 16, 2, 0, "no such microphone");
    EXPECT_TRUE(text.startsWith("Error: 68\r\nDesription: No capture device: ")) << text.toStdString();
    EXPECT_TRUE(text.endsWith("\r\nSource: Tonara")) << text.toStdString();
    EXPECT_TRUE(record.SoundPlay()) << "closed, and harmless";
}

} // namespace tonara::test
