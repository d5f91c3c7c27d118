#include "SettingsTestSupport.h"

#include <QDir>
#include <QFileInfo>
#include <functional>
#include <sys/stat.h>

namespace tonara::test {

TEST(StartupChecks, WriteTestLeavesNoTraceInWritableFolders) {
    ChecksRig rig;
    Program(rig.main).WriteTest();
    EXPECT_EQ(rig.env.fake.count("message") + rig.env.fake.count("end"), 0);
    for (const QString& folder : {rig.env.temp(), rig.env.appData()})
        EXPECT_EQ(QDir(folder).entryList(QDir::Files | QDir::Hidden | QDir::System), QStringList()) << folder.toStdString();
}

TEST(StartupChecks, AnUnwritableFolderEndsWithWriteError) {
    for (const char* variable : {"TEMP", "APPDATA"}) {
        ChecksRig rig;
        qputenv(variable, QFile::encodeName(rig.env.temp("missing")));
        try {
            Program(rig.main).WriteTest();
            FAIL() << variable;
        } catch (const ProgramEnded& ended) {
            EXPECT_EQ(ended.exitCode, 1);
        }
        const PlatformRecord* message = rig.env.fake.last("message");
        ASSERT_NE(message, nullptr);
        EXPECT_EQ(message->text, "Write error");
        EXPECT_EQ(message->title, "Write error");
        EXPECT_EQ(message->icon, MessageIcon::Exclamation);
        EXPECT_TRUE(rig.main.errorLines.isEmpty()) << "not an error report";
        EXPECT_FALSE(QFile::exists(rig.env.temp("test.txt")));
    }
}

TEST(StartupChecks, TerminateStopsTonesAndUnloadsTheMainWindowLast) {
    ChecksRig rig;
    Program(rig.main).Terminate();
    EXPECT_EQ(rig.main.vars.z, 1);
    EXPECT_EQ(rig.main.formEvents, (QStringList{"unload Form2", "unload Form3", "unload Form4", "unload Form5",
                                                  "unload Form6", "unload Form7", "unload Form8", "unload Form1"}));
}

} // namespace tonara::test

namespace tonara::test {

// The probe has a name of its own: whatever stands under any other name,
// the user's own test.txt, a link or a FIFO, is neither used nor touched.
TEST(StartupChecks, AWriteTestThroughAPlantedLinkIsRefusedAndTheTargetKept) {
    struct Case {
        const char* what;
        std::function<void(const QString& at, const QString& victim)> plant;
    };
    const Case cases[] = {
        {"the user's test.txt", [](const QString& at, const QString&) { writeBytes(at, "my notes\r\n"); }},
        {"a link named test.txt", [](const QString& at, const QString& victim) { QFile::link(victim, at); }},
        {"a FIFO named test.txt",
         [](const QString& at, const QString&) { ::mkfifo(QFile::encodeName(at).constData(), 0600); }},
    };
    for (const Case& c : cases) {
        ChecksRig rig;
        const QString victim = rig.env.appData("victim.txt");
        writeBytes(victim, "precious\r\n");
        for (const QString& folder : {rig.env.temp(), rig.env.appData()}) c.plant(folder + "/test.txt", victim);
        const auto before = [&](const QString& folder) { return QFileInfo(folder + "/test.txt"); };
        const QFileInfo tempBefore = before(rig.env.temp());
        ASSERT_TRUE(tempBefore.exists() || tempBefore.isSymLink()) << c.what;

        Program(rig.main).WriteTest();
        EXPECT_EQ(rig.env.fake.count("message") + rig.env.fake.count("end"), 0) << c.what;
        EXPECT_EQ(fileBytes(victim), "precious\r\n") << c.what;
        for (const QString& folder : {rig.env.temp(), rig.env.appData()}) {
            const QFileInfo after(folder + "/test.txt");
            EXPECT_EQ(after.isSymLink(), tempBefore.isSymLink()) << c.what;
            EXPECT_EQ(after.isFile(), tempBefore.isFile()) << c.what;
            if (tempBefore.isFile() && !tempBefore.isSymLink()) {
                EXPECT_EQ(fileBytes(after.filePath()), "my notes\r\n");
            }
            EXPECT_EQ(QDir(folder).entryList({".tonara-write-test-*"}, QDir::Files | QDir::Hidden), QStringList())
                << "the probe is removed at once";
        }
    }
}

} // namespace tonara::test
