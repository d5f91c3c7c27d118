// The wizard driven as a user drives it: the volume tone, the age, the
// levels, the verdict and the report, on the fake platform's clock.
#include "Folders.h"
#include "QuillonRig.h"
#include "ReadableColour.h"

#include <QAccessible>
#include <QGroupBox>
#include <gtest/gtest.h>

namespace tonara::test {

namespace {


QColor textColour(QWidget& window, quillonResult::Name label) {
    return control<QLabel>(window, label).palette().color(QPalette::WindowText);
}

// The verdict's colour as the window shows it: the design's, or its nearest
// shade readable on the window's background.
QColor shownColour(QWidget& window, const QColor& design) {
    return readableOn(window.palette().color(QPalette::Window), design);
}

const QStringList kEnglishReportStart = {
    "Tonara hearing age report", "[Legend]",          "Level 1: 1000 Hz",   "Level 2: 2000 Hz",
    "Level 3: 4000 Hz",          "Level 4: 6000 Hz",  "Level 5: 8000 Hz",   "Level 6: 12000 Hz",
    "Level 7: 15000 Hz",         "Level 8: 16000 Hz", "Level 9: 17500 Hz",  "Level 10: 19000 Hz",
    "Level 11: 21000 Hz",        "[Results]",
};

QStringList savedReport(QuillonRig& rig) {
    saveReportAs(rig, rig.env.temp("report.txt"));
    return fileLines(rig.env.temp("report.txt"));
}

} // namespace

TEST(Wizard, AgeThirtyNotHearingLevelSixIsHearingAgeFortyFiveAverageInOrange) {
    QuillonRig rig;
    rig.wizard.start();
    quillon::Form1& volume = rig.wizard.volumeWindow();
    ASSERT_TRUE(volume.isVisible());
    EXPECT_EQ(volume.windowTitle(), "How old is your hearing?");

    rig.env.fake.at(450, [&] { click(volume, quillonVolume::Command3); });
    click(volume, quillonVolume::Command2);
    bool ageWindowShownAlone = false;
    rig.env.fake.at(rig.env.fake.clockMs + 50,
                    [&] { ageWindowShownAlone = rig.wizard.ageWindow().isVisible() && !volume.isVisible(); });
    runTest(rig, "30", 5);

    EXPECT_TRUE(ageWindowShownAlone);
    quillon::Form3& result = rig.wizard.resultWindow();
    EXPECT_TRUE(result.isVisible());
    EXPECT_FALSE(rig.wizard.testWindow().isVisible());
    EXPECT_FALSE(rig.wizard.ageWindow().isVisible());
    EXPECT_EQ(caption(result, quillonResult::Label1), "The age of your hearing is:");
    EXPECT_EQ(caption(result, quillonResult::Label2), "45");
    EXPECT_EQ(caption(result, quillonResult::Label3), "Your hearing is:");
    EXPECT_EQ(caption(result, quillonResult::Label4), "Average");
    EXPECT_EQ(textColour(result, quillonResult::Label4), shownColour(result, QColor(255, 128, 0)));

    // The volume tone, then levels 1 to 6, each its own one-second tone.
    const std::vector<QByteArray> played = rig.played();
    const qint32 pitches[] = {1000, 1000, 2000, 4000, 6000, 8000, 12000};
    ASSERT_EQ(played.size(), std::size(pitches));
    for (size_t i = 0; i < played.size(); ++i) EXPECT_TRUE(played[i] == toneImage(pitches[i])) << "tone " << i;
    for (const PlatformRecord* play : rig.env.fake.all("play")) EXPECT_TRUE(play->looping) << "looping";
    EXPECT_FALSE(QFile::exists(rig.env.temp("tnfwinmmtmp.wav")));

    QStringList expected = kEnglishReportStart;
    expected << "Age: 30" << "Heared up to level: 6" << "Hearing age: 45" << "Hearing is: Average";
    EXPECT_EQ(savedReport(rig), expected);
    const PlatformRecord* dialog = rig.env.fake.last("save-dialog");
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(dialog->filter, "Text Files (*.txt)|*.txt|All Files (*.*)|*.*");
    EXPECT_EQ(dialog->offeredName, documentsFolder()) << "no file name is offered, only the folder";
}

TEST(Wizard, InDutchTheWindowsSpeakDutchAndTheVerdictIsGemiddeld) {
    QuillonRig rig;
    rig.handOver("128\r\nnl\r\n");
    rig.wizard.start();
    EXPECT_FALSE(QFile::exists(rig.env.temp("quillon.ini")));
    quillon::Form1& volume = rig.wizard.volumeWindow();
    EXPECT_EQ(volume.windowTitle(), "Hoe oud is je gehoor?");
    EXPECT_EQ(control<QGroupBox>(volume, quillonVolume::Frame1).title(), "Stap 1: Het volume veranderen");
    EXPECT_EQ(caption(volume, quillonVolume::Label1), "Verander het volume van Windows:");
    EXPECT_EQ(buttonText(volume, quillonVolume::Command1), "Geluids Setup");
    EXPECT_EQ(buttonText(volume, quillonVolume::Command2), "Start Geluid");
    EXPECT_EQ(buttonText(volume, quillonVolume::Command3), "Stop Geluid");
    EXPECT_EQ(buttonText(volume, quillonVolume::Command4), "Volgende >");

    QStringList testTexts;
    rig.env.fake.at(rig.env.fake.clockMs + 350, [&] {
        quillon::Form2& test = rig.wizard.testWindow();
        testTexts << test.windowTitle() << caption(test, quillonTest::Label1) << buttonText(test, quillonTest::Command1)
                  << buttonText(test, quillonTest::Command2) << caption(test, quillonTest::Label2)
                  << caption(test, quillonTest::Label3) << caption(test, quillonTest::Label4)
                  << caption(test, quillonTest::Label5) << caption(test, quillonTest::Label6);
    });
    runTest(rig, "30", 5);

    quillon::Form4& age = rig.wizard.ageWindow();
    EXPECT_EQ(age.windowTitle(), "Wat is je leeftijd?");
    EXPECT_EQ(caption(age, quillonAge::Label1), "Vul je leeftijd in:");
    EXPECT_EQ(buttonText(age, quillonAge::Command1), "Volgende >");
    EXPECT_EQ(testTexts, QStringList({"Hoe oud is je gehoor?", "Hoor je het geluid?", "Ik hoor het geluid",
                                      "Ik hoor het geluid niet", "Verander alstublieft niet het geluid!", "Level:",
                                      "1", "Pitch:", "1000"}));
    quillon::Form3& result = rig.wizard.resultWindow();
    EXPECT_EQ(result.windowTitle(), "Hoe oud is je gehoor?");
    EXPECT_EQ(caption(result, quillonResult::Label1), "De leeftijd van uw gehoor is:");
    EXPECT_EQ(caption(result, quillonResult::Label3), "Je gehoor is:");
    EXPECT_EQ(caption(result, quillonResult::Label4), "Gemiddeld");
    EXPECT_EQ(textColour(result, quillonResult::Label4), shownColour(result, QColor(255, 128, 0)));
    // "128" is served by the player, as "256" is.
    EXPECT_EQ(rig.played().size(), 6u);
    EXPECT_EQ(rig.env.fake.count("start"), 0);

    QStringList expected = kEnglishReportStart;
    expected << "Age: 30" << "Heared up to level: 6" << "Hearing age: 45" << "Hearing is: Gemiddeld";
    EXPECT_EQ(savedReport(rig), expected);
}

TEST(Wizard, OutcomesAtTheEndsOfTheTest) {
    struct Case {
        const char* age;
        int heardLevels;
        const char* hearingAge;
        const char* verdict;
        QColor colour;
        const char* reportLevel;
    };
    const Case cases[] = {
        {"30", 0, "95", "Bad", QColor(255, 0, 0), "Heared up to level: 1"},
        {"30", 7, "27", "Perfect", QColor(0, 128, 0), "Heared up to level: 8"},
        {"20", 11, "9", "Perfect", QColor(0, 128, 0), "Heared up to level: 12"},
        {"0", 10, "9", "Good", QColor(0, 0, 255), "Heared up to level: 11"},
    };
    for (const Case& c : cases) {
        QuillonRig rig;
        rig.wizard.start();
        runTest(rig, c.age, c.heardLevels);
        quillon::Form3& result = rig.wizard.resultWindow();
        const std::string which = std::string("age ") + c.age + ", heard " + std::to_string(c.heardLevels);
        EXPECT_TRUE(result.isVisible()) << which;
        EXPECT_EQ(caption(result, quillonResult::Label2), c.hearingAge) << which;
        EXPECT_EQ(caption(result, quillonResult::Label4), c.verdict) << which;
        EXPECT_EQ(textColour(result, quillonResult::Label4), shownColour(result, c.colour)) << which;
        EXPECT_EQ(savedReport(rig).value(15), c.reportLevel) << which;
        EXPECT_EQ(int(rig.played().size()), std::min(c.heardLevels + 1, 11)) << which;
    }
}

TEST(Wizard, InvalidAgesGetTheMessageAndTheWindowStays) {
    struct Case {
        const char* handOver;
        const char* text;
        const char* message;
        const char* title;
    };
    // "1 5" cannot be converted; it gets the message rather than ending the program.
    const Case cases[] = {
        {"256\r\nen\r\n", "", "Please enter a valid age (0-99)!", "Unvalid age"},
        {"256\r\nen\r\n", " ", "Please enter a valid age (0-99)!", "Unvalid age"},
        {"256\r\nen\r\n", "100", "Please enter a valid age (0-99)!", "Unvalid age"},
        {"256\r\nen\r\n", "-1", "Please enter a valid age (0-99)!", "Unvalid age"},
        {"256\r\nen\r\n", "1 5", "Please enter a valid age (0-99)!", "Unvalid age"},
        {"256\r\nnl\r\n", "100", "Voer een geldige leeftijd in (0-99)!", "Ongeldige leeftijd"},
    };
    for (const Case& c : cases) {
        QuillonRig rig;
        rig.handOver(c.handOver);
        rig.wizard.start();
        quillon::Form4& age = rig.wizard.ageWindow();
        age.loadHandler();
        age.show();
        control<QLineEdit>(age, quillonAge::Text1).setText(c.text);
        click(age, quillonAge::Command1);
        const PlatformRecord* message = rig.env.fake.last("message");
        ASSERT_NE(message, nullptr) << '"' << c.text << '"';
        EXPECT_EQ(message->text, c.message);
        EXPECT_EQ(message->title, c.title);
        EXPECT_EQ(message->icon, MessageIcon::Critical);
        EXPECT_TRUE(age.isVisible()) << '"' << c.text << '"';
        EXPECT_EQ(rig.env.fake.count("end"), 0);
    }
}

TEST(Wizard, AnAgeTypedWithAFractionCountsItsWholeYears) {
    QuillonRig rig;
    rig.wizard.start();
    runTest(rig, "99.9", 0);
    EXPECT_EQ(rig.wizard.state().age, 99);
    EXPECT_EQ(rig.env.fake.count("message"), 0);
    // The key filter kept out what does not read as a number.
    QuillonRig typed;
    typed.wizard.start();
    runTest(typed, "4x2", 0);
    EXPECT_EQ(typed.wizard.state().age, 42);
}

TEST(Wizard, StopSoundSilencesTheVolumeToneAndTheButtonsReturn) {
    QuillonRig rig;
    rig.wizard.start();
    quillon::Form1& volume = rig.wizard.volumeWindow();
    EXPECT_TRUE(control<QAbstractButton>(volume, quillonVolume::Command2).isEnabled());
    EXPECT_FALSE(control<QAbstractButton>(volume, quillonVolume::Command3).isEnabled());
    bool playDisabledWhilePlaying = false;
    bool stopEnabledWhilePlaying = false;
    rig.env.fake.at(400, [&] {
        playDisabledWhilePlaying = !control<QAbstractButton>(volume, quillonVolume::Command2).isEnabled();
        stopEnabledWhilePlaying = control<QAbstractButton>(volume, quillonVolume::Command3).isEnabled();
        click(volume, quillonVolume::Command3);
    });
    click(volume, quillonVolume::Command2);

    EXPECT_TRUE(playDisabledWhilePlaying);
    EXPECT_TRUE(stopEnabledWhilePlaying);
    EXPECT_TRUE(control<QAbstractButton>(volume, quillonVolume::Command2).isEnabled());
    EXPECT_FALSE(control<QAbstractButton>(volume, quillonVolume::Command3).isEnabled());
    ASSERT_EQ(rig.played().size(), 1u);
    EXPECT_TRUE(rig.played()[0] == toneImage(1000));
    const PlatformRecord* silence = rig.env.fake.last("silence");
    ASSERT_NE(silence, nullptr);
    EXPECT_LE(silence->atMs, 400 + 100) << "within one wait period";
    EXPECT_FALSE(QFile::exists(rig.env.temp("tnfwinmmtmp.wav")));
    EXPECT_EQ(rig.wizard.tone().z, 1);
}

TEST(Wizard, TheToneProgramModesStartTheirProgramsWithThePitch) {
    struct Case {
        const char* handOver;
        const char* command;
    };
    for (const Case& c : {Case{"32\r\nen\r\n", "SOUND32.dll"}, Case{"16\r\nen\r\n", "cmd /c relay16.exe"}}) {
        QuillonRig rig;
        rig.handOver(c.handOver);
        rig.wizard.start();
        quillon::Form1& volume = rig.wizard.volumeWindow();
        QByteArray requestWhilePlaying;
        rig.env.fake.at(500, [&] {
            requestWhilePlaying = fileBytes(rig.env.temp("sound.ini"));
            rig.env.fake.processList = {{41, "/opt/tonara/sound32.dll"}, {42, "/opt/tonara/SOUND16.DLL"}};
            click(volume, quillonVolume::Command3);
        });
        click(volume, quillonVolume::Command2);
        const PlatformRecord* start = rig.env.fake.last("start");
        ASSERT_NE(start, nullptr) << c.command;
        EXPECT_EQ(start->text, c.command);
        EXPECT_TRUE(start->hidden) << "hidden";
        EXPECT_EQ(requestWhilePlaying, QByteArray(" 1000 \r\n"));
        EXPECT_FALSE(QFile::exists(rig.env.temp("sound.ini")));
        EXPECT_EQ(rig.env.fake.count("terminate"), 2) << "both tone programs ended";
        EXPECT_EQ(rig.env.fake.count("play"), 0);
    }
}

TEST(Wizard, SoundSettingsStartsTheVolumeControlWhenThereIsOne) {
    QuillonRig rig;
    rig.wizard.start();
    click(rig.wizard.volumeWindow(), quillonVolume::Command1);
    EXPECT_EQ(rig.env.fake.count("volume-control"), 1);
    rig.env.fake.volumeControlInstalled = false;
    click(rig.wizard.volumeWindow(), quillonVolume::Command1);
    EXPECT_EQ(rig.env.fake.count("message"), 0);
    EXPECT_EQ(rig.env.fake.count("end"), 0);
}

TEST(Wizard, ClosingAWindowStopsTheToneAndEndsTheProgram) {
    QuillonRig rig;
    rig.handOver("32\r\nen\r\n");
    rig.wizard.start();
    quillon::Form1& volume = rig.wizard.volumeWindow();
    rig.env.fake.at(300, [&] {
        rig.env.fake.processList = {{41, "/opt/tonara/sound32.dll"}};
        volume.close();
    });
    EXPECT_THROW(click(volume, quillonVolume::Command2), ProgramEnded);
    EXPECT_EQ(rig.wizard.tone().z, 1);
    EXPECT_EQ(rig.env.fake.count("terminate"), 1);
    EXPECT_FALSE(QFile::exists(rig.env.temp("sound.ini")));
    const PlatformRecord* end = rig.env.fake.last("end");
    ASSERT_NE(end, nullptr);
    EXPECT_EQ(end->exitCode, 0);

    // The result window as well; the player's tone and file go with the program.
    QuillonRig after;
    after.wizard.start();
    runTest(after, "30", 2);
    writeBytes(after.env.temp("tnfwinmmtmp.wav"), "left");
    EXPECT_THROW(after.wizard.resultWindow().close(), ProgramEnded);
    EXPECT_FALSE(QFile::exists(after.env.temp("tnfwinmmtmp.wav")));
    EXPECT_EQ(after.env.fake.records.back().kind, "end");
    EXPECT_EQ(after.env.fake.records[after.env.fake.records.size() - 2].kind, "silence");
}

TEST(Wizard, TheResultSaysWhenLevelsLayAboveWhatTheOutputCouldReproduce) {
    struct Case {
        int outputRate;
        int heardLevels;
        const char* handOver;
        const char* note; // empty: no note
    };
    const Case cases[] = {
        {96000, 11, "", ""},
        {32000, 5, "", ""}, // the test ended below 16 000 Hz
        {32000, 11, "",
         "Note: the sound output reproduces only pitches below 16000 Hz (32000 samples per second). Not hearing "
         "level 8 or higher says nothing about your hearing."},
        {32000, 7, "256\r\nnl\r\n",
         "Let op: de geluidsuitvoer geeft alleen tonen onder 16000 Hz weer (32000 samples per seconde). Dat je "
         "niveau 8 of hoger niet hoort, zegt niets over je gehoor."},
        {0, 11, "", ""}, // no output: nothing known
    };
    for (const Case& c : cases) {
        QuillonRig rig;
        rig.env.fake.outputRateHz = c.outputRate;
        if (*c.handOver) rig.handOver(c.handOver);
        rig.wizard.start();
        runTest(rig, "30", c.heardLevels);
        QLabel& note = control<QLabel>(rig.wizard.resultWindow(), quillonResult::Label5);
        const std::string which = std::to_string(c.outputRate) + " Hz, heard " + std::to_string(c.heardLevels);
        EXPECT_EQ(note.isVisible(), *c.note != 0) << which;
        if (*c.note) {
            EXPECT_EQ(note.text(), c.note) << which;
        }
    }
}

TEST(Wizard, ControlsCarryTheirCaptionsAsAccessibleNames) {
    QuillonRig rig;
    rig.wizard.start();
    quillon::Form4& age = rig.wizard.ageWindow();
    age.loadHandler();
    auto name = [](QWidget& w) { return QAccessible::queryAccessibleInterface(&w)->text(QAccessible::Name); };
    EXPECT_EQ(name(control<QLineEdit>(age, quillonAge::Text1)), "Enter your age:");
    EXPECT_EQ(name(control<QAbstractButton>(rig.wizard.volumeWindow(), quillonVolume::Command2)), "Play sound");
    QAbstractButton& save = control<QAbstractButton>(rig.wizard.resultWindow(), quillonResult::Picture1);
    EXPECT_EQ(name(save), "Save report");
    EXPECT_EQ(save.toolTip(), "Save report");
}

} // namespace tonara::test
