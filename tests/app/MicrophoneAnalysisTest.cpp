// The microphone frame's measuring controls on the fake platform: their
// names and keys, the readouts, Trigger, Spectrum, Freeze and Input.
#include "AnalyserSettings.h"
#include "MicrophoneRig.h"
#include "SyntheticHalves.h"
#include "Trigger.h"
#include "frmDX_Record.h"

#include <QAccessible>
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QApplication>
#include <QLabel>
#include <QTest>

namespace tonara::test {

namespace {

struct AnalyserRig : MicrophoneRig {
    AnalyserRig() {
        env.fake.captureSourceList = {{{"alsa_input.mic", "Built-in Microphone"},
                                       {"tonara_out.monitor", "Monitor of Tonara's output"}},
                                      "alsa_input.mic"};
    }
    void startWithTheDisplayOn(const QString& language = "EN") {
        QStringList lines = microphoneOn();
        lines[2] = "Language=" + language;
        writeSettings(lines);
        form->start();
        // Counts every half the capture raises, drawn or not.
        QObject::connect(form->findChild<frmDX_Record*>(), &frmDX_Record::GotWaveData, [this] { ++raised; });
    }
    // Feeds halves in one block from the audio thread and waits until each was raised.
    bool feed(const QByteArray& halves) {
        const int expected = raised + int(halves.size() / kHalfBytes);
        std::thread audio([&] { env.fake.feedCapture(halves); });
        audio.join();
        for (int pass = 0; pass < 4000 && raised < expected; ++pass) {
            QCoreApplication::processEvents();
            QThread::msleep(1);
        }
        return raised == expected;
    }
    AnalyserSettings remembered() const {
        QFile file(env.appData("analyser.ini"));
        return file.open(QIODevice::ReadOnly) ? parseAnalyserSettings(file.readAll()) : AnalyserSettings{};
    }
    // A new main window on the same folders, as at the next start.
    void restart() {
        form.reset();
        form = std::make_unique<Form1>();
    }

    int raised = 0;
};

// The name assistive technology reads, as Qt hands it to AT-SPI.
QString accessibleName(QWidget* widget) {
    QAccessibleInterface* face = QAccessible::queryAccessibleInterface(widget);
    return face ? face->text(QAccessible::Name) : QString();
}

} // namespace

TEST(MicrophoneAnalysis, TheControlsAreNamedAndTabFollowsPlusThroughThem) {
    AnalyserRig rig;
    rig.startWithTheDisplayOn();
    rig.form->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(rig.form.get()));
    control<QWidget>(*rig.form, form1::Command4).setFocus();
    // Each box's caption is its name.
    for (MainControl name : {form1::Trigger, form1::Spectrum, form1::Freeze}) {
        SCOPED_TRACE(name.name());
        auto* box = &control<QCheckBox>(*rig.form, name);
        ASSERT_NE(box, nullptr);
        EXPECT_EQ(box->text(), name.text());
        EXPECT_EQ(accessibleName(box), name.text());
        EXPECT_FALSE(box->isChecked());
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        EXPECT_EQ(QApplication::focusWidget(), box);
    }
    auto* input = &control<QComboBox>(*rig.form, form1::Input);
    ASSERT_NE(input, nullptr);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), input);
    auto* inputLabel = &control<QLabel>(*rig.form, form1::InputLabel);
    EXPECT_EQ(inputLabel->buddy(), input);
    // On Linux a combo box's name is its text; its label reaches AT-SPI as the one it is labelled by.
    bool labelled = false;
    for (const auto& [other, relation] : QAccessible::queryAccessibleInterface(input)->relations(QAccessible::Label))
        labelled = labelled || other->object() == inputLabel;
    EXPECT_TRUE(labelled);
    EXPECT_EQ(accessibleName(inputLabel), "Input:");
    EXPECT_EQ(accessibleName(&control<QLabel>(*rig.form, form1::Level)), "Level: silent");
    EXPECT_EQ(caption(*rig.form, form1::Frequency), "Frequency: -");
    EXPECT_EQ(caption(*rig.form, form1::Level), "Level: silent");
}

TEST(MicrophoneAnalysis, WhileTheDisplayIsOffTheControlsAreToo) {
    AnalyserRig rig;
    rig.writeSettings(validSettings()); // MicrophoneON=n
    rig.form->start();
    EXPECT_FALSE(control<QWidget>(*rig.form, form1::Analyser).isEnabled());
    rig.toggleItem();
    EXPECT_TRUE(control<QWidget>(*rig.form, form1::Analyser).isEnabled());
    EXPECT_TRUE(control<QCheckBox>(*rig.form, form1::Trigger).isEnabled());
}

TEST(MicrophoneAnalysis, TheReadoutsSayWhatArrives) {
    AnalyserRig rig;
    rig.startWithTheDisplayOn();
    const Signal signal = sine(443, 0.5);
    ASSERT_TRUE(rig.feed(half16(signal, 0)));
    EXPECT_EQ(caption(*rig.form, form1::Frequency), "Frequency: -") << "one half is not yet a window";
    EXPECT_EQ(caption(*rig.form, form1::Level), "Level: -9.0 dBFS RMS, -6.0 dBFS peak");
    ASSERT_TRUE(rig.feed(half16(signal, kHalfFrames)));
    EXPECT_EQ(caption(*rig.form, form1::Frequency), "Frequency: 443.0 Hz");
    EXPECT_EQ(accessibleName(&control<QLabel>(*rig.form, form1::Frequency)), "Frequency: 443.0 Hz") << "read out over AT-SPI";
}

TEST(MicrophoneAnalysis, InDutchTheControlsAndTheReadoutsWordsAreDutchAndTheirNumbersStay) {
    AnalyserRig rig;
    rig.startWithTheDisplayOn("NL");
    EXPECT_EQ(control<QCheckBox>(*rig.form, form1::Freeze).text(), "Bevriezen");
    EXPECT_EQ(caption(*rig.form, form1::InputLabel), "&Invoer:");
    EXPECT_EQ(caption(*rig.form, form1::Level), "Niveau: stil");
    const Signal signal = sine(443, 0.5);
    ASSERT_TRUE(rig.feed(half16(signal, 0)));
    ASSERT_TRUE(rig.feed(half16(signal, kHalfFrames)));
    EXPECT_EQ(caption(*rig.form, form1::Frequency), "Frequentie: 443.0 Hz");
    EXPECT_EQ(caption(*rig.form, form1::Level), "Niveau: -9.0 dBFS RMS, -6.0 dBFS piek");
    rig.form->languageClicked(false); // back to English: the words follow at once
    EXPECT_EQ(caption(*rig.form, form1::Level), "Level: -9.0 dBFS RMS, -6.0 dBFS peak");
    EXPECT_EQ(control<QCheckBox>(*rig.form, form1::Freeze).text(), "Freeze");
}

TEST(MicrophoneAnalysis, TriggerOffDrawsTheHalfAsItIsOnFromItsRiseSpectrumTheSpectrum) {
    AnalyserRig rig;
    rig.startWithTheDisplayOn();
    const Signal signal = sine(443, 0.25, 1.0);
    const QByteArray first = half16(signal, 0);
    const QByteArray second = half16(signal, kHalfFrames);
    const QByteArray third = half16(signal, 2 * kHalfFrames);
    const auto asDrawn = [&](const QByteArray& half) {
        return drawing16Bit(samples16Bit(half), rig.box().widthPx(), true, 1);
    };
    const auto same = [](const WavePicture& a, const WavePicture& b) {
        return a.right == b.right && a.top == b.top && a.bottom == b.bottom && a.traces.size() == b.traces.size() &&
               a.traces[0].points == b.traces[0].points && a.traces[1].points == b.traces[1].points;
    };
    ASSERT_TRUE(rig.feed(first));
    EXPECT_TRUE(same(rig.box().picture(), asDrawn(first)));

    QTest::keyClick(&control<QCheckBox>(*rig.form, form1::Trigger), Qt::Key_Space);
    EXPECT_TRUE(rig.remembered().trigger);
    ASSERT_TRUE(rig.feed(second));
    EXPECT_TRUE(same(rig.box().picture(), asDrawn(triggeredHalf(first, second, 16, 2))));
    EXPECT_FALSE(same(rig.box().picture(), asDrawn(second))) << "the sine's phase at the half's start is not 0";

    QTest::keyClick(&control<QCheckBox>(*rig.form, form1::Spectrum), Qt::Key_Space);
    EXPECT_EQ(rig.remembered(), (AnalyserSettings{true, true, ""}));
    ASSERT_TRUE(rig.feed(third));
    EXPECT_EQ(rig.box().picture().bottom, -120);
    EXPECT_EQ(rig.box().picture().traces.at(0).points.size(), size_t(rig.box().widthPx()));
}

// The first point of the upper trace in every picture painted.
struct PaintedPictures : QObject {
    explicit PaintedPictures(WaveBox& box) : box_(box) { box.installEventFilter(this); }
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint && !box_.picture().traces.empty())
            firstPoints.push_back(box_.picture().traces[0].points.at(0).y());
        return false;
    }
    WaveBox& box_;
    std::vector<double> firstPoints;
};

// Halves that the interface thread takes late arrive together; each was
// drawn over the last before anything was painted, so only the last of
// them reached the screen.
TEST(MicrophoneAnalysis, EveryHalfReachesTheScreenAlsoWhenSeveralArriveTogether) {
    AnalyserRig rig;
    rig.startWithTheDisplayOn();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(rig.form.get())) << "nothing is painted before";
    PaintedPictures painted(rig.box());
    QByteArray together;
    for (const int level : {4000, 8000, 12000}) together += half16([=](qint64) { return level / 32768.0; }, 0);
    ASSERT_TRUE(rig.feed(together));
    QCoreApplication::processEvents();
    const auto y = [](int level) { return level / 20000.0 + 0.5; };
    EXPECT_EQ(painted.firstPoints, (std::vector<double>{y(4000), y(8000), y(12000)}));
}

TEST(MicrophoneAnalysis, FreezeHoldsThePictureAndTheReadouts) {
    AnalyserRig rig;
    rig.startWithTheDisplayOn();
    ASSERT_TRUE(rig.feed(half16(sine(440, 0.5), 0)));
    ASSERT_TRUE(rig.feed(half16(sine(440, 0.5), kHalfFrames)));
    const std::vector<QPointF> held = rig.box().picture().traces.at(0).points;
    QTest::keyClick(&control<QCheckBox>(*rig.form, form1::Freeze), Qt::Key_Space);
    for (int h = 0; h < 3; ++h) ASSERT_TRUE(rig.feed(half16(sine(1000, 0.1), h * kHalfFrames)));
    EXPECT_EQ(rig.box().picture().traces.at(0).points, held);
    EXPECT_EQ(caption(*rig.form, form1::Frequency), "Frequency: 440.0 Hz");
    EXPECT_EQ(caption(*rig.form, form1::Level), "Level: -9.0 dBFS RMS, -6.0 dBFS peak");

    QTest::keyClick(&control<QCheckBox>(*rig.form, form1::Freeze), Qt::Key_Space);
    ASSERT_TRUE(rig.feed(half16(sine(1000, 0.1), 3 * kHalfFrames)));
    EXPECT_EQ(caption(*rig.form, form1::Level), "Level: -23.0 dBFS RMS, -20.0 dBFS peak");
}

TEST(MicrophoneAnalysis, InputListsTheServersSourcesAndReopensTheCaptureOnTheOneChosen) {
    AnalyserRig rig;
    rig.startWithTheDisplayOn();
    auto* input = &control<QComboBox>(*rig.form, form1::Input);
    ASSERT_EQ(input->count(), 3);
    EXPECT_EQ(input->itemText(0), "Default source (Built-in Microphone)");
    EXPECT_EQ(input->itemText(2), "Monitor of Tonara's output");
    EXPECT_EQ(input->currentIndex(), 0);
    EXPECT_EQ(rig.env.fake.last("capture-open")->text, "") << "the default source, as before";

    input->setFocus();
    QTest::keyClick(input, Qt::Key_Down);
    QTest::keyClick(input, Qt::Key_Down);
    EXPECT_EQ(rig.env.fake.count("capture-open"), 3) << "reopened at each choice";
    EXPECT_EQ(rig.env.fake.last("capture-open")->text, "tonara_out.monitor");
    EXPECT_EQ(rig.env.fake.count("capture-start"), 3);
    EXPECT_EQ(rig.remembered().input, "tonara_out.monitor");
    EXPECT_EQ(rig.settingsLine(6), "MicrophoneON=y") << "tonara.ini keeps its meaning";
    EXPECT_EQ(fileLines(rig.env.appData("tonara.ini")).size(), 6);

    // The next start opens the remembered source; once the server lacks it, the default.
    rig.restart();
    rig.form->start();
    EXPECT_EQ(rig.env.fake.last("capture-open")->text, "tonara_out.monitor");
    EXPECT_EQ(control<QComboBox>(*rig.form, form1::Input).currentText(), "Monitor of Tonara's output");
    rig.env.fake.captureSourceList.sources.pop_back();
    rig.restart();
    rig.form->start();
    EXPECT_EQ(rig.env.fake.last("capture-open")->text, "");
    EXPECT_EQ(control<QComboBox>(*rig.form, form1::Input).currentIndex(), 0);
    EXPECT_EQ(rig.env.fake.count("message"), 0) << "no error for a source that went away";
}

TEST(MicrophoneAnalysis, ADamagedChoicesFileStartsWithTheDefaults) {
    AnalyserRig rig;
    writeBytes(rig.env.appData("analyser.ini"), QByteArray("Trigger=\xff\nInput=\0x", 18));
    rig.restart();
    rig.startWithTheDisplayOn();
    EXPECT_FALSE(control<QCheckBox>(*rig.form, form1::Trigger).isChecked());
    EXPECT_EQ(rig.env.fake.last("capture-open")->text, "");
}

} // namespace tonara::test
