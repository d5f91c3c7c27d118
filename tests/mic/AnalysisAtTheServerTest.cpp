// The microphone display's readouts on real sound: the test server's 440 Hz
// microphone beside parec and sox, and Tonara's own tones through the
// monitor of its output.
#include "MicrophoneAnalyser.h"
#include "MissedCycles.h"
#include "ProgramRig.h"
#include "SinkRecording.h"
#include "Synthesis.h"
#include "TestedPlatform.h"
#include "frmDX_Record.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QRegularExpression>
#include <QThread>
#include <gtest/gtest.h>

namespace tonara::test {

namespace {

constexpr int kMicRate = 44100;

struct Reading {
    MicrophoneReadings readings;
    qint64 atMs; // since the capture started
};

class MeasuredCapture : public ::testing::Test, protected LogicRig {
protected:
    void SetUp() override {
        if (!soundServerReachable()) GTEST_SKIP() << kNoSoundServer;
        setPlatform(&platform_);
    }
    void TearDown() override {
        platform_.silenceWav();
        setPlatform(nullptr);
    }

    // The readouts of halves captured from source, until `halves` have arrived.
    std::vector<Reading> readingsOf(const QString& source, size_t halves) {
        frmDX_Record record(main);
        MicrophoneAnalyser analyser(kMicRate);
        std::vector<Reading> readings;
        QElapsedTimer clock;
        const auto measure = [&](const QByteArray& half, qint16 bits, qint16 channels) {
            readings.push_back({analyser.add(half, bits, channels), clock.elapsed()});
        };
        QObject::connect(&record, &frmDX_Record::GotWaveData, measure);
        EXPECT_EQ(record.Initialize(kMicRate, 16, 2, 0, source), "");
        record.SoundPlay();
        clock.start();
        // Generous: a loaded machine may deliver late, but a live source never stops.
        while (readings.size() < halves && clock.elapsed() < 30000) {
            QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
            QThread::msleep(5);
        }
        record.SoundStop();
        qint64 longestGap = 0;
        for (size_t k = 1; k < readings.size(); ++k)
            longestGap = std::max(longestGap, readings[k].atMs - readings[k - 1].atMs);
        report("the longest wait between two halves", double(longestGap), "ms");
        return readings;
    }

    TestedPlatform platform_;
};

// The first half that reads hz to 0.1 Hz, as the label shows it, and from there on every one.
size_t firstSteadyReading(const std::vector<Reading>& readings, double hz) {
    const QString wanted = frequencyText(hz);
    size_t first = readings.size();
    for (size_t k = readings.size(); k-- > 0;) {
        if (frequencyText(readings[k].readings.hz) != wanted) break;
        first = k;
    }
    return first;
}

// sox's own measure of a raw 16-bit stereo recording: the RMS level in dBFS.
std::optional<double> soxRmsDb(const QByteArray& raw) {
    QProcess sox;
    sox.start("sox", {"-t", "raw", "-r", QString::number(kMicRate), "-e", "signed", "-b", "16", "-c", "2", "-", "-n",
                      "stats"});
    if (!sox.waitForStarted(5000)) return std::nullopt;
    sox.write(raw);
    sox.closeWriteChannel();
    sox.waitForFinished(10000);
    const QRegularExpressionMatch m =
        QRegularExpression(R"(RMS lev dB\s+(-?[0-9.]+))").match(QString::fromLatin1(sox.readAllStandardError()));
    if (!m.hasMatch()) return std::nullopt;
    return m.captured(1).toDouble();
}

} // namespace

TEST_F(MeasuredCapture, TheSineMicrophoneReads440HzWithinASecondAndTheLevelSoxMeasures) {
    const CaptureSources sources = platform().captureSources();
    ASSERT_FALSE(sources.defaultName.isEmpty());
    const auto has = [&](const QString& name) {
        return std::ranges::any_of(sources.sources, [&](const CaptureSource& s) { return s.name == name; });
    };
    EXPECT_TRUE(has("tonara_mic.monitor"));
    EXPECT_TRUE(has("tonara_out.monitor")) << "the monitor of the output is a source too";

    // parec records the same source, in the same format, at the same time.
    QProcess parec;
    parec.start("parec", {"-d", sources.defaultName, "--rate=44100", "--channels=2", "--format=s16le", "--raw",
                          "--latency-msec=20"});
    ASSERT_TRUE(parec.waitForStarted(5000));
    const std::int64_t startedRawNs = monotonicRawNs();
    const std::vector<Reading> readings = readingsOf("", 15);
    parec.terminate();
    parec.waitForFinished(5000);
    const QByteArray recorded = parec.readAllStandardOutput();
    ASSERT_EQ(readings.size(), 15u);
    SKIP_WHERE_THE_MICROPHONE_GRAPH_MISSED_SINCE(startedRawNs);

    const size_t steady = firstSteadyReading(readings, 440.0);
    ASSERT_LT(steady, readings.size())
        << "the last reading: " << frequencyText(readings.back().readings.hz).toStdString();
    report("halves before \"Frequency: 440.0 Hz\" holds", double(steady + 1), "halves");
    report("\"Frequency: 440.0 Hz\" after", double(readings[steady].atMs), "ms");
    EXPECT_LE(steady + 1, 5u) << "within half a second of sound";
    report("the last frequency read, off 440 Hz by", *readings.back().readings.hz - 440, "Hz");

    // The level of the steady readings, and sox's of parec's recording past its first half second.
    double tonaraRms = 0;
    for (size_t k = steady; k < readings.size(); ++k) tonaraRms += readings[k].readings.level.rmsDb;
    tonaraRms /= double(readings.size() - steady);
    const qsizetype skip = std::min<qsizetype>(recorded.size() / 2, kMicRate * 4 / 2) & ~qsizetype(3);
    ASSERT_GT(recorded.size() - skip, kMicRate * 4 / 5) << "parec recorded " << recorded.size() << " bytes";
    const std::optional<double> soxRms = soxRmsDb(recorded.mid(skip));
    ASSERT_TRUE(soxRms.has_value()) << "sox stats gave no RMS level";
    report("Level: RMS by Tonara", tonaraRms, "dBFS");
    report("RMS by sox of parec's recording", *soxRms, "dBFS");
    EXPECT_NEAR(tonaraRms, *soxRms, 0.1);
    EXPECT_EQ(levelText(readings.back().readings.level).left(7), "Level: ");
}

TEST_F(MeasuredCapture, TonarasOwnTonesReadTheirPitchThroughTheMonitorOfItsOutput) {
    for (const qint32 pitch : {10000, 12345}) {
        SCOPED_TRACE(pitch);
        // What High pitch and a custom pitch play: the one-second tone WAV, looped.
        writeToneWav(pitch);
        platform().playWav(temporaryToneWav(), true);
        const std::int64_t startedRawNs = monotonicRawNs();
        const std::vector<Reading> readings = readingsOf("tonara_out.monitor", 15);
        platform().silenceWav();
        ASSERT_EQ(readings.size(), 15u);
        SKIP_WHERE_THE_MICROPHONE_GRAPH_MISSED_SINCE(startedRawNs);
        const size_t steady = firstSteadyReading(readings, pitch);
        EXPECT_LE(steady + 1, 10u) << "the last reading: " << frequencyText(readings.back().readings.hz).toStdString();
        if (steady < readings.size()) {
            report("pitch " + std::to_string(pitch) + " read, off by", *readings.back().readings.hz - pitch, "Hz");
            report("its level", readings.back().readings.level.rmsDb, "dBFS RMS");
            report("its peak", readings.back().readings.level.peakDb, "dBFS");
        }
    }
}

} // namespace tonara::test
