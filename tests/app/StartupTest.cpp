#include "AppRig.h"
#include "ExFunctions.h"
#include "Form5.h"
#include "Program.h"

#include <QCheckBox>
#include <QComboBox>

namespace tonara::test {

TEST(Startup, ANormalStartLogsEveryStepAndShowsAnIdleWindow) {
    AppRig rig;
    rig.writeSettings(validSettings());
    rig.form->start();

    const QStringList log = rig.activityLog();
    ASSERT_GE(log.size(), 3);
    EXPECT_FALSE(log[0].isEmpty());
    EXPECT_FALSE(log[1].isEmpty());
    EXPECT_EQ(log.mid(2), (QStringList{"", ">> Program started", "> Windows version check", "1 . 6 . 2", "> Write test",
                                       "> Reading settings", "AutoUpdate=y", "Soundbit=128", "Language=EN",
                                       "SendData=n", "Microphone=1", "MicrophoneON=n", "> Bit: 128",
                                       ">> Program starting finished"}));
    EXPECT_TRUE(rig.form->isVisible());
    EXPECT_FALSE(rig.form->isEnabled("Command3"));
    EXPECT_FALSE(rig.form->isEnabled("Command2")) << "Play waits for a mode";
    for (int k = 1; k <= 9; ++k) EXPECT_FALSE(rig.form->isChecked(QString("Option%1").arg(k)));
    EXPECT_TRUE(rig.form->isChecked("sndautomatic"));
    EXPECT_EQ(rig.form->caption("Frame1"), "Choices");
    EXPECT_EQ(rig.form->statusText(1), "Actual pitch (Hertz): ");
    EXPECT_EQ(rig.form->statusText(2), "v2.3.6");
    EXPECT_FALSE(rig.form->isFormVisible(Form::Form8)) << "the splash is gone";
    EXPECT_EQ(rig.env.fake.count("message"), 0);
}

TEST(Startup, ABadDpiWarnsAndIsLoggedRightAfterTheEmptyLine) {
    AppRig rig;
    rig.env.fake.screenInfo.dpiX = 120;
    rig.writeSettings(validSettings());
    rig.form->start();
    const PlatformRecord* warning = rig.env.fake.last("message");
    ASSERT_NE(warning, nullptr);
    EXPECT_EQ(warning->text, "DPI settings could cause problems!");
    EXPECT_EQ(warning->title, "Warning");
    EXPECT_EQ(warning->icon, MessageIcon::Exclamation);
    EXPECT_EQ(rig.activityLog().mid(2, 3), (QStringList{"", ">>> Bad DPI settings", ">> Program started"}));
    EXPECT_TRUE(rig.form->isVisible());
}

TEST(Startup, DirectSoundDisablesTheSweepMorseAndHearingTest) {
    AppRig rig;
    rig.writeSettings(validSettings("64"));
    rig.form->start();
    for (int k = 1; k <= 9; ++k)
        EXPECT_EQ(rig.form->isEnabled(QString("Option%1").arg(k)), k != 6 && k != 8 && k != 9) << k;
    EXPECT_TRUE(rig.form->isChecked("snddirectsound"));
    EXPECT_FALSE(rig.form->isChecked("sndautomatic"));
}

TEST(Startup, DutchSettingsGiveDutchCaptions) {
    AppRig rig;
    rig.writeSettings(validSettings("128", "NL"));
    rig.form->start();
    EXPECT_EQ(rig.form->state().lang, "nl");
    EXPECT_NE(rig.form->caption("Option1"), "Low pitch");
    EXPECT_NE(rig.form->caption("Command2"), "Play Sound");
    EXPECT_TRUE(rig.form->caption("Frame4").endsWith(" 1"));
    EXPECT_TRUE(rig.form->isChecked("dutch"));
    EXPECT_FALSE(rig.form->isChecked("english"));
}

TEST(Startup, AFailureEndsInTheErrorWindowAndClosingItEndsTheProgram) {
    AppRig rig;
    // A sensitivity that is no number fails while the settings are read.
    rig.writeSettings({"AutoUpdate=y", "Soundbit=128", "Language=EN", "SendData=n", "Microphone=x", "MicrophoneON=n"});
    rig.env.fake.onProcessEvents = [&] {
        if (rig.form->isFormVisible(Form::Form6)) rig.window<QWidget>("Form6")->close();
    };
    EXPECT_THROW(rig.form->start(), ProgramEnded);
    const QStringList errorLog = fileLines(rig.env.temp("error.log"));
    ASSERT_EQ(errorLog.size(), 4);
    EXPECT_EQ(errorLog[0], "Error number:  13,   Error value:  103");
    EXPECT_EQ(errorLog[1], "<Type mismatch>");
    EXPECT_FALSE(rig.form->isVisible());
}

TEST(FirstRun, AcceptWritesTheSixLinesAndRestartsTheProgram) {
    for (const bool dutch : {false, true}) {
        AppRig rig;
        rig.form->start();
        EXPECT_FALSE(rig.form->isVisible()) << "the agreement comes first";
        auto* agreement = rig.window<Form5>("Form5");
        ASSERT_NE(agreement, nullptr);
        EXPECT_TRUE(agreement->isVisible());
        EXPECT_EQ(agreement->windowTitle(), "License agreements");
        if (dutch) {
            agreement->findChild<QComboBox*>("Combo1")->setCurrentIndex(1);
            agreement->languageClicked(1);
            EXPECT_EQ(agreement->findChild<QPushButton*>("Command1")->text(), "Accepteren");
        }
        EXPECT_THROW(agreement->acceptClicked(), ProgramEnded);
        EXPECT_EQ(fileBytes(rig.env.appData("tonara.ini")),
                  QByteArray("AutoUpdate=y\r\nSoundbit=128\r\n") + (dutch ? "Language=NL" : "Language=EN") +
                      "\r\nSendData=y\r\nMicrophone=1\r\nMicrophoneON=y\r\n");
        const PlatformRecord* restart = rig.env.fake.last("start");
        ASSERT_NE(restart, nullptr);
        EXPECT_EQ(restart->text, '"' + rig.env.fake.path + '"');
        EXPECT_FALSE(restart->flag) << "a normal window";
        EXPECT_EQ(rig.env.fake.last("end")->durationMs, 0);
    }
}

TEST(FirstRun, TheLanguageListAndTheCheckboxDecideTheLines) {
    AppRig rig;
    rig.form->start();
    auto* agreement = rig.window<Form5>("Form5");
    ASSERT_NE(agreement, nullptr);
    auto* combo = agreement->findChild<QComboBox*>("Combo1");
    combo->setCurrentIndex(1);
    agreement->languageClicked(1);
    combo->setCurrentIndex(0);
    agreement->languageClicked(0);
    EXPECT_EQ(agreement->findChild<QPushButton*>("Command1")->text(), "Accept");
    agreement->findChild<QCheckBox*>("Check1")->setChecked(true);
    EXPECT_THROW(agreement->acceptClicked(), ProgramEnded);
    const QStringList lines = fileLines(rig.env.appData("tonara.ini"));
    ASSERT_EQ(lines.size(), 6);
    EXPECT_EQ(lines[2], "Language=EN");
    EXPECT_EQ(lines[3], "SendData=n");
    EXPECT_EQ(rig.form->state().snd, 0);
}

TEST(FirstRun, AnUnwritableSettingsFileKeepsTheWindowOpen) {
    AppRig rig;
    QDir(rig.env.appData()).mkdir("tonara.ini"); // a folder where the file should be
    rig.form->start();
    auto* agreement = rig.window<Form5>("Form5");
    ASSERT_NE(agreement, nullptr);
    agreement->acceptClicked();
    EXPECT_EQ(rig.env.fake.count("start"), 0) << "no restart into the same window";
    EXPECT_EQ(rig.env.fake.count("end"), 0);
    const PlatformRecord* message = rig.env.fake.last("message");
    ASSERT_NE(message, nullptr);
    EXPECT_TRUE(message->text.startsWith("The settings could not be saved")) << message->text.toStdString();
    EXPECT_TRUE(agreement->isVisible());
}

TEST(FirstRun, TheMarkerFileGoesAndDontAcceptWritesNothing) {
    AppRig rig;
    writeBytes(rig.env.programFolder("nl.ini"), "x");
    rig.form->start();
    EXPECT_FALSE(QFile::exists(rig.env.programFolder("nl.ini")));
    auto* agreement = rig.window<Form5>("Form5");
    ASSERT_NE(agreement, nullptr);
    EXPECT_THROW(agreement->dontAcceptClicked(), ProgramEnded);
    EXPECT_FALSE(QFile::exists(rig.env.appData("tonara.ini")));
    EXPECT_EQ(rig.env.fake.count("start"), 0);
}

TEST(VersionCheck, TheRulesOfTheSupportedSystems) {
    struct Case {
        int major, minor;
        bool passes, warns;
    };
    for (const Case c : {Case{6, 1, true, false}, Case{6, 2, true, false}, Case{5, 1, true, false},
                         Case{5, 0, true, true}, Case{4, 0, false, false}, Case{10, 0, false, false}}) {
        TestEnvironment env;
        env.fake.version = VersionAnswer{1, 2, c.major, c.minor};
        ExFunctions ex;
        if (c.passes) {
            EXPECT_EQ(ex.CheckVersion(), QString(" 1 . %1 . %2").arg(c.major).arg(c.minor));
            EXPECT_EQ(env.fake.count("message"), c.warns ? 1 : 0);
            if (c.warns) {
                EXPECT_EQ(env.fake.last("message")->text,
                          "Warning: Windows 2000 detected! Classic sound mode will NOT work!");
            }
        } else {
            EXPECT_THROW(ex.CheckVersion(), ProgramEnded);
            EXPECT_EQ(env.fake.last("message")->text, "Upgrade your Windows to use Tonara");
            EXPECT_EQ(env.fake.last("message")->icon, MessageIcon::Critical);
        }
    }
    TestEnvironment env;
    env.fake.version = VersionAnswer{0, 2, 6, 1}; // a failed query
    EXPECT_THROW(ExFunctions().CheckVersion(), ProgramEnded);
}

} // namespace tonara::test
