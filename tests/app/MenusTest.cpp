// The menu bar's handlers, driven as a user would: through the menu's own
// actions, with the settings file, the activity log and the platform's
// records as the witnesses.
#include "AppRig.h"
#include "PictureBox.h"
#include "Shell.h"
#include "SoundModes.h"
#include "TextFile.h"
#include "WebAddresses.h"

#include <QAction>
#include <QDir>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>

namespace tonara::test {

namespace {

void startIdle(AppRig& rig, const QString& bit = "128") {
    rig.writeSettings(validSettings(bit));
    rig.form->start();
}

void trigger(AppRig& rig, MainControl item) {
    auto* action = rig.form->findChild<QAction*>(item);
    ASSERT_NE(action, nullptr) << item.name();
    action->trigger();
}

QStringList settingsLines(const AppRig& rig) { return fileLines(rig.env.appData("tonara.ini")); }

QStringList checkedOf(const Form1& form, std::initializer_list<MainControl> items) {
    QStringList on;
    for (MainControl item : items)
        if (form.isChecked(item)) on << item.text();
    return on;
}

const std::initializer_list<MainControl> kSoundModeItems{form1::sndautomatic, form1::sndsound32, form1::sndwinmm,
                                                         form1::snddirectsound, form1::sndclassic};

QStringList shippedEntries(const char* file) { return readEntries(qEnvironmentVariable("TONARA_BIN") + "/" + file); }

} // namespace

TEST(Menus, DirectSoundWhileHearingAgeIsSelectedTakesTheToolModesAwayAndAnimatesLowPitch) {
    AppRig rig;
    startIdle(rig);
    Form1& form = *rig.form;
    form.setChecked(form1::Option9, true);
    FakePlatform& fake = rig.env.fake;
    QImage early, later;
    // Low pitch's preview runs inside the menu handler until another choice ends it.
    fake.at(fake.clockMs + 200, [&] { early = form.picture1().image(); });
    fake.at(fake.clockMs + 400, [&] { later = form.picture1().image(); });
    fake.at(fake.clockMs + 600, [&] { form.state().stopme = 1; });
    trigger(rig, form1::snddirectsound);

    EXPECT_EQ(settingsLines(rig).value(1), "SoundBit=64");
    EXPECT_EQ(form.state().bit, "64");
    for (MainControl option : {form1::Option6, form1::Option8, form1::Option9})
        EXPECT_FALSE(form.isEnabled(option)) << option.name();
    EXPECT_TRUE(form.isChecked(form1::Option1));
    EXPECT_FALSE(form.isChecked(form1::Option9));
    EXPECT_EQ(rig.activityLog().last(), "#Option 1 Clicked");
    EXPECT_FALSE(early.isNull());
    EXPECT_NE(early, later) << "the preview animates";
    EXPECT_EQ(checkedOf(form, kSoundModeItems), QStringList{form1::snddirectsound});
}

TEST(Menus, EachSoundModeItemWritesItsLineAndSetsTheToolModes) {
    struct Case {
        MainControl item;
        const char* line;
        const char* bit;
        bool toolModes;
        bool selectsLowPitch;
    };
    const Case cases[] = {
        {form1::sndautomatic, "SoundBit=128", "128", true, false},
        {form1::sndsound32, "SoundBit=32", "32", true, false},
        {form1::sndwinmm, "SoundBit=256", "256", true, false},
        {form1::snddirectsound, "SoundBit=64", "64", false, true},
        {form1::sndclassic, "SoundBit=16", "16", true, true},
    };
    for (const Case& c : cases) {
        AppRig rig;
        startIdle(rig, "64"); // the tool modes start disabled
        Form1& form = *rig.form;
        form.setChecked(form1::Option7, true);
        rig.env.fake.at(rig.env.fake.clockMs + 300, [&] { form.state().stopme = 1; });
        trigger(rig, c.item);

        EXPECT_EQ(settingsLines(rig), (QStringList{"AutoUpdate=y", c.line, "Language=EN", "SendData=n", "Microphone=1",
                                                   "MicrophoneON=n"}))
            << c.item.name();
        EXPECT_EQ(form.state().bit, c.bit);
        EXPECT_EQ(checkedOf(form, kSoundModeItems), QStringList{c.item.text()});
        for (MainControl option : {form1::Option6, form1::Option8, form1::Option9})
            EXPECT_EQ(form.isEnabled(option), c.toolModes) << c.item.name() << " " << option.name();
        EXPECT_EQ(form.isChecked(form1::Option1), c.selectsLowPitch) << c.item.name();
        EXPECT_EQ(rig.activityLog().last(), c.selectsLowPitch ? "#Option 1 Clicked"
                                                               : QString("> Write action, Line:  2, Value: ") + c.line)
            << c.item.name();
    }
}

TEST(Menus, ChoosingLowPitchAgainStillRunsItsHandler) {
    AppRig rig;
    startIdle(rig);
    Form1& form = *rig.form;
    rig.env.fake.at(rig.env.fake.clockMs + 300, [&] { form.state().stopme = 1; });
    form.setChecked(form1::Option1, true);
    rig.env.fake.at(rig.env.fake.clockMs + 300, [&] { form.state().stopme = 1; });
    trigger(rig, form1::sndclassic);
    EXPECT_EQ(rig.activityLog().filter("#Option 1 Clicked").size(), 2);
}

TEST(Menus, DutchAndEnglishSwitchTheWindowAndTheSelectedModesText) {
    AppRig rig;
    startIdle(rig);
    Form1& form = *rig.form;
    form.setChecked(form1::Option7, true);
    const QStringList dutch = shippedEntries("lng_nl.dll");
    const QStringList english = shippedEntries("lng_en.dll");

    trigger(rig, form1::dutch);
    EXPECT_EQ(form.caption(form1::Label1), dutch[65]) << "rd7";
    EXPECT_EQ(form.caption(form1::file), dutch[18]);
    EXPECT_EQ(form.caption(form1::Option1), dutch[3]);
    EXPECT_EQ(rig.activityLog().last(), "#Option 7 Clicked");
    EXPECT_EQ(settingsLines(rig).value(2), "Language=NL");
    EXPECT_EQ(form.state().lang, "nl");
    EXPECT_EQ(checkedOf(form, {form1::english, form1::dutch}), QStringList{form1::dutch});

    trigger(rig, form1::english);
    EXPECT_EQ(form.caption(form1::Label1), english[65]);
    EXPECT_EQ(form.caption(form1::file), "File");
    EXPECT_EQ(settingsLines(rig).value(2), "Language=EN");
    EXPECT_EQ(checkedOf(form, {form1::english, form1::dutch}), QStringList{form1::english});
}

TEST(Menus, AutomaticUpdatesTogglesLineOneOnlyForTheNextStart) {
    AppRig rig;
    startIdle(rig);
    Form1& form = *rig.form;
    ASSERT_TRUE(form.isChecked(form1::autoupdate));
    trigger(rig, form1::autoupdate);
    EXPECT_EQ(settingsLines(rig).value(0), "AutoUpdate=n");
    EXPECT_FALSE(form.isChecked(form1::autoupdate));
    EXPECT_EQ(form.state().updater, 1) << "the running window keeps its setting";
    trigger(rig, form1::autoupdate);
    EXPECT_EQ(settingsLines(rig).value(0), "AutoUpdate=y");
    EXPECT_TRUE(form.isChecked(form1::autoupdate));
}

TEST(Menus, WebLinksLogAndOpenTheMakersPages) {
    struct Case {
        MainControl item;
        const char* logLine;
        const char* path;
    };
    const Case cases[] = {{form1::webpage, "> Visiting site", ""},
                          {form1::donate, "> Visiting donation page", "/donate"},
                          {form1::contact, "> Visiting donation page", "/contact-us"}};
    for (const Case& c : cases) {
        AppRig rig;
        startIdle(rig);
        trigger(rig, c.item);
        EXPECT_EQ(rig.activityLog().last(), c.logLine);
        ASSERT_NE(rig.env.fake.last("url"), nullptr) << c.item.name();
        EXPECT_EQ(rig.env.fake.last("url")->text, websiteAddress() + c.path);
        EXPECT_EQ(rig.env.fake.count("start"), 0) << "never through a shell";
    }
}

TEST(Menus, OpenStartsASecondCopyOnAnExistingFileOnly) {
    AppRig rig;
    startIdle(rig);
    FakePlatform& fake = rig.env.fake;
    const QString withBlanks = rig.env.temp("my tones/a b.tnf");
    QDir().mkpath(rig.env.temp("my tones"));
    writeBytes(withBlanks, "%valid%\r\n");
    fake.chosenFiles = {"", rig.env.temp("missing.tnf"), withBlanks};

    trigger(rig, form1::openfile); // cancelled
    trigger(rig, form1::openfile); // a name that does not exist
    EXPECT_EQ(fake.count("start"), 0);
    trigger(rig, form1::openfile);

    ASSERT_EQ(fake.count("open-dialog"), 3);
    const PlatformRecord* dialog = fake.last("open-dialog");
    EXPECT_EQ(dialog->title, "Select File");
    EXPECT_EQ(dialog->filter, "Tonara file (*.tnf)|*.tnf|All files (*.*)|*.*");
    EXPECT_EQ(dialog->suffix, "tnf");
    ASSERT_EQ(fake.count("start"), 1);
    const PlatformRecord* copy = fake.last("start");
    EXPECT_FALSE(copy->hidden) << "a normal window";
    const ShellCommand command = parseShellCommand(copy->text);
    EXPECT_FALSE(command.viaCommandProcessor);
    EXPECT_EQ(command.program, fake.path);
    EXPECT_EQ(command.argument, withBlanks) << "the path arrives whole, blanks and all";
    EXPECT_TRUE(rig.form->isVisible()) << "this copy goes on";
}

TEST(Menus, ExitRunsTheShutDown) {
    AppRig rig;
    startIdle(rig);
    auto* exit = rig.form->findChild<QAction*>(form1::exit);
    EXPECT_EQ(exit->shortcut(), QKeySequence("Ctrl+Q"));
    EXPECT_THROW(exit->trigger(), ProgramEnded);
    EXPECT_FALSE(rig.form->isVisible());
    EXPECT_EQ(rig.form->state().z, 1);
}

TEST(AboutBox, ShowsTitleVersionAndTheDescriptionOfTheLanguageInForce) {
    struct Case {
        bool languageFiles;
        bool dutchMarker;
        QString description;
    };
    const QString english72 = shippedEntries("lng_en.dll").value(71);
    const Case cases[] = {
        {true, false, english72},
        {false, false, "Create the most annoying sounds with Tonara! Any problems? Mail to: " + supportEmailAddress()},
        {true, true, "Maak de meest vervelende geluiden met Tonara! Problemen? Mail dan naar: " + supportEmailAddress()},
    };
    for (const Case& c : cases) {
        AppRig rig;
        if (!c.languageFiles)
            for (const char* file : {"lng_en.dll", "lng_nl.dll"}) QFile::remove(rig.env.dataFolder(file));
        if (c.dutchMarker) writeBytes(rig.env.dataFolder("nl.ini"), "");
        startIdle(rig);
        trigger(rig, form1::about);
        auto* about = rig.window<QWidget>("frmAbout");
        ASSERT_NE(about, nullptr);
        EXPECT_TRUE(about->isVisible());
        EXPECT_EQ(about->windowTitle(), "About Tonara");
        EXPECT_EQ(control<QLabel>(*about, frmAbout::lblTitle).text(), "Tonara");
        EXPECT_EQ(control<QLabel>(*about, frmAbout::lblVersion).text(), "Version 2.3.6");
        EXPECT_EQ(control<QLabel>(*about, frmAbout::lblDescription).text(), c.description);
        control<QPushButton>(*about, frmAbout::cmdOK).click();
        EXPECT_FALSE(rig.form->isFormVisible(Form::frmAbout));
    }
}

TEST(AboutBox, SystemInfoStartsAnInstalledToolOrSaysThereIsNone) {
    AppRig rig;
    startIdle(rig);
    trigger(rig, form1::about);
    auto* sysInfo = rig.window<QWidget>("frmAbout")->findChild<QPushButton*>(frmAbout::cmdSysInfo);
    EXPECT_EQ(sysInfo->text(), "&System Info...");
    sysInfo->click();
    ASSERT_NE(rig.env.fake.last("message"), nullptr);
    EXPECT_EQ(rig.env.fake.last("message")->text, "System Information Is Unavailable At This Time");
    EXPECT_EQ(rig.env.fake.count("start"), 0);

    rig.env.fake.programsOnPath["kinfocenter"] = "/opt/kde/bin/kinfocenter";
    sysInfo->click();
    ASSERT_EQ(rig.env.fake.count("start"), 1);
    EXPECT_EQ(rig.env.fake.last("start")->text, "\"/opt/kde/bin/kinfocenter\"");
    EXPECT_FALSE(rig.env.fake.last("start")->hidden);
}

TEST(PitchHelp, ShowsItsEightTextsInEnglishOrInDutch) {
    const QStringList design{"50 Hertz: Almost inaudible sound",
                             "1000 Hertz: Sounds like a warning sound of your computer",
                             "10000 Hertz: Annoying sound",
                             "12500 Hertz: Hard to hear",
                             "15000 Hertz: Very hard to hear, but annoying sound",
                             "16000 to 20000 Hertz: Insects will immediatly go away from your pc",
                             "21000 Hertz +/-: Spooky sound",
                             "22000 Hertz and higher: Inaudible sound"};
    const QStringList dutch = shippedEntries("lng_nl.dll");
    const QStringList dutchTexts = dutch.mid(30, 5) + dutch.mid(36, 3);
    for (const QString& language : {QString("EN"), QString("NL")}) {
        AppRig rig;
        rig.writeSettings(validSettings("128", language));
        rig.form->start();
        rig.form->pitchHelpClicked();
        auto* help = rig.window<QWidget>("Form2");
        ASSERT_NE(help, nullptr);
        EXPECT_TRUE(help->isVisible());
        EXPECT_EQ(help->windowTitle(), "Custom pitch: Help");
        QStringList shown;
        for (int k = 2; k <= 9; ++k) shown << help->findChild<QLabel*>(QString("Label%1").arg(k))->text();
        EXPECT_EQ(shown, language == "EN" ? design : dutchTexts);
        EXPECT_EQ(control<QGroupBox>(*help, form2::Frame1).title(),
                  language == "EN" ? QString("Information about the pitches") : dutch[39]);
        help->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        EXPECT_EQ(rig.window<QWidget>("Form2"), nullptr) << "closing unloads it";
    }
}

} // namespace tonara::test
