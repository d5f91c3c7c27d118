#include "AppRig.h"

#include <QDir>
#include "ExFunctions.h"
#include "Form5.h"
#include "Form8.h"
#include "Program.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <sys/fsuid.h>
#include <sys/stat.h>
#include <unistd.h>

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
                                       "> Update error", ">> Program starting finished"}));
    EXPECT_TRUE(rig.form->isVisible());
    EXPECT_FALSE(rig.form->isEnabled(form1::Command3));
    EXPECT_FALSE(rig.form->isEnabled(form1::Command2)) << "Play waits for a mode";
    for (int k = 1; k <= 9; ++k) EXPECT_FALSE(rig.form->isChecked(form1::kOptions[k - 1]));
    EXPECT_TRUE(rig.form->isChecked(form1::sndautomatic));
    EXPECT_EQ(rig.form->caption(form1::Frame1), "Choices");
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
        EXPECT_EQ(rig.form->isEnabled(form1::kOptions[k - 1]), k != 6 && k != 8 && k != 9) << k;
    EXPECT_TRUE(rig.form->isChecked(form1::snddirectsound));
    EXPECT_FALSE(rig.form->isChecked(form1::sndautomatic));
}

TEST(Startup, DutchSettingsGiveDutchCaptions) {
    AppRig rig;
    rig.writeSettings(validSettings("128", "NL"));
    rig.form->start();
    EXPECT_EQ(rig.form->state().lang, "nl");
    EXPECT_NE(rig.form->caption(form1::Option1), "Low pitch");
    EXPECT_NE(rig.form->caption(form1::Command2), "Play Sound");
    EXPECT_TRUE(rig.form->caption(form1::Frame4).endsWith(" 1"));
    EXPECT_TRUE(rig.form->isChecked(form1::dutch));
    EXPECT_FALSE(rig.form->isChecked(form1::english));
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
            control<QComboBox>(*agreement, form5::Combo1).setCurrentIndex(1);
            agreement->languageClicked(1);
            EXPECT_EQ(control<QPushButton>(*agreement, form5::Command1).text(), "Accepteren");
        }
        EXPECT_THROW(agreement->acceptClicked(), ProgramEnded);
        EXPECT_EQ(fileBytes(rig.env.appData("tonara.ini")),
                  QByteArray("AutoUpdate=y\r\nSoundbit=128\r\n") + (dutch ? "Language=NL" : "Language=EN") +
                      "\r\nSendData=y\r\nMicrophone=1\r\nMicrophoneON=y\r\n");
        const auto starts = rig.env.fake.all("start");
        ASSERT_EQ(starts.size(), 2u) << "the new instance, then the uploader with the consent just given";
        const PlatformRecord* restart = starts.front();
        EXPECT_EQ(restart->text, '"' + rig.env.fake.path + '"');
        EXPECT_FALSE(restart->hidden) << "a normal window";
        EXPECT_EQ(rig.env.fake.last("end")->exitCode, 0);
    }
}

TEST(FirstRun, TheLanguageListAndTheCheckboxDecideTheLines) {
    AppRig rig;
    rig.form->start();
    auto* agreement = rig.window<Form5>("Form5");
    ASSERT_NE(agreement, nullptr);
    auto* combo = agreement->findChild<QComboBox*>(form5::Combo1);
    combo->setCurrentIndex(1);
    agreement->languageClicked(1);
    combo->setCurrentIndex(0);
    agreement->languageClicked(0);
    EXPECT_EQ(control<QPushButton>(*agreement, form5::Command1).text(), "Accept");
    control<QCheckBox>(*agreement, form5::Check1).setChecked(true);
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
    writeBytes(rig.env.dataFolder("nl.ini"), "x");
    rig.form->start();
    EXPECT_FALSE(QFile::exists(rig.env.dataFolder("nl.ini")));
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

namespace tonara::test {

namespace {

// The splash window's status line each time start-up lets events run, while the splash is up.
QStringList splashStatuses(AppRig& rig) {
    QStringList seen;
    rig.env.fake.onProcessEvents = [&] {
        auto* splash = rig.window<Form8>("Form8");
        if (splash && rig.form->isFormVisible(Form::Form8)) seen << splash->status();
    };
    rig.form->start();
    rig.env.fake.onProcessEvents = nullptr;
    return seen;
}

} // namespace

TEST(Startup, TheSplashShowsEachStepUnlessACommandLineFilePlays) {
    AppRig rig;
    rig.writeSettings(validSettings());
    EXPECT_EQ(splashStatuses(rig),
              (QStringList{"Windows check...", "Write test...", "Reading settings...", "Checking for updates..."}));

    // A tone file named on the command line, quoted because of its blank: no splash at all.
    AppRig withFile;
    withFile.writeSettings(validSettings());
    writeBytes(withFile.env.temp("my tones.tnf"), "%valid%\r\n[info]\r\n{236}\r\nNo tones\r\n{visible}\r\n[sound]\r\n{1}\r\n");
    withFile.env.fake.commandLineText = '"' + withFile.env.temp("my tones.tnf") + '"';
    EXPECT_EQ(splashStatuses(withFile), QStringList());
    EXPECT_EQ(withFile.form->state().bit, "128") << "the start-up ran";

    // A name of a file that does not exist is ignored.
    AppRig withoutFile;
    withoutFile.writeSettings(validSettings());
    withoutFile.env.fake.commandLineText = '"' + withoutFile.env.temp("missing.tnf") + '"';
    EXPECT_EQ(splashStatuses(withoutFile).size(), 4);
}

TEST(Startup, AnActivityLogThatCannotBeDeletedCostsTwoAndAHalfSecondsAndNoReport) {
    AppRig rig;
    rig.writeSettings(validSettings());
    writeBytes(rig.env.temp("userdata.txt"), "locked\r\n");
    QFile::setPermissions(rig.env.temp("userdata.txt"), QFile::ReadOwner | QFile::WriteOwner | QFile::ReadOther |
                                                           QFile::WriteOther | QFile::ReadGroup | QFile::WriteGroup);
    const QByteArray temp = QFile::encodeName(rig.env.temp());
    ::chmod(QFile::encodeName(QFileInfo(rig.env.temp()).absolutePath()).constData(), 0711);
    // From the first pass of events to the second, the folder refuses deletions,
    // as one held by another program would; root has to become someone else for that.
    const bool asRoot = ::geteuid() == 0;
    int passes = 0;
    qint64 secondPassAt = -1;
    rig.env.fake.onProcessEvents = [&] {
        if (rig.form->isFormVisible(Form::Form6)) rig.window<QWidget>("Form6")->close(); // reported: fail, not hang
        ++passes;
        if (passes == 1) {
            ::chmod(temp.constData(), 0555);
            if (asRoot) ::setfsuid(65534);
        } else if (passes == 2) {
            if (asRoot) ::setfsuid(0);
            ::chmod(temp.constData(), 0755);
            secondPassAt = rig.env.fake.clockMs;
        }
    };
    if (asRoot) {
        ::setfsuid(65534);
        const bool switched = ::setfsuid(uid_t(-1)) == 65534;
        ::setfsuid(0);
        if (!switched) GTEST_SKIP() << "the file system user cannot be changed here";
    }
    rig.form->start();
    rig.env.fake.onProcessEvents = nullptr;

    EXPECT_EQ(secondPassAt, 2500) << "the wait, then the start-up goes on";
    EXPECT_FALSE(QFile::exists(rig.env.temp("error.log")));
    EXPECT_EQ(rig.activityLog().last(), ">> Program starting finished");
    EXPECT_TRUE(rig.form->isVisible());
}

TEST(Startup, AFreshAccountWithoutAConfigurationFolderStartsIntoTheAgreement) {
    AppRig rig;
    ScopedEnvironment account;
    account.unset("APPDATA");
    account.unset("XDG_CONFIG_HOME");
    account.set("HOME", rig.env.temp("home"));
    rig.form->start();
    EXPECT_EQ(rig.env.fake.count("message"), 0) << "no Write error";
    auto* agreement = rig.window<Form5>("Form5");
    ASSERT_NE(agreement, nullptr);
    EXPECT_TRUE(agreement->isVisible());
    EXPECT_TRUE(QFileInfo(rig.env.temp("home/.config")).isDir());
    struct stat made {};
    ASSERT_EQ(::stat(QFile::encodeName(rig.env.temp("home/.config")).constData(), &made), 0);
    EXPECT_EQ(made.st_mode & 0777, 0700u);
}

TEST(Startup, ATerminationSignalClosesTheProgramAsTheWindowsCloseDoes) {
    AppRig rig;
    rig.writeSettings(validSettings("32"));
    rig.form->start();
    ASSERT_TRUE(rig.env.fake.terminationHandler);
    Form1& form = *rig.form;
    rig.env.fake.processList = {{7, rig.env.companionFolder("sound32.dll")}};
    form.setChecked(form1::Option7, true);
    bool soundedFirst = false;
    rig.env.fake.at(1000, [&] {
        soundedFirst = QFile::exists(rig.env.temp("sound.ini"));
        rig.env.fake.terminationHandler();
    });
    EXPECT_THROW(form.playClicked(), ProgramEnded);
    EXPECT_TRUE(soundedFirst);
    ASSERT_EQ(rig.env.fake.count("terminate"), 1) << "the tone program is ended";
    EXPECT_EQ(rig.env.fake.last("terminate")->pid, 7);
    EXPECT_FALSE(QFile::exists(rig.env.temp("sound.ini")));
    EXPECT_FALSE(form.isVisible());
    EXPECT_EQ(form.state().z, 1);
    EXPECT_EQ(rig.env.fake.last("end")->exitCode, 0);

    // Another signal while closing does not ask whether to close: it ends at once.
    EXPECT_THROW(rig.env.fake.terminationHandler(), ProgramEnded);
    EXPECT_EQ(rig.env.fake.count("message"), 0);
}

// A termination request ends the program even when its shut-down fails:
// the failure is reported in the error log, but no window is waited for and
// no question asked. (Here the hand-over to the uploader cannot be written.)
TEST(Startup, AFailingShutDownOnATerminationRequestIsReportedAndEndsAtOnce) {
    AppRig rig;
    QStringList settings = validSettings();
    settings[3] = "SendData=y";
    rig.writeSettings(settings);
    rig.form->start();
    ASSERT_TRUE(rig.env.fake.terminationHandler);
    QDir(rig.env.temp()).mkpath("snd.ini/in the way");
    bool waited = false;
    rig.env.fake.at(rig.env.fake.clockMs + 60000, [&] {
        waited = true;
        rig.env.fake.endProgram(99);
    });
    EXPECT_THROW(rig.env.fake.terminationHandler(), ProgramEnded);
    EXPECT_FALSE(waited) << "the error window held the end up";
    EXPECT_TRUE(fileLines(rig.env.temp("error.log")).value(0).endsWith("Error value:  1025"))
        << fileLines(rig.env.temp("error.log")).join(" / ").toStdString();
    EXPECT_EQ(rig.env.fake.count("message"), 0) << "no forcibly-close question";
}

} // namespace tonara::test
