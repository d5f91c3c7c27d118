#include "Shell.h"

#include <gtest/gtest.h>

using namespace tonara;

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
