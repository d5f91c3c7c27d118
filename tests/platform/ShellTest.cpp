#include "Shell.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace tonara::test {

TEST(ShellCommands, ProgramAndWholeArgument) {
    ShellCommand c = parseShellCommand("cmd /c relay16.exe");
    EXPECT_TRUE(c.viaCommandProcessor);
    EXPECT_EQ(c.program, "relay16.exe");
    EXPECT_TRUE(c.argument.isEmpty());

    // A path with blanks after the program is handed over whole, as one command line.
    c = parseShellCommand("\"/opt/my apps/tonara\" /home/u/My tones/a  b.tnf");
    EXPECT_FALSE(c.viaCommandProcessor);
    EXPECT_EQ(c.program, "/opt/my apps/tonara");
    EXPECT_EQ(c.argument, "/home/u/My tones/a  b.tnf");

    EXPECT_EQ(resolveProgram("sound32.dll", "/opt/t"), "/opt/t/sound32.dll");
    EXPECT_EQ(resolveProgram("/bin/x", "/opt/t"), "/bin/x");
}

TEST(ShellCommands, AProgramIsFoundWhateverTheCaseOfItsName) {
    QTemporaryDir folder;
    QFile(folder.filePath("sound32.dll")).open(QIODevice::WriteOnly);
    EXPECT_EQ(resolveProgram("SOUND32.dll", folder.path()), folder.filePath("sound32.dll"));
    EXPECT_EQ(resolveProgram(folder.filePath("Sound32.DLL"), "/elsewhere"), folder.filePath("sound32.dll"));
    // Missing in every case: the name as written, for the caller to report.
    EXPECT_EQ(resolveProgram("relay16.exe", folder.path()), folder.filePath("relay16.exe"));
}

} // namespace tonara::test
