#include "SettingsTestSupport.h"

namespace tonara::test {

TEST(ActivityLog, StartsWithThreeEmptyLinesAndGrowsLineByLine) {
    Rig rig;
    Program(rig.window).PrintFile("> New file");
    EXPECT_EQ(fileBytes(rig.env.temp("userdata.txt")), QByteArray("\r\n\r\n\r\n> New file\r\n"));

    Program(rig.window).PrintFile("#Pressed Button 2");
    EXPECT_EQ(rig.activityLog(), (QStringList{"", "", "", "> New file", "#Pressed Button 2"}));
}

TEST(ActivityLog, KeepsAtMostOneHundredLinesByReplacingTheLast) {
    Rig rig;
    QStringList full;
    for (int n = 1; n <= 100; ++n) full << QString("line %1").arg(n);
    writeTextLines(rig.env.temp("userdata.txt"), full);

    Program(rig.window).PrintFile("newest");
    Program(rig.window).PrintFile("newer still");
    QStringList expected = full.mid(0, 99);
    expected << "newer still";
    EXPECT_EQ(rig.activityLog(), expected);
}

TEST(ActivityLog, RewriteSplitsCommasAndStopsAtAnEmptyLine) {
    Rig rig;
    Program(rig.window).PrintFile("> Write action, Line:  3, Value: Language=NL");
    EXPECT_EQ(rig.activityLog().last(), "> Write action, Line:  3, Value: Language=NL");
    Program(rig.window).PrintFile("next");
    EXPECT_EQ(rig.activityLog().mid(3), (QStringList{"> Write action", "Line:  3", "Value: Language=NL", "next"}));

    // Past the third line an empty line ends what is kept.
    writeTextLines(rig.env.temp("userdata.txt"), {"", "", "", "a", "", "b"});
    Program(rig.window).PrintFile("c");
    EXPECT_EQ(rig.activityLog(), (QStringList{"", "", "", "a", "c"}));
}

TEST(ActivityLog, WriteFailureGoesToTheCaller) {
    Rig rig;
    qputenv("TEMP", QFile::encodeName(rig.env.temp("missing")));
    try {
        Program(rig.window).PrintFile("x");
        FAIL() << "an unwritable log must raise";
    } catch (const RuntimeError& e) {
        EXPECT_EQ(e.number(), err::PathNotFound);
    }
    EXPECT_FALSE(rig.window.formEvents.contains("show Form6"));
}

} // namespace tonara::test
