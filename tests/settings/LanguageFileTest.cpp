#include "SettingsTestSupport.h"

namespace tonara::test {

namespace {

struct LanguageRig : ChecksRig {
    void writeLanguage(const QString& code, const QStringList& entries) {
        writeTextLines(env.dataFolder("lng_" + code + ".dll"), entries);
    }
    // With the file's entry n replaced by text.
    void writeLanguageWith(const QString& code, int n, const QString& text) {
        QStringList entries = numberedLanguageEntries(code);
        entries[n - 1] = text;
        writeLanguage(code, entries);
    }
    bool textsApplied(const Program& p) const { return p.acctoon == "entry 29" && main.vars.acctoon1 == "entry 29"; }
};

} // namespace

TEST(LanguageFile, MainWindowTextsAndTextVariables) {
    LanguageRig rig;
    rig.writeLanguage("nl", numberedLanguageEntries("nl"));
    rig.main.vars.sensmicro = 7;
    Program p(rig.main);
    p.LanguageAPI("nl", 1);

    EXPECT_EQ(rig.main.caption(form1::Option1), "entry 4");
    EXPECT_EQ(rig.main.caption(form1::Option9), "entry 12");
    EXPECT_EQ(rig.main.caption(form1::file), "entry 19");
    EXPECT_EQ(rig.main.caption(form1::language), "entry 28");
    EXPECT_EQ(rig.main.statusText(1), "entry 29");
    EXPECT_EQ(rig.main.caption(form1::Frame4), "entry 56, entry 57 7");
    EXPECT_TRUE(rig.main.formCaptions.isEmpty());

    EXPECT_EQ(p.langupdate, "entry 49");
    EXPECT_EQ(p.updatenewvertxt, "entry 54");
    EXPECT_EQ(p.microphonetxt, "entry 56, entry 57");
    EXPECT_EQ(rig.main.vars.microphonetxt1, p.microphonetxt);
    EXPECT_EQ(p.ntacc, "entry 56");
    EXPECT_TRUE(rig.textsApplied(p));
    EXPECT_EQ(p.rd[1], "entry 60");
    EXPECT_EQ(p.rd[9], "entry 68");
    EXPECT_EQ(p.rdbtn1, "entry 69");
    EXPECT_EQ(p.rdbtn2, "entry 70");
}

// A damaged file's endless entry is shown only in part: a caption of
// 100 000 characters made a window wider than any screen.
TEST(LanguageFile, AnEndlessEntryIsCutToAThousandCharacters) {
    LanguageRig rig;
    rig.writeLanguageWith("en", 10, QString(100000, '9'));
    Program p(rig.main);
    p.LanguageAPI("en", 1);
    EXPECT_EQ(rig.main.caption(form1::Option7), QString(1000, '9'));
    EXPECT_EQ(rig.main.caption(form1::Option8), "entry 11") << "the entries after it are where they were";
    EXPECT_TRUE(rig.textsApplied(p));
}

TEST(LanguageFile, EachFormNumberSetsOnlyItsOwnWindow) {
    LanguageRig rig;
    rig.writeLanguage("en", numberedLanguageEntries("en"));
    const auto formCaption = [&](FormControl c) { return rig.main.formCaptions.value(c); };

    Program(rig.main).LanguageAPI("en", 2);
    EXPECT_EQ(formCaption(form2::Label2), "entry 31");
    EXPECT_EQ(formCaption(form2::Label7), "entry 37");
    EXPECT_EQ(formCaption(form2::Frame1), "entry 40");
    Program(rig.main).LanguageAPI("en", 4);
    EXPECT_EQ(formCaption(form4::Label2), "entry 42");
    EXPECT_EQ(formCaption(form4::Command2), "entry 47");
    Program(rig.main).LanguageAPI("en", 99);
    EXPECT_EQ(formCaption(frmAbout::lblDescription), "entry 72");
    EXPECT_EQ(rig.main.formCaptions.size(), 9 + 7 + 1);
    EXPECT_TRUE(rig.main.captions.isEmpty());

    for (qint16 form : {qint16(0), qint16(3)}) {
        LanguageRig other;
        other.writeLanguage("en", numberedLanguageEntries("en"));
        Program p(other.main);
        p.LanguageAPI("en", form);
        EXPECT_TRUE(other.textsApplied(p)) << form;
        EXPECT_TRUE(other.main.captions.isEmpty() && other.main.formCaptions.isEmpty() && other.main.status.isEmpty());
    }
}

TEST(LanguageFile, InvalidFilesChangeNothing) {
    const std::vector<std::pair<int, QString>> faults = {
        {1, "%VALID%"}, {2, "lang=NL"}, {3, "<2>"}, {4, ""}, {29, "\" \""}, {31, ""}, {36, ""}, {41, ""},
        {47, ""}, {49, ""}, {55, ""}, {56, ""}, {58, ""}, {59, ""}, {68, ""}};
    for (const auto& [n, text] : faults) {
        LanguageRig rig;
        rig.writeLanguageWith("nl", n, text);
        Program p(rig.main);
        p.LanguageAPI("nl", 1);
        EXPECT_TRUE(p.acctoon.isEmpty() && rig.main.captions.isEmpty()) << "entry " << n;
    }
    for (int n : {30, 40, 48, 57, 69, 70, 71, 72}) {
        LanguageRig rig;
        rig.writeLanguageWith("nl", n, "");
        Program p(rig.main);
        p.LanguageAPI("nl", 1);
        EXPECT_TRUE(rig.textsApplied(p)) << "entry " << n << " may be empty";
    }
    LanguageRig missing;
    Program p(missing.main);
    p.LanguageAPI("de", 1);
    EXPECT_TRUE(p.acctoon.isEmpty() && missing.main.formEvents.isEmpty());
}

TEST(LanguageFile, AStrayCommaShiftsLaterEntries) {
    LanguageRig rig;
    QStringList entries = numberedLanguageEntries("nl");
    entries[34] = "15000 Hertz: heel moeilijk, maar irritant";
    entries[47] = "entry 48"; // an empty entry pushed into 49 would make the file fail
    rig.writeLanguage("nl", entries);
    Program(rig.main).LanguageAPI("nl", 2);
    const auto label = [&](form2::Name c) { return rig.main.formCaptions.value(c); };
    EXPECT_EQ(label(form2::Label6), "15000 Hertz: heel moeilijk");
    EXPECT_EQ(label(form2::Label7), "entry 36");
    EXPECT_EQ(label(form2::Frame1), "entry 39");
}

TEST(LanguageFile, ShortFileNeedsEntriesLeftByAnEarlierRead) {
    LanguageRig rig;
    QStringList shortDutch = numberedLanguageEntries("nl", 60);
    shortDutch[28] = "nl 29";
    rig.writeLanguage("nl", shortDutch);
    Program fresh(rig.main);
    fresh.LanguageAPI("nl", 1);
    EXPECT_TRUE(fresh.acctoon.isEmpty());

    rig.writeLanguage("en", numberedLanguageEntries("en"));
    Program reused(rig.main);
    reused.LanguageAPI("en", 3);
    reused.LanguageAPI("nl", 3);
    EXPECT_EQ(reused.acctoon, "nl 29");
    EXPECT_EQ(reused.rd[9], "entry 68");
}

TEST(LanguageFile, AnEmptyFileIsReported) {
    LanguageRig rig;
    writeBytes(rig.env.dataFolder("lng_en.dll"), "");
    rig.expectErrorReport([&] { Program(rig.main).LanguageAPI("en", 1); }, err::InputPastEnd, 1015);
}

} // namespace tonara::test
