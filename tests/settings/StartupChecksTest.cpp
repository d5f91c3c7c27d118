#include "SettingsTestSupport.h"

namespace tonara::test {

TEST(StartupChecks, WriteTestLeavesNoTraceInWritableFolders) {
    Rig rig;
    Program(rig.window).WriteTest();
    EXPECT_EQ(rig.env.fake.count("message") + rig.env.fake.count("end"), 0);
    EXPECT_FALSE(QFile::exists(rig.env.temp("test.txt")) || QFile::exists(rig.env.appData("test.txt")));
}

TEST(StartupChecks, AnUnwritableFolderEndsWithWriteError) {
    for (const char* variable : {"TEMP", "APPDATA"}) {
        Rig rig;
        qputenv(variable, QFile::encodeName(rig.env.temp("missing")));
        try {
            Program(rig.window).WriteTest();
            FAIL() << variable;
        } catch (const ProgramEnded& ended) {
            EXPECT_EQ(ended.exitCode, 1);
        }
        const PlatformRecord* message = rig.env.fake.last("message");
        ASSERT_NE(message, nullptr);
        EXPECT_EQ(message->text, "Write error");
        EXPECT_EQ(message->title, "Write error");
        EXPECT_EQ(message->icon, MessageIcon::Exclamation);
        EXPECT_TRUE(rig.window.errorLines.isEmpty()) << "not an error report";
        EXPECT_FALSE(QFile::exists(rig.env.temp("test.txt")));
    }
}

TEST(StartupChecks, TerminateStopsTonesAndUnloadsTheMainWindowLast) {
    Rig rig;
    Program(rig.window).Terminate();
    EXPECT_EQ(rig.window.vars.z, 1);
    EXPECT_EQ(rig.window.formEvents, (QStringList{"unload Form2", "unload Form3", "unload Form4", "unload Form5",
                                                  "unload Form6", "unload Form7", "unload Form8", "unload Form1"}));
}

} // namespace tonara::test

namespace tonara::test {

TEST(StartupChecks, AWriteTestThroughAPlantedLinkIsRefusedAndTheTargetKept) {
    Rig rig;
    writeBytes(rig.env.appData("victim.txt"), "precious\r\n");
    ASSERT_TRUE(QFile::link(rig.env.appData("victim.txt"), rig.env.temp("test.txt")));
    EXPECT_THROW(Program(rig.window).WriteTest(), ProgramEnded);
    EXPECT_EQ(fileBytes(rig.env.appData("victim.txt")), "precious\r\n");
    const PlatformRecord* message = rig.env.fake.last("message");
    ASSERT_NE(message, nullptr);
    EXPECT_EQ(message->text, "Write error");
}

} // namespace tonara::test
