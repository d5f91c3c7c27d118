// Each sound mode code plays its continuous tone and its sweep through its
// own back-end, and the settings line names it whatever its case.
#include "ToneTestHelpers.h"
#include "FakeMainWindow.h"
#include "Sound.h"
#include "SoundModes.h"
#include "TempFolders.h"

#include <gtest/gtest.h>

namespace tonara::test {
using tonara::test::FakeMainWindow;
using tonara::test::TestEnvironment;

namespace {

// What one continuous tone or one sweep leaves in the fake's records, stopped after a second.
QStringList effectsOf(const QString& bit, const std::function<void(sound&)>& play) {
    TestEnvironment env;
    FakeMainWindow win;
    win.vars.bit = bit;
    env.fake.at(1000, [&] { win.vars.z = 1; });
    sound tone(win);
    play(tone);
    QStringList firsts;
    for (const PlatformRecord& r : env.fake.records) {
        if (r.kind == "play" || r.kind == "stream-open") firsts << r.kind;
        if (r.kind == "start") firsts << "start " + r.text;
        if (!firsts.isEmpty()) break;
    }
    return firsts;
}

} // namespace

TEST(SoundModeTable, EachCodePlaysItsContinuousToneAndItsSweepThroughItsBackEnd) {
    struct Case {
        QString bit;
        QStringList continuous; // the first effect that sounds or starts a program
        QStringList sweep;
    };
    const Case cases[] = {
        {"16", {"start cmd /c relay16.exe"}, {"start cmd /c relay16.exe"}},
        {"32", {"start sound32.dll"}, {"start sound32.dll"}},
        {"64", {"stream-open"}, {}},
        {"128", {"play"}, {"play"}},
        {"256", {"play"}, {"play"}},
        {"8", {}, {}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(effectsOf(c.bit, [&](sound& s) { s.playContinuous(c.bit, 1000); }), c.continuous)
            << c.bit.toStdString();
        EXPECT_EQ(effectsOf(c.bit, [&](sound& s) { s.playSweep(c.bit); }), c.sweep) << c.bit.toStdString();
    }
}

TEST(SoundModeTable, SettingsLinesNameTheirModeInAnyCase) {
    struct Case {
        const char* line;
        const char* code; // nullptr: no mode
    };
    const Case cases[] = {{"SoundBit=128", "128"}, {"Soundbit=128", "128"}, {"SOUNDBIT=64", "64"},
                          {"soundbit=16", "16"},   {"SoundBit=8", nullptr},  {"SoundBit=1280", nullptr},
                          {"SoundBit= 32", nullptr}, {"", nullptr}};
    for (const Case& c : cases) {
        const SoundMode* mode = soundModeForSettingsLine(c.line);
        if (!c.code) {
            EXPECT_EQ(mode, nullptr) << c.line;
            continue;
        }
        ASSERT_NE(mode, nullptr) << c.line;
        EXPECT_STREQ(mode->code, c.code);
        EXPECT_EQ(soundModeFor(c.code), mode);
    }
    EXPECT_EQ(soundModeFor("064"), nullptr);
}

} // namespace tonara::test
