// The capture object on the recording platform: opening, the halves it
// raises on the interface thread, and its failures as text.
#include "ProgramRig.h"
#include "frmDX_Record.h"

#include <QCoreApplication>
#include <QThread>
#include <gtest/gtest.h>
#include <thread>

namespace tonara::test {

namespace {

struct Raised {
    QByteArray buffer;
    qint16 bits = 0;
    qint16 channels = 0;
    bool onInterfaceThread = false;
};

struct CaptureRig : LogicRig {
    frmDX_Record record{main};
    std::vector<Raised> raised;

    CaptureRig() : LogicRig(ErrorWindow::Waits) {
        QObject::connect(&record, &frmDX_Record::GotWaveData,
                         [this](const QByteArray& buffer, qint16 bits, qint16 channels) {
                             raised.push_back({buffer, bits, channels,
                                               QThread::currentThread() == QCoreApplication::instance()->thread()});
                         });
    }

    // Feeds from a thread of its own, as the sound library does.
    void feedFromAnotherThread(const QByteArray& bytes, int blockBytes) {
        std::thread audio([&] {
            for (qsizetype at = 0; at < bytes.size(); at += blockBytes) env.fake.feedCapture(bytes.mid(at, blockBytes));
        });
        audio.join();
    }

    // Lets the queued hand-over arrive; the relay thread may need a moment.
    void waitForHalves(size_t count) {
        for (int pass = 0; pass < 2000 && raised.size() < count; ++pass) {
            QCoreApplication::processEvents();
            QThread::msleep(5);
        }
    }
};

QByteArray pattern(int size) {
    QByteArray bytes(size, '\0');
    for (int k = 0; k < size; ++k) bytes[k] = char(k * 7 + k / 251);
    return bytes;
}

} // namespace

TEST(CaptureObject, FilledHalvesAreRaisedWholeInOrderOnTheInterfaceThread) {
    CaptureRig rig;
    EXPECT_EQ(rig.record.Initialize(44100, 16, 2, 0, ""), "");
    const PlatformRecord* open = rig.env.fake.last("capture-open");
    ASSERT_NE(open, nullptr);
    EXPECT_EQ(open->text, "") << "the default device";
    EXPECT_EQ(open->format, "44100 Hz 16 bits 2 channels");
    EXPECT_FALSE(rig.env.fake.feedCapture(QByteArray(4, '\0'))) << "idle until SoundPlay";

    EXPECT_TRUE(rig.record.SoundPlay());
    const QByteArray sound = pattern(2 * 17640 + 500);
    rig.feedFromAnotherThread(sound, 4096);
    rig.waitForHalves(2);
    ASSERT_EQ(rig.raised.size(), 2u);
    for (int h = 0; h < 2; ++h) {
        EXPECT_EQ(rig.raised[h].buffer, sound.mid(h * 17640, 17640)) << "half " << h;
        EXPECT_EQ(rig.raised[h].bits, 16);
        EXPECT_EQ(rig.raised[h].channels, 2);
        EXPECT_TRUE(rig.raised[h].onInterfaceThread);
    }
    EXPECT_NE(rig.raised[0].buffer.constData(), rig.raised[1].buffer.constData()) << "a fresh array each";

    EXPECT_TRUE(rig.record.SoundStop());
    EXPECT_FALSE(rig.env.fake.feedCapture(QByteArray(4, '\0')));
    EXPECT_EQ(rig.env.fake.count("capture-start"), 1);
    EXPECT_EQ(rig.env.fake.count("capture-stop"), 1);
}

TEST(CaptureObject, HalvesNotYetRaisedAreDroppedWhenTheCaptureCloses) {
    CaptureRig rig;
    ASSERT_EQ(rig.record.Initialize(8000, 8, 1, 1001, ""), "");
    rig.record.SoundPlay();
    rig.feedFromAnotherThread(pattern(1001), 1001);
    rig.record.UninitializeSound();
    EXPECT_EQ(rig.env.fake.count("capture-close"), 1);
    // Closing joined the relay thread, so its wake-up is already queued.
    QCoreApplication::processEvents();
    EXPECT_TRUE(rig.raised.empty());
    EXPECT_TRUE(rig.record.SoundPlay());
    EXPECT_EQ(rig.env.fake.count("capture-start"), 1) << "closed: SoundPlay does nothing";
}

TEST(CaptureObject, StopAndPlayBeforeInitializeDoNothing) {
    CaptureRig rig;
    EXPECT_TRUE(rig.record.SoundStop());
    EXPECT_TRUE(rig.record.SoundPlay());
    rig.record.UninitializeSound();
    EXPECT_TRUE(rig.env.fake.records.empty());
}

TEST(CaptureObject, FailuresComeBackAsTextAndLeaveTheCaptureClosed) {
    CaptureRig rig;
    rig.env.fake.noCaptureReason = "No capture device: no source";
    EXPECT_EQ(rig.record.Initialize(44100, 16, 2, 0, ""),
              "Error: 68\r\nDesription: No capture device: no source\r\nSource: Tonara");
    rig.record.SoundPlay();
    EXPECT_EQ(rig.env.fake.count("capture-start"), 0);

    rig.env.fake.noCaptureReason.clear();
    EXPECT_EQ(rig.record.Initialize(8000, 4, 1, 0, ""), "Error: 11\r\nDesription: Division by zero\r\nSource: Tonara");
    EXPECT_EQ(rig.env.fake.count("capture-open"), 0) << "nothing is opened for a format without frames";
}

TEST(CaptureObject, InitializingAgainClosesTheFirstCaptureAndUnloadingClosesTheLast) {
    CaptureRig rig;
    {
        frmDX_Record record(rig.main);
        ASSERT_EQ(record.Initialize(44100, 16, 2, 0, ""), "");
        record.SoundPlay();
        ASSERT_EQ(record.Initialize(44100, 16, 1, 0, ""), "");
        EXPECT_EQ(rig.env.fake.count("capture-close"), 1);
    }
    EXPECT_EQ(rig.env.fake.count("capture-close"), 2);
}

} // namespace tonara::test
