// The paths that end the program, run for real in a child process.
#include "AppRig.h"
#include "DeathTests.h"
#include "ExFunctions.h"
#include "FakeMainWindow.h"
#include "Program.h"

namespace tonara::test {

namespace {

void refuseAnOldSystem() {
    TestEnvironment env;
    env.fake.exitForReal = true;
    env.fake.version = VersionAnswer{1, 2, 4, 0};
    ExFunctions().CheckVersion();
    std::_Exit(99); // not reached when the check refuses
}

void writeTestInAMissingFolder() {
    TestEnvironment env;
    env.fake.exitForReal = true;
    qputenv("TEMP", QFile::encodeName(env.temp("no such folder")));
    FakeMainWindow window;
    Program(window).WriteTest();
    std::_Exit(99);
}

void closeTwiceAndAnswerYes() {
    AppRig rig;
    rig.writeSettings(validSettings());
    rig.form->start();
    try {
        rig.form->unloadHandler();
    } catch (const ProgramEnded&) {
    }
    rig.env.fake.exitForReal = true;
    rig.env.fake.answers = {kAnswerYes};
    rig.form->unloadHandler();
    std::_Exit(99);
}

} // namespace

TEST(EndingDeathTest, AnUnsupportedSystemEndsTheProgram) {
    DeathTestFolders folders;
    EXPECT_EXIT(refuseAnOldSystem(), ::testing::ExitedWithCode(1), "");
}

TEST(EndingDeathTest, AWriteErrorEndsTheProgram) {
    DeathTestFolders folders;
    EXPECT_EXIT(writeTestInAMissingFolder(), ::testing::ExitedWithCode(1), "");
}

TEST(EndingDeathTest, YesToTheForciblyCloseQuestionEndsAtOnce) {
    DeathTestFolders folders;
    EXPECT_EXIT(closeTwiceAndAnswerYes(), ::testing::ExitedWithCode(0), "");
}

TEST(Shutdown, ASecondCloseAsksAndNoGoesOn) {
    AppRig rig;
    rig.writeSettings(validSettings());
    rig.form->start();
    writeBytes(rig.env.temp("tnftmp.wav"), "x");
    EXPECT_THROW(rig.form->unloadHandler(), ProgramEnded);
    EXPECT_EQ(rig.form->state().z, 1);
    EXPECT_FALSE(rig.form->isVisible());
    EXPECT_FALSE(QFile::exists(rig.env.temp("tnftmp.wav")));
    const int silencesOfOneShutdown = rig.env.fake.count("silence");
    EXPECT_GE(silencesOfOneShutdown, 1);
    EXPECT_EQ(rig.env.fake.count("message"), 0) << "the first close asks nothing";

    rig.env.fake.answers = {kAnswerNo};
    EXPECT_THROW(rig.form->unloadHandler(), ProgramEnded);
    const PlatformRecord* question = rig.env.fake.last("message");
    ASSERT_NE(question, nullptr);
    EXPECT_EQ(question->text, "Do you want to forcibly close tonara?");
    EXPECT_EQ(question->title, "Error");
    EXPECT_EQ(question->icon, MessageIcon::Critical);
    EXPECT_TRUE(question->yesNo);
    EXPECT_EQ(rig.env.fake.count("silence"), 2 * silencesOfOneShutdown) << "No goes on with the shut-down";
}

} // namespace tonara::test
