// Quillon's tone class on the fake platform: its own stop flag, its tone
// programs, and its error trap that ends the program.
#include "Class1.h"
#include "QuillonRig.h"

#include <gtest/gtest.h>

namespace tonara::test {

using quillon::Class1;

TEST(Class1, ThePlayerLoopsTheToneUntilZAndShowsNoStatus) {
    TestEnvironment env;
    Class1 tone;
    tone.z = 1;
    QByteArray wavWhilePlaying;
    env.fake.at(350, [&] {
        wavWhilePlaying = fileBytes(env.temp("tnfwinmmtmp.wav"));
        tone.z = 1;
    });
    tone.SoundWinmmRND(12000);
    ASSERT_EQ(env.fake.count("play"), 1);
    const PlatformRecord* play = env.fake.last("play");
    EXPECT_TRUE(play->data == toneImage(12000));
    EXPECT_TRUE(play->looping);
    EXPECT_EQ(play->text, env.temp("tnfwinmmtmp.wav"));
    EXPECT_TRUE(wavWhilePlaying == toneImage(12000));
    const PlatformRecord* silence = env.fake.last("silence");
    ASSERT_NE(silence, nullptr);
    EXPECT_EQ(silence->atMs, 350) << "the wait ends with the change it served";
    EXPECT_FALSE(QFile::exists(env.temp("tnfwinmmtmp.wav")));
}

TEST(Class1, Sound32StartsItsProgramInCapitalsAndKillAllEndsBoth) {
    TestEnvironment env;
    Class1 tone;
    env.fake.at(300, [&] {
        EXPECT_EQ(fileBytes(env.temp("sound.ini")), QByteArray(" 17500 \r\n"));
        env.fake.processList = {{7, "/usr/bin/bash"}, {8, "/opt/t/sound32.dll"}, {9, "/opt/t/SOUND16.DLL"}};
        tone.z = 1;
    });
    tone.Sound32(17500);
    const PlatformRecord* start = env.fake.last("start");
    ASSERT_NE(start, nullptr);
    EXPECT_EQ(start->text, "SOUND32.dll");
    EXPECT_TRUE(start->hidden);
    EXPECT_EQ(env.fake.count("terminate"), 2);
    EXPECT_EQ(env.fake.processList.size(), 1u) << "only the tone programs are ended";
    EXPECT_EQ(env.fake.last("terminate")->atMs, 300) << "the wait ends with the change it served";
    EXPECT_FALSE(QFile::exists(env.temp("sound.ini")));
}

TEST(Class1, KillAllTouchesNeitherThePlayerNorItsFile) {
    TestEnvironment env;
    Class1 tone;
    writeBytes(env.temp("sound.ini"), " 1000 \r\n");
    writeBytes(env.temp("tnfwinmmtmp.wav"), "tone");
    tone.KillAll();
    EXPECT_EQ(tone.z, 1);
    EXPECT_FALSE(QFile::exists(env.temp("sound.ini")));
    EXPECT_TRUE(QFile::exists(env.temp("tnfwinmmtmp.wav")));
    EXPECT_TRUE(env.fake.records.empty());
}

TEST(Class1, AFailureShowsItsDescriptionAndEndsTheProgram) {
    TestEnvironment env;
    env.fake.missingPrograms << "SOUND32.dll";
    Class1 tone;
    EXPECT_THROW(tone.Sound32(1000), ProgramEnded);
    const PlatformRecord* message = env.fake.last("message");
    ASSERT_NE(message, nullptr);
    EXPECT_EQ(message->text, "File not found");
    EXPECT_EQ(message->title, "Error");
    EXPECT_EQ(message->icon, MessageIcon::Critical);
    EXPECT_EQ(env.fake.last("end")->exitCode, 1);
}

} // namespace tonara::test
