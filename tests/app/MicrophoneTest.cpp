// The microphone display of the main window: start-up, the menu item, "+"
// and "-", drawing the captured halves, and a missing microphone.
#include "MicrophoneRig.h"
#include "WaveBox.h"

#include <QtEndian>
#include <QAction>
#include <QPainter>
#include <QPushButton>
#include <QThread>
#include <cmath>
#include <cstdio>
#include <iostream>
#include <numbers>
#include <thread>

namespace tonara::test {

namespace {

// 100 ms of a 440 Hz sine, 16-bit stereo, channel 1 at amplitude left and channel 2 at right.
QByteArray sineHalf(int left, int right) {
    QByteArray bytes(kHalfBytes, '\0');
    for (int f = 0; f < kHalfBytes / 4; ++f) {
        const double s = std::sin(2 * std::numbers::pi * 440 * f / kRate);
        qToLittleEndian(qint16(std::lround(left * s)), bytes.data() + 4 * f);
        qToLittleEndian(qint16(std::lround(right * s)), bytes.data() + 4 * f + 2);
    }
    return bytes;
}

double upperPeak(const WavePicture& p) {
    double peak = 0;
    for (const QPointF& point : p.traces[0].points) peak = std::max(peak, std::abs(point.y() - 0.5));
    return peak;
}

} // namespace

TEST(Microphone, AtStartUpEveryCapturedHalfIsDrawnAcrossTheBox) {
    MicrophoneRig rig;
    rig.writeSettings(microphoneOn());
    rig.form->start();
    const PlatformRecord* open = rig.env.fake.last("capture-open");
    ASSERT_NE(open, nullptr);
    EXPECT_EQ(open->text, "");
    EXPECT_EQ(open->format, "44100 Hz 16 bits 2 channels");
    EXPECT_EQ(rig.env.fake.count("capture-start"), 1);
    EXPECT_TRUE(rig.form->isChecked(form1::microinputonoff));
    EXPECT_TRUE(rig.form->isEnabled(form1::Command4));
    EXPECT_EQ(rig.activityLog().last(), ">> Program starting finished");

    ASSERT_TRUE(rig.feedAndDraw(sineHalf(10000, 5000)));
    const WavePicture& p = rig.box().picture();
    EXPECT_EQ(p.right, 4409);
    EXPECT_EQ(p.top, 1);
    EXPECT_EQ(p.bottom, -1);
    EXPECT_NEAR(double(p.traces[0].points.size()), rig.box().widthPx(), 2) << "about one point per pixel";
    EXPECT_NEAR(upperPeak(p), 0.5, 0.02) << "channel 1 at 10000 of 20000";
    double lowerPeak = 0;
    for (const QPointF& point : p.traces[1].points) lowerPeak = std::max(lowerPeak, std::abs(point.y() + 0.5));
    EXPECT_NEAR(lowerPeak, 0.25, 0.02) << "channel 2 at 5000";
}

TEST(Microphone, PlusAndMinusKeepTheSensitivityFrom1To20AndTheDrawingFollows) {
    MicrophoneRig rig;
    rig.writeSettings(microphoneOn());
    rig.form->start();
    ASSERT_TRUE(rig.feedAndDraw(sineHalf(4000, 4000)));
    const double atOne = upperPeak(rig.box().picture());

    click(*rig.form, form1::Command4);
    EXPECT_EQ(rig.form->state().sensmicro, 2);
    EXPECT_EQ(rig.form->caption(form1::Frame4), "Microphone input, sensitivity: 2");
    EXPECT_EQ(rig.settingsLine(5), "Microphone= 2");
    EXPECT_EQ(rig.activityLog().filter("> Write action").last(), "> Write action, Line:  5, Value: Microphone= 2");
    ASSERT_TRUE(rig.feedAndDraw(sineHalf(4000, 4000)));
    EXPECT_NEAR(upperPeak(rig.box().picture()), 2 * atOne, 1e-6);

    for (int press = 0; press < 25; ++press) click(*rig.form, form1::Command4);
    EXPECT_EQ(rig.form->state().sensmicro, 20);
    EXPECT_TRUE(rig.form->caption(form1::Frame4).endsWith(" 20"));
    EXPECT_EQ(rig.settingsLine(5), "Microphone= 20");

    for (int press = 0; press < 19; ++press) click(*rig.form, form1::Command5);
    EXPECT_EQ(rig.settingsLine(5), "Microphone= 1");
    const int writesAtOne = rig.writes();
    click(*rig.form, form1::Command5);
    EXPECT_EQ(rig.form->state().sensmicro, 1);
    EXPECT_EQ(rig.writes(), writesAtOne) << "nothing is written at the bound";
    EXPECT_EQ(rig.form->caption(form1::Frame4), "Microphone input, sensitivity: 1");
}

TEST(Microphone, TurningTheItemOffClearsTheBoxAndOnStartsAFreshCapture) {
    MicrophoneRig rig;
    rig.writeSettings(microphoneOn());
    rig.form->start();
    ASSERT_TRUE(rig.feedAndDraw(sineHalf(10000, 10000)));

    rig.toggleItem();
    EXPECT_FALSE(rig.form->isChecked(form1::microinputonoff));
    EXPECT_EQ(rig.settingsLine(6), "MicrophoneON=n");
    EXPECT_EQ(rig.form->state().microcheck, 0);
    EXPECT_EQ(rig.env.fake.count("capture-close"), 1);
    EXPECT_EQ(rig.env.fake.startedCapture.load(), nullptr);
    EXPECT_TRUE(rig.box().picture().traces.empty()) << "cleared";
    EXPECT_FALSE(rig.form->isEnabled(form1::Command4));
    EXPECT_FALSE(rig.form->isEnabled(form1::Command5));

    rig.toggleItem();
    EXPECT_TRUE(rig.form->isChecked(form1::microinputonoff));
    EXPECT_EQ(rig.settingsLine(6), "MicrophoneON=y");
    EXPECT_EQ(rig.form->state().microcheck, 1);
    EXPECT_EQ(rig.env.fake.count("capture-open"), 2);
    EXPECT_EQ(rig.env.fake.count("capture-start"), 2);
    EXPECT_TRUE(rig.form->isEnabled(form1::Command4));
    EXPECT_TRUE(rig.form->isEnabled(form1::Command5));
    EXPECT_TRUE(rig.feedAndDraw(sineHalf(10000, 10000)));
}

TEST(Microphone, WithoutAMicrophoneTheErrorIsShownAndTheDisplayRecordedOff) {
    MicrophoneRig rig;
    rig.env.fake.noCaptureReason = "No capture device: gone";
    rig.writeSettings(microphoneOn());
    rig.form->start();
    const PlatformRecord* box = rig.env.fake.last("message");
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(box->title, "DirectSound Error");
    EXPECT_EQ(box->text, "Error: 68\r\nDesription: No capture device: gone\r\nSource: Tonara");
    EXPECT_EQ(box->icon, MessageIcon::Exclamation);
    EXPECT_FALSE(rig.form->isChecked(form1::microinputonoff));
    EXPECT_EQ(rig.settingsLine(6), "MicrophoneON=n");
    EXPECT_EQ(rig.form->state().microcheck, 0);
    EXPECT_FALSE(rig.form->isEnabled(form1::Command4)) << "nothing to adjust while the display is off";
    EXPECT_TRUE(rig.form->isVisible()) << "start-up goes on";

    rig.toggleItem();
    EXPECT_EQ(rig.env.fake.count("message"), 2);
    EXPECT_FALSE(rig.form->isChecked(form1::microinputonoff));
    EXPECT_EQ(rig.settingsLine(6), "MicrophoneON=n");
    EXPECT_FALSE(rig.form->isEnabled(form1::Command4));
    EXPECT_FALSE(rig.form->isEnabled(form1::Command5));
}

TEST(Microphone, OnlyEightAndSixteenBitHalvesAreDrawn) {
    MicrophoneRig rig;
    rig.writeSettings(validSettings());
    rig.form->start();
    rig.form->DirectSoundRecord_GotWaveData(QByteArray(1001, char(128)), 8, 1);
    const WavePicture eightBit = rig.box().picture();
    ASSERT_EQ(eightBit.traces.size(), 1u);
    EXPECT_EQ(eightBit.top, 127);
    rig.form->DirectSoundRecord_GotWaveData(sineHalf(1000, 1000), 24, 2);
    EXPECT_EQ(rig.box().picture().top, 127) << "24 bits: the last picture stays";
    EXPECT_EQ(rig.box().picture().traces[0].points, eightBit.traces[0].points);
}

TEST(Microphone, ShutDownStopsAndClosesTheCapture) {
    MicrophoneRig rig;
    rig.writeSettings(microphoneOn());
    rig.form->start();
    EXPECT_THROW(rig.form->unloadHandler(), ProgramEnded);
    EXPECT_EQ(rig.env.fake.count("capture-close"), 1);
    EXPECT_EQ(rig.env.fake.startedCapture.load(), nullptr);
}

TEST(WaveBoxPainting, APictureFillsTheBoxAtEveryPixelRatio) {
    WaveBox box(form1::picWave, 177, 49);
    box.resize(177, 49);
    EXPECT_EQ(box.widthPx(), int(std::lround(177 * box.devicePixelRatioF())));
    WavePicture rising;
    rising.right = 100;
    rising.top = 1;
    rising.bottom = -1;
    rising.traces.push_back({QPointF(0, -0.9), {QPointF(50, 0), QPointF(100, 0.9)}});
    box.setPicture(rising);
    for (const double ratio : {1.0, 2.0}) {
        SCOPED_TRACE(ratio);
        QImage image(QSize(177, 49) * ratio, QImage::Format_RGB32);
        image.setDevicePixelRatio(ratio);
        box.render(&image);
        const int w = image.width(), h = image.height();
        const auto inkedRows = [&](int x) {
            std::vector<int> rows;
            for (int y = 0; y < h; ++y)
                if (image.pixelColor(x, y) != QColor(Qt::white)) rows.push_back(y);
            return rows;
        };
        // -0.9 is 95 % of the way down, 0.9 is 5 %.
        const std::vector<int> left = inkedRows(0), middle = inkedRows(w / 2), right = inkedRows(w - 1);
        ASSERT_FALSE(left.empty()) << "the line starts at the left edge";
        EXPECT_NEAR(left.front(), 0.95 * h, 2);
        ASSERT_FALSE(middle.empty());
        EXPECT_NEAR(middle.front(), 0.5 * h, 2);
        ASSERT_FALSE(right.empty()) << "and reaches the right edge";
        EXPECT_NEAR(right.back(), 0.05 * h, 2);
    }
}

} // namespace tonara::test
