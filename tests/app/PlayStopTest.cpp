#include "AppRig.h"
#include "DesignNames.h"
#include "Form6.h"
#include "PictureBox.h"

#include <QLabel>
#include <QScrollBar>
#include <algorithm>
#include <cstdint>

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
        for (MainControl c : {form1::Option1, form1::Option2, form1::Option3, form1::Option4, form1::Option5,
                              form1::Option6, form1::Option7, form1::Option8, form1::Option9, form1::Command2,
                              form1::settings})
            if (!form.isEnabled(c)) lockedDisabled << c.text();
        stopEnabledWhilePlaying = form.isEnabled(form1::Command3);
        EXPECT_EQ(form.statusText(1), "Actual pitch (Hertz): 10000");
        EXPECT_TRUE(QFile::exists(rig.env.temp("tnfwinmmtmp.wav")));
        EXPECT_EQ(rig.activityLog().last(), " 10000");
    });
    fake.at(2000, [&] {
        stoppedAt = fake.clockMs;
        form.stopClicked();
    });
    fake.at(3000, [&] { form.state().stopme = 1; }); // leave the preview
    form.setChecked(form1::Option3, true);

    EXPECT_EQ(lockedDisabled.size(), 11) << lockedDisabled.join(",").toStdString();
    EXPECT_TRUE(stopEnabledWhilePlaying);
    const PlatformRecord* play = fake.last("play");
    ASSERT_NE(play, nullptr);
    EXPECT_TRUE(play->looping);
    EXPECT_NEAR(wavPitch(play->data), 10000, 1);
    const PlatformRecord* silence = fake.last("silence");
    ASSERT_NE(silence, nullptr);
    EXPECT_LE(silence->atMs - stoppedAt, 100) << "silent within one wait period";
    EXPECT_FALSE(QFile::exists(rig.env.temp("tnfwinmmtmp.wav")));

    EXPECT_EQ(from(rig.activityLog(), "#Option 3 Clicked"),
              (QStringList{"#Option 3 Clicked", "#Pressed Button 2", "10000", "#Pressed Button 3", "#Sound stopped"}))
        << "reading the log back skips an entry's leading blank";
    EXPECT_TRUE(form.isEnabled(form1::Command2));
    EXPECT_FALSE(form.isEnabled(form1::Command3));
    EXPECT_TRUE(form.isEnabled(form1::settings));
    EXPECT_EQ(form.state().z, 1);
    EXPECT_EQ(form.statusText(1), "Actual pitch (Hertz): ");
}

TEST(PlayStop, CustomPitchPlaysTheSliderValueAndLocksTheSlider) {
    AppRig rig;
    startIdle(rig);
    Form1& form = *rig.form;
    form.setChecked(form1::Option7, true);
    EXPECT_EQ(form.caption(form1::Label10), " 1000");
    EXPECT_TRUE(form.isEnabled(form1::HScroll1));
    const QImage at1000 = form.picture1().image();
    control<QScrollBar>(form, form1::HScroll1).setValue(12345);
    EXPECT_EQ(form.caption(form1::Label10), " 12345");
    EXPECT_NE(form.picture1().image(), at1000) << "the static preview is redrawn";

    bool sliderLocked = false;
    rig.env.fake.at(300, [&] {
        sliderLocked = !form.isEnabled(form1::HScroll1);
        EXPECT_EQ(rig.activityLog().last(), " 12345");
    });
    rig.env.fake.at(600, [&] { form.stopClicked(); });
    form.playClicked();
    EXPECT_TRUE(sliderLocked);
    EXPECT_TRUE(form.isEnabled(form1::HScroll1));
    EXPECT_NEAR(wavPitch(rig.env.fake.last("play")->data), 12345, 1);
    EXPECT_EQ(from(rig.activityLog(), "#Pressed Button 2").mid(0, 2), (QStringList{"#Pressed Button 2", "12345"}));
}

TEST(PlayStop, OptionsDisabledBeforePlayStayDisabledAfterStop) {
    AppRig rig;
    startIdle(rig, "64");
    Form1& form = *rig.form;
    form.setChecked(form1::Option7, true);
    rig.env.fake.at(300, [&] { form.stopClicked(); });
    form.playClicked();
    for (int k = 1; k <= 9; ++k)
        EXPECT_EQ(form.isEnabled(form1::kOptions[k - 1]), k != 6 && k != 8 && k != 9) << k;
}

TEST(PlayStop, HearingAgeHandsOverAndStartsTheTestWithoutLocking) {
    AppRig rig;
    startIdle(rig);
    Form1& form = *rig.form;
    form.setChecked(form1::Option9, true);
    EXPECT_TRUE(form.isEnabled(form1::Command2));
    form.playClicked();
    EXPECT_EQ(fileBytes(rig.env.temp("quillon.ini")), QByteArray("128\r\nen\r\n"));
    const PlatformRecord* started = rig.env.fake.last("start");
    ASSERT_NE(started, nullptr);
    EXPECT_EQ(started->text, "Quillon.dll");
    EXPECT_FALSE(started->hidden);
    EXPECT_EQ(rig.activityLog().last(), "#Pressed Button 2") << "no pitch is logged";
    EXPECT_TRUE(form.isEnabled(form1::Option1));
}

TEST(PlayStop, AFailingHandlerReportsItsCodeAndExitClosesEverything) {
    AppRig rig;
    startIdle(rig);
    Form1& form = *rig.form;
    rig.env.fake.missingPrograms << "Quillon.dll";
    form.setChecked(form1::Option9, true);
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
    rig.env.fake.at(200, [&] { form.setChecked(form1::Option2, true); });
    rig.env.fake.at(600, [&] { form.state().stopme = 1; });
    form.setChecked(form1::Option1, true);
    EXPECT_TRUE(form.isChecked(form1::Option2));
    EXPECT_FALSE(form.isChecked(form1::Option1));
    EXPECT_EQ(from(rig.activityLog(), "#Option 1 Clicked"), (QStringList{"#Option 1 Clicked", "#Option 2 Clicked"}));
    EXPECT_TRUE(form.isEnabled(form1::Command2));
    EXPECT_EQ(form.caption(form1::Command2), "Play Sound");
    EXPECT_TRUE(control<QWidget>(*rig.form, form1::Picture1).isVisible());
    // Morse and hearing age hide the preview and show the other Play caption.
    form.setChecked(form1::Option8, true);
    EXPECT_FALSE(control<QWidget>(*rig.form, form1::Picture1).isVisible());
    EXPECT_NE(form.caption(form1::Command2), "Play Sound");
}

} // namespace tonara::test

namespace tonara::test {

TEST(PlayDispatch, LowToHighSweepsThroughThePlayerOrHandsTheSweepToATheToneProgram) {
    struct Case {
        const char* bit;
        const char* started; // the tone program's command, if any
        bool throughThePlayer;
    };
    for (const Case c : {Case{"128", "", true}, Case{"256", "", true}, Case{"16", "cmd /c relay16.exe", false},
                         Case{"32", "sound32.dll", false}, Case{"64", "", false}}) {
        SCOPED_TRACE(c.bit);
        AppRig rig;
        startIdle(rig, c.bit);
        Form1& form = *rig.form;
        form.setChecked(form1::Option6, true);
        QByteArray request;
        rig.env.fake.at(500, [&] { request = fileBytes(rig.env.temp("sound.ini")); });
        rig.env.fake.at(1000, [&] { form.stopClicked(); });
        form.playClicked();

        const PlatformRecord* start = rig.env.fake.last("start");
        EXPECT_EQ(start ? start->text : QString(), QString(c.started));
        EXPECT_EQ(request, c.throughThePlayer ? QByteArray() : QByteArray("1\r\n")) << "the sweep request";
        const auto plays = rig.env.fake.all("play");
        ASSERT_EQ(plays.empty(), !c.throughThePlayer);
        if (c.throughThePlayer) {
            EXPECT_NEAR(wavPitch(plays.front()->data), 200, 1) << "from the bottom";
        }
        EXPECT_EQ(from(rig.activityLog(), "#Pressed Button 2"),
                  (QStringList{"#Pressed Button 2", "1", "#Pressed Button 3", "#Sound stopped"}));
    }
}

TEST(PlayDispatch, MorseLogsItsLineAndLeavesTheWindowUnlocked) {
    AppRig rig;
    startIdle(rig);
    Form1& form = *rig.form;
    form.setChecked(form1::Option8, true);
    form.playClicked();
    EXPECT_EQ(from(rig.activityLog(), "#Pressed Button 2"), (QStringList{"#Pressed Button 2", "3", "#Morse"}));
    EXPECT_TRUE(form.isEnabled(form1::Command2));
    EXPECT_FALSE(form.isEnabled(form1::Command3));
    EXPECT_TRUE(form.isEnabled(form1::settings));
    EXPECT_TRUE(form.isEnabled(form1::Option1));
    EXPECT_EQ(form.statusText(1), "Actual pitch (Hertz): ");
    EXPECT_EQ(rig.env.fake.clockMs, 0) << "nothing waits";
}

TEST(PlayDispatch, PlaysWaitLoopEndsWithTheStopItServesOrAfterTheSweepsOwnWait) {
    struct Case {
        MainControl option;
        const char* bit;
        qint64 endsAt;
    };
    // Stop at 500 ms. A pitch with a code that starts nothing: the wait of 208 ms
    // from 416 serves the Stop and ends there. The sweep in 64 ends at the Stop
    // inside its own wait; Play's loop then still makes its one wait of 208 ms.
    for (const Case c : {Case{form1::Option7, "999", 500}, Case{form1::Option6, "64", 708}}) {
        SCOPED_TRACE(c.option.name());
        AppRig rig;
        startIdle(rig, "128");
        Form1& form = *rig.form;
        form.setChecked(c.option, true);
        form.state().bit = c.bit;
        rig.env.fake.at(500, [&] { form.stopClicked(); });
        form.playClicked();
        EXPECT_EQ(rig.env.fake.clockMs, c.endsAt);
        EXPECT_EQ(rig.activityLog().last(), "#Sound stopped");
    }
}

} // namespace tonara::test

namespace tonara::test {

TEST(ModeSelection, ThousandsOfClicksBetweenTwoPresetsKeepTheStackFlat) {
    AppRig rig;
    startIdle(rig);
    Form1& form = *rig.form;
    constexpr int kClicks = 2000;
    // A click in each pass of the animation, as fast as events come; the depth
    // of the stack is read where the running loop lets events run.
    constexpr std::ptrdiff_t kGiveUpAt = 4 << 20; // before a nesting fault could overflow the stack
    int clicks = 0;
    std::uintptr_t shallowest = 0, deepest = 0;
    rig.env.fake.onProcessEvents = [&] {
        const char here = 0;
        const auto at = reinterpret_cast<std::uintptr_t>(&here);
        shallowest = shallowest ? std::max(shallowest, at) : at;
        deepest = deepest ? std::min(deepest, at) : at;
        if (clicks == kClicks || std::ptrdiff_t(shallowest - deepest) > kGiveUpAt) {
            form.state().stopme = 1;
            return;
        }
        ++clicks;
        form.setChecked(clicks % 2 ? form1::Option2 : form1::Option1, true);
    };
    form.setChecked(form1::Option1, true);
    rig.env.fake.onProcessEvents = nullptr;

    EXPECT_EQ(clicks, kClicks);
    EXPECT_LT(std::ptrdiff_t(shallowest - deepest), 64 << 10) << "bytes between the outermost and innermost loop";
    EXPECT_EQ(rig.activityLog().last(), "#Option 1 Clicked");
    EXPECT_TRUE(form.isChecked(form1::Option1));
}

TEST(DesignNames, EveryNameOfTheMainWindowsDesignIsOneOfItsControls) {
    AppRig rig;
    for (const QString& name : designNames(Form::Form1))
        EXPECT_NE(rig.form->findChild<QObject*>(name), nullptr) << name.toStdString();
}

// Only a name made by hand can be none of the window's; the real window says so, as the fake does.
TEST(DesignNames, TheRealMainWindowReportsANameItsWindowDoesNotHave) {
    AppRig rig;
    rig.form->showForm(Form::Form2);
    testing::internal::CaptureStderr();
    rig.form->setCaption(MainControl("Lable1"), "x");
    rig.form->setFormCaption(form2::Name("Label1"), "x");
    rig.form->setFormCaption(form2::Label2, "y");
    const std::string written = testing::internal::GetCapturedStderr();
    EXPECT_NE(written.find("Form1 has no control named \"Lable1\""), std::string::npos) << written;
    EXPECT_NE(written.find("Form2 has no control named \"Label1\""), std::string::npos) << written;
    EXPECT_EQ(written.find("\"Label2\""), std::string::npos) << written;
    EXPECT_EQ(rig.window<QWidget>("Form2")->findChild<QLabel*>(form2::Label2)->text(), "y");
}

} // namespace tonara::test
