#include "SettingsTestSupport.h"

namespace tonara::test {

namespace {

const QStringList kFirstRun{"AutoUpdate=y", "Soundbit=128", "Language=EN", "SendData=n", "Microphone=1", "MicrophoneON=y"};

struct SettingsRig : ChecksRig {
    QStringList withLine(int n, const QString& text) const {
        QStringList lines = kFirstRun;
        lines[n - 1] = text;
        return lines;
    }
    void check() { Program(main).CheckSettings(); }
};

} // namespace

TEST(SettingsFile, AppliesEveryLineAndLogsEachAsRead) {
    SettingsRig rig;
    rig.writeSettings({"AUTOUPDATE=N", "SoundBit=64", "Language=NL", "SendData=Y", "Microphone= 7", "MicrophoneON=n"});
    rig.check();
    const MainState& v = rig.main.vars;
    EXPECT_EQ(v.updater, 0);
    EXPECT_EQ(v.bit, "64");
    EXPECT_EQ(v.lang, "nl");
    EXPECT_EQ(v.snd, 1);
    EXPECT_EQ(v.sensmicro, 7);
    EXPECT_EQ(v.microcheck, 0);
    EXPECT_TRUE(rig.main.isChecked(form1::dutch));
    EXPECT_FALSE(rig.main.isChecked(form1::english) || rig.main.isChecked(form1::autoupdate) ||
                 rig.main.isChecked(form1::microinputonoff));
    EXPECT_FALSE(rig.main.isEnabled(form1::Command4) || rig.main.isEnabled(form1::Command5));
    EXPECT_EQ(rig.main.caption(form1::Frame4), "Microphone input, sensitivity: 7");
    EXPECT_EQ(rig.activityLog(), (QStringList{"", "", "", "AUTOUPDATE=N", "SoundBit=64", "Language=NL", "SendData=Y",
                                              "Microphone= 7", "MicrophoneON=n"}));
    EXPECT_TRUE(rig.main.formEvents.isEmpty());

    SettingsRig first;
    first.writeSettings(kFirstRun);
    writeTextLines(first.env.dataFolder("lng_en.dll"), numberedLanguageEntries("en"));
    first.check();
    EXPECT_EQ(first.main.caption(form1::Frame4), "entry 56, entry 57 1");
    EXPECT_EQ(first.main.vars.updater, 1);
    EXPECT_EQ(first.main.vars.bit, "128");
    EXPECT_EQ(first.main.vars.snd, 0);
    EXPECT_EQ(first.main.vars.microcheck, 1);
    EXPECT_TRUE(first.main.isChecked(form1::autoupdate) && first.main.isChecked(form1::english) &&
                first.main.isChecked(form1::microinputonoff) && first.main.isEnabled(form1::Command4));
}

TEST(SettingsFile, MicrophoneSensitivityTakesTheIntegerPartWithinOneToTwenty) {
    for (const char* line : {"Microphone=7", "Microphone= 7", "microphone=7.9"}) {
        SettingsRig rig;
        rig.writeSettings(rig.withLine(5, line));
        rig.check();
        EXPECT_EQ(rig.main.vars.sensmicro, 7) << line;
    }
    for (const char* line : {"Microphone=0", "Microphone=21", "Microphone=100000", "Mikrofoon=5"}) {
        SettingsRig rig;
        rig.writeSettings(rig.withLine(5, line));
        rig.check();
        EXPECT_TRUE(rig.sentToAgreement()) << line;
        EXPECT_EQ(rig.main.vars.lang, "en") << "lines before the failing one stay applied";
        EXPECT_EQ(rig.main.vars.sensmicro, 0) << line;
    }
    for (const char* line : {"Microphone=abc", "Microphone="}) {
        SettingsRig rig;
        rig.writeSettings(rig.withLine(5, line));
        rig.expectErrorReport([&] { rig.check(); }, err::TypeMismatch, 103);
    }
}

TEST(SettingsFile, InvalidFilesSendTheUserToTheAgreement) {
    SettingsRig missing;
    missing.check();
    EXPECT_TRUE(missing.sentToAgreement());

    SettingsRig comma;
    comma.writeSettings(comma.withLine(1, "AutoUpdate=y, more"));
    comma.check();
    EXPECT_TRUE(comma.sentToAgreement());
    EXPECT_EQ(comma.activityLog(), (QStringList{"", "", "", "AutoUpdate=y", "> New file"}));

    SettingsRig emptyLanguage;
    emptyLanguage.writeSettings(emptyLanguage.withLine(3, ""));
    emptyLanguage.check();
    EXPECT_TRUE(emptyLanguage.sentToAgreement());
    EXPECT_EQ(emptyLanguage.main.vars.updater, 1);
    EXPECT_TRUE(emptyLanguage.main.vars.lang.isEmpty());

    SettingsRig tenEntries;
    tenEntries.writeSettings(kFirstRun + QStringList{"a", "b", "c", "d"});
    tenEntries.check();
    EXPECT_TRUE(tenEntries.sentToAgreement());
    EXPECT_EQ(tenEntries.main.vars.updater, 0);
}

TEST(SettingsFile, WriteLineReplacesOnlyExistingLines) {
    SettingsRig rig;
    rig.writeSettings(kFirstRun);
    Program(rig.main).WriteLine(3, "Language=NL");
    EXPECT_EQ(fileLines(rig.env.appData("tonara.ini")), rig.withLine(3, "Language=NL"));
    EXPECT_EQ(rig.activityLog().last(), "> Write action, Line:  3, Value: Language=NL");

    Program(rig.main).WriteLine(7, "Extra=1");
    EXPECT_EQ(fileLines(rig.env.appData("tonara.ini")), rig.withLine(3, "Language=NL"));

    // The first empty entry ends the rewritten file.
    rig.writeSettings(rig.withLine(4, ""));
    Program(rig.main).WriteLine(1, "AutoUpdate=n");
    EXPECT_EQ(fileLines(rig.env.appData("tonara.ini")), (QStringList{"AutoUpdate=n", "Soundbit=128", "Language=EN"}));
}

TEST(SettingsFile, NineEntriesPassReadingButEndTheProgramOnWrite) {
    SettingsRig rig;
    const QStringList nine = kFirstRun + QStringList{"x", "y", "z"};
    rig.writeSettings(nine);
    rig.check();
    EXPECT_EQ(rig.main.vars.bit, "128");
    EXPECT_TRUE(rig.main.formEvents.isEmpty());

    EXPECT_THROW(Program(rig.main).WriteLine(2, "SoundBit=16"), ProgramEnded);
    EXPECT_EQ(fileLines(rig.env.appData("tonara.ini")), nine);
    EXPECT_EQ(rig.env.fake.count("message"), 0);
}

TEST(SettingsFile, WriteLineWithoutAFileIsReported) {
    SettingsRig rig;
    rig.expectErrorReport([&] { Program(rig.main).WriteLine(1, "AutoUpdate=y"); }, err::FileNotFound, 102);
    EXPECT_FALSE(QFile::exists(rig.env.appData("tonara.ini")));
}

} // namespace tonara::test
