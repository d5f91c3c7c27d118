// Reading tone files: the rule of every field, then whole files as they lie on disk.
#include "TempFolders.h"
#include "ToneFile.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

namespace tonara::test {

namespace {

using Verdict = ToneFileReading::Verdict;

// The two-beep example, one field per entry.
const QStringList kExample = {"%valid%", "[info]", "{236}", "Two beeps", "{visible}", "[sound]",
                              "{1}",     "<440>",  "\\500", "<880>",     "\\250"};

QStringList exampleWith(int field, const QString& text) {
    QStringList fields = kExample;
    fields[field - 1] = text;
    return fields;
}

std::string show(const QStringList& fields) { return fields.join(" | ").toStdString(); }

QString writeFile(const TestEnvironment& env, const QString& name, const QByteArray& bytes) {
    writeBytes(env.temp(name), bytes);
    return env.temp(name);
}

} // namespace

TEST(ToneFileFields, EachFieldHasItsRule) {
    struct Case {
        QStringList fields;
        Verdict verdict;
        qint16 visibility = 0;
        qint16 extraTime = 1;
        std::vector<Tone> tones = {{440, 500}, {880, 250}};
    };
    const std::vector<Case> cases = {
        {kExample, Verdict::Accepted},
        // Field 1: the word valid once every % is gone, case and all.
        {exampleWith(1, "valid"), Verdict::Accepted},
        {exampleWith(1, "%%val%id%"), Verdict::Accepted},
        {exampleWith(1, "%Valid%"), Verdict::Illegal},
        {exampleWith(1, "%valid% "), Verdict::Illegal},
        // Fields 2 and 6: exact headers.
        {exampleWith(2, "[INFO]"), Verdict::Illegal},
        {exampleWith(6, "sound"), Verdict::Illegal},
        // Field 3: the version, at most this release's; whatever is no number reads as 0.
        {exampleWith(3, "{237}"), Verdict::TooNew},
        {exampleWith(3, "{236.4}"), Verdict::TooNew},
        {exampleWith(3, "{100}"), Verdict::Accepted},
        {exampleWith(3, "{x}"), Verdict::Accepted},
        {exampleWith(3, "}236{"), Verdict::Accepted},
        // Field 4 is not read.
        {exampleWith(4, ""), Verdict::Accepted},
        // Field 5: visible or invisible in any case.
        {exampleWith(5, "{VISIBLE}"), Verdict::Accepted},
        {exampleWith(5, "{InVisible}"), Verdict::Accepted, 1},
        {exampleWith(5, "invisible"), Verdict::Accepted, 1},
        {exampleWith(5, "{shown}"), Verdict::Illegal},
        {exampleWith(5, "{ visible}"), Verdict::Illegal},
        // Field 7: extra time above 0, at most 32000, stored rounded halves to even.
        {exampleWith(7, "{0}"), Verdict::Illegal},
        {exampleWith(7, "{-5}"), Verdict::Illegal},
        {exampleWith(7, "{32000}"), Verdict::Accepted, 0, 32000},
        {exampleWith(7, "{32000.5}"), Verdict::Illegal},
        {exampleWith(7, "{2.5}"), Verdict::Accepted, 0, 2},
        {exampleWith(7, "{1e2}"), Verdict::Accepted, 0, 100},
        // Pitches: above 1, at most 32000; the longest numeric prefix counts.
        {exampleWith(8, "<1>"), Verdict::Illegal},
        {exampleWith(8, "<2>"), Verdict::Accepted, 0, 1, {{2, 500}, {880, 250}}},
        {exampleWith(8, "<1.5>"), Verdict::Accepted, 0, 1, {{2, 500}, {880, 250}}},
        {exampleWith(8, "<440Hz>"), Verdict::Accepted},
        {exampleWith(8, "<32001>"), Verdict::Illegal},
        {exampleWith(8, "440"), Verdict::Illegal},
        {exampleWith(8, "\\440"), Verdict::Illegal},
        // Durations: above 0, at most 32000.
        {exampleWith(9, "\\0"), Verdict::Illegal},
        {exampleWith(9, "\\0.4"), Verdict::Accepted, 0, 1, {{440, 0}, {880, 250}}},
        {exampleWith(9, "\\32000"), Verdict::Accepted, 0, 1, {{440, 32000}, {880, 250}}},
        {exampleWith(9, "\\32001"), Verdict::Illegal},
        {exampleWith(9, "500"), Verdict::Illegal},
        {exampleWith(9, "<500>"), Verdict::Illegal},
        // A header alone is a file of no tones; a last field without its partner is not used.
        {kExample.mid(0, 7), Verdict::Accepted, 0, 1, {}},
        {kExample.mid(0, 8), Verdict::Accepted, 0, 1, {}},
        {kExample.mid(0, 10), Verdict::Accepted, 0, 1, {{440, 500}}},
        {kExample + QStringList{"<2000>"}, Verdict::Accepted},
        // A short header is illegal, and the first failed test decides.
        {kExample.mid(0, 6), Verdict::Illegal},
        {{}, Verdict::Illegal},
        {exampleWith(1, "x").replaceInStrings("{236}", "{999}"), Verdict::Illegal},
        {exampleWith(3, "{999}").replaceInStrings("{visible}", "{shown}"), Verdict::TooNew},
    };
    for (const Case& c : cases) {
        const ToneFileReading r = checkToneFields(c.fields);
        ASSERT_EQ(r.verdict, c.verdict) << show(c.fields);
        if (c.verdict != Verdict::Accepted) continue;
        EXPECT_EQ(r.file.visibility, c.visibility) << show(c.fields);
        EXPECT_EQ(r.file.extraTime, c.extraTime) << show(c.fields);
        EXPECT_EQ(r.file.tones, c.tones) << show(c.fields);
    }
}

TEST(ToneFileReading, ReadsFieldsAtCommasAndLineEndsWithQuotesAndBlankLines) {
    TestEnvironment env;
    struct Case {
        const char* name;
        QByteArray bytes;
        Verdict verdict;
        size_t tones;
    };
    const std::vector<Case> cases = {
        {"lines", "%valid%\n[info]\n{236}\nTwo beeps\n{visible}\n[sound]\n{1}\n<440>\n\\500\n<880>\n\\250\n",
         Verdict::Accepted, 2},
        {"crlf", "%valid%\r\n[info]\r\n{236}\r\nTwo beeps\r\n{visible}\r\n[sound]\r\n{1}\r\n<440>\r\n\\500\r\n",
         Verdict::Accepted, 1},
        {"commas", "%valid%,[info],{236},Two beeps,{visible},[sound],{1},<440>,\\500,<880>,\\250", Verdict::Accepted, 2},
        {"leading blanks", "  %valid%\n\t[info]\n {236}\nx\n {visible}\n [sound]\n {1}\n <440>\n \\500\n",
         Verdict::Accepted, 1},
        {"blank lines", "\n%valid%\n[info]\n\n{236}\nx\n{visible}\n[sound]\n{1}\n\n<440>\n\\500\n  \n\r\n\t\n<880>\n\\250\n\n",
         Verdict::Accepted, 2},
        {"quoted title", "%valid%\n[info]\n{236}\n\"Two beeps, loud\"\n{visible}\n[sound]\n{1}\n<440>\n\\500\n",
         Verdict::Accepted, 1},
        {"comma in the title", "%valid%\n[info]\n{236}\nTwo beeps, loud\n{visible}\n[sound]\n{1}\n<440>\n\\500\n",
         Verdict::Illegal, 0},
        {"empty", "", Verdict::Illegal, 0},
        {"text", "Dear diary,\ntoday I wrote no tone file.\n", Verdict::Illegal, 0},
        {"binary", QByteArray("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16), Verdict::Illegal, 0},
        {"too new", "%valid%\n[info]\n{237}\nx\n{visible}\n[sound]\n{1}\n", Verdict::TooNew, 0},
    };
    for (const Case& c : cases) {
        const ToneFileReading r = readToneFile(writeFile(env, "t.tnf", c.bytes));
        EXPECT_EQ(r.verdict, c.verdict) << c.name;
        EXPECT_EQ(r.file.tones.size(), c.tones) << c.name;
    }
}

TEST(ToneFileReading, AFileHoldsAtMost1999Fields) {
    TestEnvironment env;
    auto fileOf = [&](int fields) {
        QByteArray bytes = "%valid%\n[info]\n{236}\nx\n{visible}\n[sound]\n{1}\n";
        for (int k = 8; k <= fields; ++k) bytes += k % 2 == 0 ? "<440>\n" : "\\10\n";
        return writeFile(env, QString("f%1.tnf").arg(fields), bytes);
    };
    const ToneFileReading full = readToneFile(fileOf(1999));
    ASSERT_EQ(full.verdict, Verdict::Accepted);
    EXPECT_EQ(full.file.tones.size(), 996u) << "fields 8 to 1999: 996 pairs";
    EXPECT_EQ(readToneFile(fileOf(2000)).verdict, Verdict::Illegal);
    EXPECT_EQ(readToneFile(fileOf(50000)).verdict, Verdict::Illegal);
}

TEST(ToneFileReading, WhatIsNoFileIsIllegal) {
    TestEnvironment env;
    EXPECT_EQ(readToneFile(env.temp("missing.tnf")).verdict, Verdict::Illegal);
    QDir(env.temp()).mkdir("folder.tnf");
    EXPECT_EQ(readToneFile(env.temp("folder.tnf")).verdict, Verdict::Illegal);
    // Neither waited on nor a run-time failure: as illegal as a missing file.
    ASSERT_EQ(::mkfifo(QFile::encodeName(env.temp("fifo.tnf")).constData(), 0600), 0);
    EXPECT_EQ(readToneFile(env.temp("fifo.tnf")).verdict, Verdict::Illegal);
    writeBytes(env.temp("locked.tnf"), "%valid%\n[info]\n{236}\nx\n{visible}\n[sound]\n{1}\n");
    ::chmod(QFile::encodeName(env.temp("locked.tnf")).constData(), 0);
    if (::geteuid() == 0) GTEST_SKIP() << "a file without permissions is still readable to root";
    EXPECT_EQ(readToneFile(env.temp("locked.tnf")).verdict, Verdict::Illegal);
}

TEST(ToneFileReading, TheExamplesReadAsTheirNamesSay) {
    const QString examples = TONARA_EXAMPLES;
    const ToneFileReading beeps = readToneFile(examples + "/two-beeps.tnf");
    ASSERT_EQ(beeps.verdict, Verdict::Accepted);
    EXPECT_EQ(beeps.file.tones, (std::vector<Tone>{{440, 500}, {880, 250}}));
    EXPECT_EQ(beeps.file.visibility, 0);

    const ToneFileReading scale = readToneFile(examples + "/scale.tnf");
    ASSERT_EQ(scale.verdict, Verdict::Accepted);
    ASSERT_EQ(scale.file.tones.size(), 8u);
    EXPECT_EQ(scale.file.tones.front().pitch, 262);
    EXPECT_EQ(scale.file.tones.back().pitch, 523);
    for (size_t i = 1; i < scale.file.tones.size(); ++i)
        EXPECT_GT(scale.file.tones[i].pitch, scale.file.tones[i - 1].pitch) << "a rising scale";

    const ToneFileReading invisible = readToneFile(examples + "/invisible.tnf");
    ASSERT_EQ(invisible.verdict, Verdict::Accepted);
    EXPECT_EQ(invisible.file.visibility, 1);
    EXPECT_FALSE(invisible.file.tones.empty());
}

} // namespace tonara::test
