#include "ErrorWindowExit.h"
#include "SettingsTestSupport.h"
#include "Trap.h"

#include <QLocale>

namespace tonara::test {

TEST(ErrorReport, WritesFourLinesShowsTheWindowAndClosesEverythingWhenLeft) {
    ChecksRig rig;
    rig.env.fake.screenInfo = {120, 1280, 1024};
    rig.env.fake.at(200, [&] { rig.main.errorLeft = true; });
    try {
        Program(rig.main).ErrorNote(-5, RuntimeError(53));
        FAIL() << "ErrorNote must end the program";
    } catch (const ProgramEnded& ended) {
        EXPECT_EQ(ended.exitCode, 0);
    }

    const QStringList log = rig.errorLog();
    ASSERT_EQ(log.size(), 4);
    EXPECT_EQ(log[0], "Error number:  53,   Error value: -5");
    EXPECT_EQ(log[1], "<File not found>");
    EXPECT_EQ(log[2], "Resolution: 1280 x 1024,   DPI: 120");
    const QDateTime when = rig.env.fake.startTime;
    EXPECT_EQ(log[3], "Time: " + QLocale::system().toString(when.time(), QLocale::ShortFormat) +
                          ", Date: " + QLocale::system().toString(when.date(), QLocale::ShortFormat));
    EXPECT_EQ(rig.main.errorLines, log);
    EXPECT_GE(rig.env.fake.clockMs, 200);

    QStringList expected{"show Form6"};
    for (const char* f : {"Form1", "Form2", "Form3", "Form4", "Form5", "Form7", "Form8", "Form9"})
        expected << QString("hide ") + f;
    for (const char* f : {"Form1", "Form2", "Form3", "Form4", "Form5", "Form6", "Form7", "Form8", "Form9"})
        expected << QString("unload ") + f;
    EXPECT_EQ(rig.main.formEvents, expected);
}

TEST(ErrorReport, OnlyTheLatestReportStaysInTheLog) {
    ChecksRig rig;
    rig.env.fake.at(100, [&] { trapped(rig.main, 7, [] { raise(err::Overflow); }); });
    rig.env.fake.at(300, [&] { rig.main.errorLeft = true; });
    EXPECT_THROW(trapped(rig.main, 14, [] { raise(err::FileNotFound); }), ProgramEnded);
    ASSERT_EQ(rig.errorLog().size(), 4);
    EXPECT_EQ(rig.errorLog()[0], "Error number:  6,   Error value:  7");
    EXPECT_EQ(rig.main.errorLines.size(), 8);
}

TEST(ErrorReport, AnUnwritableLogStillReachesTheWindow) {
    ChecksRig rig;
    qputenv("TEMP", QFile::encodeName(rig.env.temp("missing")));
    rig.env.fake.at(0, [&] { rig.main.errorLeft = true; });
    EXPECT_THROW(Program(rig.main).ErrorNote(1015, RuntimeError(62)), ProgramEnded);
    ASSERT_EQ(rig.main.errorLines.size(), 4);
    EXPECT_EQ(rig.main.errorLines[1], "<Input past end of file>");
}

} // namespace tonara::test
