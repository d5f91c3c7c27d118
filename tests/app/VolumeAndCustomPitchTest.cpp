// The main window's output volume and typed custom pitch, and the
// direction of the pitch slider's keys.
#include "AppRig.h"
#include "GeneratorSettings.h"

#include <QDir>
#include <QScrollBar>
#include <QSpinBox>
#include <QTest>
#include <QWheelEvent>
#include <cmath>

namespace tonara::test {

namespace {

void startIdle(AppRig& rig) {
    rig.writeSettings(validSettings());
    rig.form->start();
}

// The largest sample of a WAV image's first channel, in 16-bit units.
double wavPeak(const QByteArray& wav) {
    const std::optional<PcmSound> sound = parseWav(wav);
    double peak = 0;
    if (sound)
        for (std::size_t i = 0; i < sound->samples.size(); i += 2) peak = std::max(peak, std::abs(double(sound->samples[i])));
    return peak * 32768;
}

} // namespace

TEST(CustomPitchBox, TypedPitchMovesTheSliderAndPlaysAsTheSliderDoes) {
    AppRig rig;
    startIdle(rig);
    Form1& form = *rig.form;
    auto* box = form.findChild<QSpinBox*>(form1::CustomPitchBox);
    auto* slider = form.findChild<QScrollBar*>(form1::HScroll1);
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(box->accessibleName(), "Custom pitch (Hz):");
    EXPECT_FALSE(box->isEnabled()) << "disabled with the custom-pitch group";
    form.setChecked(form1::Option7, true);
    EXPECT_TRUE(box->isEnabled());

    box->setFocus();
    box->selectAll();
    QTest::keyClicks(box, "12345");
    EXPECT_EQ(slider->value(), 1000) << "a pitch counts once it is whole";
    QTest::keyClick(box, Qt::Key_Return);
    EXPECT_EQ(slider->value(), 12345);
    EXPECT_EQ(form.caption(form1::Label10), " 12345");

    bool boxLocked = false;
    rig.env.fake.at(300, [&] {
        boxLocked = !box->isEnabled();
        EXPECT_EQ(rig.activityLog().last(), " 12345");
    });
    rig.env.fake.at(600, [&] { form.stopClicked(); });
    form.playClicked();
    EXPECT_TRUE(boxLocked) << "locked with the slider while the tone plays";
    EXPECT_TRUE(box->isEnabled());
    EXPECT_NEAR(wavPitch(rig.env.fake.last("play")->data), 12345, 1);

    slider->setValue(777);
    EXPECT_EQ(box->value(), 777) << "bound both ways";
    box->setValue(40000);
    EXPECT_EQ(slider->value(), 32000) << "held to the slider's range";
}

TEST(PitchSlider, KeysRunTheWayTheSliderLooks) {
    AppRig rig;
    startIdle(rig);
    Form1& form = *rig.form;
    form.setChecked(form1::Option7, true);
    auto* slider = form.findChild<QScrollBar*>(form1::HScroll1);
    const struct { int key; int change; } keys[] = {{Qt::Key_Right, 1},    {Qt::Key_Up, 1},        {Qt::Key_PageUp, 100},
                                                    {Qt::Key_Left, -1},    {Qt::Key_Down, -1},     {Qt::Key_PageDown, -100}};
    for (const auto& k : keys) {
        slider->setValue(5000);
        QTest::keyClick(slider, Qt::Key(k.key));
        EXPECT_EQ(slider->value(), 5000 + k.change) << k.key;
    }
}

TEST(Volume, ScalesTheOutputAndIsRememberedBesideTheGeneratorsSettings) {
    AppRig rig;
    startIdle(rig);
    Form1& form = *rig.form;
    auto* volume = form.findChild<QSpinBox*>(form1::Volume);
    ASSERT_NE(volume, nullptr);
    EXPECT_EQ(volume->accessibleName(), "Volume (dB):");
    EXPECT_EQ(volume->value(), 0);
    EXPECT_EQ(volume->minimum(), -60);
    EXPECT_EQ(volume->maximum(), 0);
    EXPECT_EQ(rig.env.fake.outputVolume, 1.0) << "0 dB keeps the level";
    const QByteArray settingsBefore = fileBytes(rig.env.appData("tonara.ini"));

    volume->setValue(-20);
    EXPECT_NEAR(rig.env.fake.outputVolume, 0.1, 1e-12);
    EXPECT_EQ(loadVolumeDb(), -20.0);
    EXPECT_TRUE(QFile::exists(rig.env.appData("tonara/generator.ini")));
    EXPECT_EQ(fileBytes(rig.env.appData("tonara.ini")), settingsBefore) << "tonara.ini is never touched";

    // The temporary WAV keeps the design's level: the volume is the output's.
    FakePlatform& fake = rig.env.fake;
    const qint64 now = fake.clockMs;
    // Play inside the animated preview, Stop inside the tone, then leave the preview.
    fake.at(now + 500, [&] { form.playClicked(); });
    fake.at(now + 1200, [&] { form.stopClicked(); });
    fake.at(now + 1500, [&] { form.state().stopme = 1; });
    form.setChecked(form1::Option3, true);
    ASSERT_NE(rig.env.fake.last("play"), nullptr);
    EXPECT_NEAR(wavPeak(rig.env.fake.last("play")->data), 30000, 1);

    rig.env.fake.outputVolume = 1.0;
    Form1 again;
    EXPECT_EQ(control<QSpinBox>(again, form1::Volume).value(), -20);
    EXPECT_NEAR(rig.env.fake.outputVolume, 0.1, 1e-12) << "applied at the start";
}

TEST(Volume, AnUnusableRememberedValueReadsAsZero) {
    const struct { const char* text; double db; } values[] = {
        {"loud", 0}, {"nan", 0}, {"inf", 0}, {"-1e9", kLowestVolumeDb}, {"12", 0}, {"-7.5", -7.5}};
    for (const auto& v : values) {
        TestEnvironment env; // a file of its own each time: the settings library keeps what it read
        QDir().mkpath(env.appData("tonara"));
        writeBytes(env.appData("tonara/generator.ini"), QByteArray("[General]\nvolumeDb=") + v.text + "\n");
        EXPECT_EQ(loadVolumeDb(), v.db) << v.text;
    }
}

TEST(PitchSlider, TheWheelTurnedUpRaisesThePitch) {
    AppRig rig;
    startIdle(rig);
    rig.form->setChecked(form1::Option7, true);
    auto* slider = rig.form->findChild<QScrollBar*>(form1::HScroll1);
    slider->setValue(5000);
    QWheelEvent up(QPointF(5, 5), slider->mapToGlobal(QPointF(5, 5)), QPoint(), QPoint(0, 120), Qt::NoButton,
                   Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(slider, &up);
    EXPECT_GT(slider->value(), 5000);
}

} // namespace tonara::test
