#include "SettingsTestSupport.h"

namespace tonara::test {

TEST(ActivityLog, StartsWithThreeEmptyLinesAndGrowsLineByLine) {
    ChecksRig rig;
    Program(rig.main).PrintFile("> New file");
    EXPECT_EQ(fileBytes(rig.env.temp("userdata.txt")), QByteArray("\r\n\r\n\r\n> New file\r\n"));

    Program(rig.main).PrintFile("#Pressed Button 2");
    EXPECT_EQ(rig.activityLog(), (QStringList{"", "", "", "> New file", "#Pressed Button 2"}));
}

TEST(ActivityLog, KeepsAtMostOneHundredLinesByReplacingTheLast) {
    ChecksRig rig;
    QStringList full;
    for (int n = 1; n <= 100; ++n) full << QString("line %1").arg(n);
    writeTextLines(rig.env.temp("userdata.txt"), full);

    Program(rig.main).PrintFile("newest");
    Program(rig.main).PrintFile("newer still");
    QStringList expected = full.mid(0, 99);
    expected << "newer still";
    EXPECT_EQ(rig.activityLog(), expected);
}

TEST(ActivityLog, RewriteSplitsCommasAndStopsAtAnEmptyLine) {
    ChecksRig rig;
    Program(rig.main).PrintFile("> Write action, Line:  3, Value: Language=NL");
    EXPECT_EQ(rig.activityLog().last(), "> Write action, Line:  3, Value: Language=NL");
    Program(rig.main).PrintFile("next");
    EXPECT_EQ(rig.activityLog().mid(3), (QStringList{"> Write action", "Line:  3", "Value: Language=NL", "next"}));

    // Past the third line an empty line ends what is kept.
    writeTextLines(rig.env.temp("userdata.txt"), {"", "", "", "a", "", "b"});
    Program(rig.main).PrintFile("c");
    EXPECT_EQ(rig.activityLog(), (QStringList{"", "", "", "a", "c"}));
}

TEST(ActivityLog, WriteFailureGoesToTheCaller) {
    ChecksRig rig;
    qputenv("TEMP", QFile::encodeName(rig.env.temp("missing")));
    try {
        Program(rig.main).PrintFile("x");
        FAIL() << "an unwritable log must raise";
    } catch (const RuntimeError& e) {
        EXPECT_EQ(e.number(), err::PathNotFound);
    }
    EXPECT_FALSE(rig.main.formEvents.contains("show Form6"));
}

} // namespace tonara::test
