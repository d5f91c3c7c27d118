// relay16 on the fake platform: what it starts and what it reports.
#include "Relay.h"
#include "TempFolders.h"

#include <gtest/gtest.h>

namespace tonara::test {

TEST(Relay16, StartsSound16HiddenOnlyWhenItIsThere) {
    TestEnvironment env;
    EXPECT_EQ(relaySound16(env.companionFolder()), 0);
    EXPECT_TRUE(env.fake.records.empty()) << "nothing started, nothing shown";

    writeBytes(env.companionFolder("SOUND16.DLL"), "x");
    EXPECT_EQ(relaySound16(env.companionFolder()), 0);
    ASSERT_EQ(env.fake.count("start"), 1);
    EXPECT_EQ(env.fake.last("start")->text, '"' + env.companionFolder("SOUND16.DLL") + '"');
    EXPECT_TRUE(env.fake.last("start")->hidden) << "hidden";
    EXPECT_EQ(env.fake.count("message"), 0);
}

TEST(Relay16, ATone16ProgramThatCannotStartIsReportedInABox) {
    TestEnvironment env;
    writeBytes(env.companionFolder("SOUND16.DLL"), "x");
    env.fake.missingPrograms << env.companionFolder("SOUND16.DLL");
    EXPECT_EQ(relaySound16(env.companionFolder()), 1);
    const PlatformRecord* box = env.fake.last("message");
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(box->text, "SOUND16.DLL could not be started: File not found");
    EXPECT_EQ(box->title, "relay16");
    EXPECT_EQ(box->icon, MessageIcon::Critical);
}

} // namespace tonara::test
