// The Morse window's own settings file: what it keeps and what it makes of
// anything else.
#include "MorseSettings.h"
#include "TempFolders.h"

#include <QDir>
#include <gtest/gtest.h>

namespace tonara::test {

TEST(MorseSettings, ReadsWhatItWritesAndDefaultsWhatItCannotRead) {
    const MorseSettings standard{MorseTimingChoice::Standard, {13, 25}, 8};
    EXPECT_EQ(parseMorseSettings(formatMorseSettings(standard)), standard);
    EXPECT_EQ(formatMorseSettings(standard), "Timing=Standard\r\nSpeed=13\r\nCharacterSpeed=25\r\nRiseTime=8\r\n");
    struct Case {
        QByteArray text;
        MorseSettings expected;
    };
    const MorseSettings defaults;
    const Case cases[] = {
        {"", defaults},
        {"Timing=Standard\n", {MorseTimingChoice::Standard, {20, 20}, 5}},
        {"Timing=standard\nTiming\n=Standard\n", defaults},
        {"Speed=3\nCharacterSpeed=100\nRiseTime=0\n", {MorseTimingChoice::Classic, {5, 60}, 1}},
        {"Speed=40\nCharacterSpeed=20\n", {MorseTimingChoice::Classic, {40, 40}, 5}}, // never below the speed
        {"Speed=abc\nRiseTime=99999999999999\nCharacterSpeed=-\n", defaults},
        {"  Speed = 30 \r\nRiseTime=10\rTiming=Standard", {MorseTimingChoice::Standard, {30, 30}, 10}},
        {QByteArray("Speed=30\0\xff\xfe", 12), {MorseTimingChoice::Classic, {30, 30}, 5}},
        {QByteArray(5000, 'x'), defaults},
    };
    for (const Case& c : cases) EXPECT_EQ(parseMorseSettings(c.text), c.expected) << c.text.toStdString();
}

TEST(MorseSettings, LivesInItsOwnFileBesideTheProgramSettings) {
    TestEnvironment env;
    EXPECT_EQ(loadMorseSettings(), MorseSettings{}) << "no file yet";
    writeBytes(env.appData("tonara.ini"), "untouched\r\n");
    const MorseSettings chosen{MorseTimingChoice::Standard, {15, 18}, 3};
    ASSERT_TRUE(saveMorseSettings(chosen));
    EXPECT_EQ(morseSettingsPath(), env.appData("morse.ini"));
    EXPECT_EQ(loadMorseSettings(), chosen);
    EXPECT_EQ(fileBytes(env.appData("tonara.ini")), "untouched\r\n");
    EXPECT_EQ(QDir(env.appData()).entryList(QDir::Files | QDir::Hidden).size(), 2) << "no file left beside them";
}

TEST(MorseSettings, AFileThatIsNoFileOrCannotBeWrittenLeavesTheDefaults) {
    TestEnvironment env;
    ASSERT_TRUE(QDir(env.appData()).mkdir("morse.ini"));
    EXPECT_EQ(loadMorseSettings(), MorseSettings{});
    EXPECT_FALSE(saveMorseSettings({MorseTimingChoice::Standard, {20, 20}, 5}));
    EXPECT_TRUE(QFileInfo(env.appData("morse.ini")).isDir());
}

} // namespace tonara::test
