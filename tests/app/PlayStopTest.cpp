#include "AppRig.h"
#include "Form6.h"
#include "PictureBox.h"

#include <QScrollBar>

namespace tonara::test {

namespace {

void startIdle(AppRig& rig, const QString& bit = "128") {
    rig.writeSettings(validSettings(bit));
    rig.form->start();
}

QStringList from(const QStringList& log, const QString& first) {
    const qsizetype at = log.indexOf(first);
    return at < 0 ? QStringList() : log.mid(at);
}

} // namespace

TEST(PlayStop, HighPitchPlaysLocksTheWindowAndStopEndsIt) {
    AppRig rig;
    startIdle(rig);
    Form1& form = *rig.form;
    FakePlatform& fake = rig.env.fake;
    QStringList lockedDisabled;
    bool stopEnabledWhilePlaying = false;
    qint64 stoppedAt = 0;
    // Play is pressed inside the animated preview, Stop inside the tone's own wait loop.
    fake.at(500, [&] { form.playClicked(); });
    fake.at(1200, [&] {
        for (const char* c : {"Option1", "Option2", "Option3", "Option4", "Option5", "Option6", "Option7", "Option8",
                              "Option9", "Command2", "settings"})
            if (!form.isEnabled(c)) lockedDisabled << c;
        stopEnabledWhilePlaying = form.isEnabled("Command3");
        EXPECT_EQ(form.statusText(1), "Actual pitch (Hertz): 10000");
        EXPECT_TRUE(QFile::exists(rig.env.temp("tnfwinmmtmp.wav")));
        EXPECT_EQ(rig.activityLog().last(), " 10000");
    });
    fake.at(2000, [&] {
        stoppedAt = fake.clockMs;
        form.stopClicked();
    });
    fake.at(3000, [&] { form.state().stopme = 1; }); // leave the preview
    form.setChecked("Option3", true);

    EXPECT_EQ(lockedDisabled.size(), 11) << lockedDisabled.join(",").toStdString();
    EXPECT_TRUE(stopEnabledWhilePlaying);
    const PlatformRecord* play = fake.last("play");
    ASSERT_NE(play, nullptr);
    EXPECT_TRUE(play->flag) << "looping";
    EXPECT_NEAR(wavPitch(play->data), 10000, 1);
    const PlatformRecord* silence = fake.last("silence");
    ASSERT_NE(silence, nullptr);
    EXPECT_LE(silence->atMs - stoppedAt, 100) << "silent within one wait period";
    EXPECT_FALSE(QFile::exists(rig.env.temp("tnfwinmmtmp.wav")));

    EXPECT_EQ(from(rig.activityLog(), "#Option 3 Clicked"),
              (QStringList{"#Option 3 Clicked", "#Pressed Button 2", "10000", "#Pressed Button 3", "#Sound stopped"}))
        << "reading the log back skips an entry's leading blank";
    EXPECT_TRUE(form.isEnabled("Command2"));
    EXPECT_FALSE(form.isEnabled("Command3"));
    EXPECT_TRUE(form.isEnabled("settings"));
    EXPECT_EQ(form.state().z, 1);
    EXPECT_EQ(form.statusText(1), "Actual pitch (Hertz): ");
}

TEST(PlayStop, CustomPitchPlaysTheSliderValueAndLocksTheSlider) {
    AppRig rig;
    startIdle(rig);
    Form1& form = *rig.form;
    form.setChecked("Option7", true);
    EXPECT_EQ(form.caption("Label10"), " 1000");
    EXPECT_TRUE(form.isEnabled("HScroll1"));
    const QImage at1000 = form.picture1().image();
    form.findChild<QScrollBar*>("HScroll1")->setValue(12345);
    EXPECT_EQ(form.caption("Label10"), " 12345");
    EXPECT_NE(form.picture1().image(), at1000) << "the static preview is redrawn";

    bool sliderLocked = false;
    rig.env.fake.at(300, [&] {
        sliderLocked = !form.isEnabled("HScroll1");
        EXPECT_EQ(rig.activityLog().last(), " 12345");
    });
    rig.env.fake.at(600, [&] { form.stopClicked(); });
    form.playClicked();
    EXPECT_TRUE(sliderLocked);
    EXPECT_TRUE(form.isEnabled("HScroll1"));
    EXPECT_NEAR(wavPitch(rig.env.fake.last("play")->data), 12345, 1);
    EXPECT_EQ(from(rig.activityLog(), "#Pressed Button 2").mid(0, 2), (QStringList{"#Pressed Button 2", "12345"}));
}

TEST(PlayStop, OptionsDisabledBeforePlayStayDisabledAfterStop) {
    AppRig rig;
    startIdle(rig, "64");
    Form1& form = *rig.form;
    form.setChecked("Option7", true);
    rig.env.fake.at(300, [&] { form.stopClicked(); });
    form.playClicked();
    for (int k = 1; k <= 9; ++k)
        EXPECT_EQ(form.isEnabled(QString("Option%1").arg(k)), k != 6 && k != 8 && k != 9) << k;
}

TEST(PlayStop, HearingAgeHandsOverAndStartsTheTestWithoutLocking) {
    AppRig rig;
    startIdle(rig);
    Form1& form = *rig.form;
    form.setChecked("Option9", true);
    EXPECT_TRUE(form.isEnabled("Command2"));
    form.playClicked();
    EXPECT_EQ(fileBytes(rig.env.temp("quillon.ini")), QByteArray("128\r\nen\r\n"));
    const PlatformRecord* started = rig.env.fake.last("start");
    ASSERT_NE(started, nullptr);
    EXPECT_EQ(started->text, "Quillon.dll");
    EXPECT_FALSE(started->flag);
    EXPECT_EQ(rig.activityLog().last(), "#Pressed Button 2") << "no pitch is logged";
    EXPECT_TRUE(form.isEnabled("Option1"));
}

TEST(PlayStop, AFailingHandlerReportsItsCodeAndExitClosesEverything) {
    AppRig rig;
    startIdle(rig);
    Form1& form = *rig.form;
    rig.env.fake.missingPrograms << "Quillon.dll";
    form.setChecked("Option9", true);
    bool mainHiddenDuringReport = false;
    rig.env.fake.at(100, [&] {
        mainHiddenDuringReport = !form.isVisible() && form.isFormVisible(Form::Form6);
        Form6* errorWindow = rig.window<Form6>("Form6");
        ASSERT_NE(errorWindow, nullptr);
        errorWindow->exitClicked();
    });
    EXPECT_THROW(form.playClicked(), ProgramEnded);
    EXPECT_TRUE(mainHiddenDuringReport);
    const QStringList errorLog = fileLines(rig.env.temp("error.log"));
    ASSERT_EQ(errorLog.size(), 4);
    EXPECT_EQ(errorLog[0], "Error number:  53,   Error value:  4");
    EXPECT_EQ(errorLog[1], "<File not found>");
    EXPECT_EQ(errorLog[2], "Resolution: 1920 x 1080,   DPI: 96");
}

TEST(ModeSelection, ChoosingAModeInsideAnAnimationTakesOver) {
    AppRig rig;
    startIdle(rig);
    Form1& form = *rig.form;
    rig.env.fake.at(200, [&] { form.setChecked("Option2", true); });
    rig.env.fake.at(600, [&] { form.state().stopme = 1; });
    form.setChecked("Option1", true);
    EXPECT_TRUE(form.isChecked("Option2"));
    EXPECT_FALSE(form.isChecked("Option1"));
    EXPECT_EQ(from(rig.activityLog(), "#Option 1 Clicked"), (QStringList{"#Option 1 Clicked", "#Option 2 Clicked"}));
    EXPECT_TRUE(form.isEnabled("Command2"));
    EXPECT_EQ(form.caption("Command2"), "Play Sound");
    EXPECT_TRUE(rig.form->findChild<QWidget*>("Picture1")->isVisible());
    // Morse and hearing age hide the preview and show the other Play caption.
    form.setChecked("Option8", true);
    EXPECT_FALSE(rig.form->findChild<QWidget*>("Picture1")->isVisible());
    EXPECT_NE(form.caption("Command2"), "Play Sound");
}

} // namespace tonara::test
