// The character table, the timing table and the boxes a run reads, without
// a window.
#include "MorseCode.h"
#include "MorseInput.h"
#include "MorseTiming.h"
#include "RuntimeError.h"

#include <QSet>
#include <gtest/gtest.h>
#include <string>

namespace tonara::test {

namespace {

using Kind = KeyStep::Kind;

std::string patternOf(const char* text) {
    std::string out;
    for (const char* c = text; *c; ++c) {
        if (!out.empty()) out += ' ';
        out += morsePattern(morseUpper(char32_t(*c)));
    }
    return out;
}

} // namespace

TEST(MorseCode, KeysLettersOfEitherCaseAlike) {
    EXPECT_EQ(patternOf("SOS"), "... --- ...");
    EXPECT_EQ(patternOf("sos"), "... --- ...");
    EXPECT_EQ(patternOf("Paris"), ".--. .- .-. .. ...");
    EXPECT_EQ(patternOf("-@'"), "-....- .--.-. .----.");
}

TEST(MorseCode, DigitsCountTheirDotsAndDashes) {
    for (int d = 0; d <= 9; ++d) {
        // 1 to 5 start with d dots, 6 to 9 and 0 with (d mod 5) dashes; five elements each.
        const int lead = d == 0 ? 5 : (d <= 5 ? d : d - 5);
        const std::string expected = d >= 1 && d <= 5 ? std::string(size_t(lead), '.') + std::string(size_t(5 - lead), '-')
                                                       : std::string(size_t(lead), '-') + std::string(size_t(5 - lead), '.');
        EXPECT_EQ(morsePattern(char32_t('0' + d)), expected) << d;
    }
}

TEST(MorseCode, AcceptsExactlyTheFortyEightCharactersAndTheSpaceEachWithItsOwnPattern) {
    QSet<QString> patterns;
    int accepted = 0;
    for (char32_t c = 1; c < 0x3000; ++c) {
        if (!morseAccepts(c)) continue;
        ++accepted;
        if (c == U' ') {
            EXPECT_TRUE(morsePattern(c).empty());
            continue;
        }
        const std::string_view pattern = morsePattern(c);
        EXPECT_EQ(pattern.find_first_not_of(".-"), std::string_view::npos) << uint(c);
        patterns.insert(QString::fromLatin1(pattern.data(), qsizetype(pattern.size())));
    }
    EXPECT_EQ(accepted, 49) << "lower-case letters are upper-cased before the test, not accepted themselves";
    EXPECT_EQ(patterns.size(), 48) << "two characters share a pattern";
    for (char32_t c : {U'#', U'a', U'!', U'"', U'+', U'_', U'É', U'ß'}) EXPECT_FALSE(morseAccepts(c)) << uint(c);
}

TEST(MorseCode, UpperCasingKeepsEveryCharacterOne) {
    EXPECT_EQ(morseUpper(U'q'), U'Q');
    EXPECT_EQ(morseUpper(U'ß'), U'ß'); // "SS" would be two characters
    EXPECT_EQ(morseUpper(U'7'), U'7');
    EXPECT_EQ(morseUpper(U'😀'), U'😀');
}

TEST(MorseTiming, FollowsTheSpeed) {
    struct Case {
        qint16 speed;
        int dot, dash, space, after;
    };
    for (const Case& c : {Case{0, 100, 200, 500, 75}, Case{1, 100, 201, 501, 76}, Case{3, 102, 203, 503, 78},
                          Case{2, 101, 202, 502, 77}, Case{500, 350, 700, 1000, 575}, Case{-75, 62, 125, 425, 0},
                          Case{-200, 0, 0, 300, -125}, Case{-32768, -16284, -32568, -32268, -32693}}) {
        const MorseTiming t = morseTiming(c.speed);
        EXPECT_EQ(t.dot, c.dot) << c.speed;
        EXPECT_EQ(t.dash, c.dash) << c.speed;
        EXPECT_EQ(t.space, c.space) << c.speed;
        EXPECT_EQ(t.afterPosition, c.after) << c.speed;
    }
}

TEST(MorseTiming, APositionIsItsElementsWithNoSilenceBetweenThenThePauseAfter) {
    struct Case {
        char32_t character;
        qint16 speed;
        std::vector<KeyStep> steps;
    };
    const std::vector<Case> cases = {
        {U'S', 0, {{Kind::Tone, 100}, {Kind::Tone, 100}, {Kind::Tone, 100}, {Kind::Pause, 75}}},
        {U'A', 10, {{Kind::Tone, 105}, {Kind::Tone, 210}, {Kind::Pause, 85}}},
        {U' ', 0, {{Kind::Pause, 500}, {Kind::Pause, 75}}},
        {U'#', 0, {{Kind::Pause, 75}}}, // the message comes first; the character is skipped
        {0, 0, {{Kind::Pause, 75}}},    // an empty position
        // Steps that come out zero or negative are left out.
        {U'T', -100, {{Kind::Tone, 100}}},
        {U'E', -75, {{Kind::Tone, 62}}},
        {U'E', -200, {}},
        {U' ', -499, {{Kind::Pause, 1}}},
        {U'M', -32768, {}},
    };
    for (const Case& c : cases) EXPECT_EQ(keyingSteps(c.character, morseTiming(c.speed)), c.steps) << uint(c.character) << " at " << c.speed;
}

TEST(MorseInput, TheSpeedBoxAllowsUpTo500AndNoLowerBound) {
    struct Case {
        QString box;
        qint16 speed;
        bool corrected;
    };
    for (const Case& c : {Case{"0", 0, false}, Case{"500", 500, false}, Case{"501", 0, true}, Case{"600", 0, true},
                          Case{"2.5", 2, false}, Case{"3.5", 4, false}, Case{"-50", -50, false},
                          Case{"-99999", -32768, false}, Case{"99999999999", 0, true}, Case{"", 0, false},
                          Case{" 12 ", 12, false}}) {
        const BoxReading r = readSpeedBox(c.box);
        EXPECT_EQ(r.value, c.speed) << c.box.toStdString();
        ASSERT_EQ(r.correction.has_value(), c.corrected) << c.box.toStdString();
        if (!c.corrected) continue;
        EXPECT_EQ(r.correction->message, "Max speed = 500");
        EXPECT_EQ(r.correction->title, "Max Speed");
        EXPECT_EQ(r.correction->boxText, "0");
    }
}

TEST(MorseInput, ThePitchBoxAllows50To32000AndOtherwiseKeysAt700) {
    struct Case {
        QString box;
        qint16 pitch;
        const char* message;
        const char* title;
    };
    for (const Case& c : {Case{"50", 50, nullptr, nullptr}, Case{"32000", 32000, nullptr, nullptr},
                          Case{"440.5", 440, nullptr, nullptr}, Case{"49", 700, "Min pitch = 50 Hertz", "Min Pitch"},
                          Case{"49.5", 50, nullptr, nullptr}, Case{"", 700, "Min pitch = 50 Hertz", "Min Pitch"},
                          Case{"32001", 700, "Max pitch = 32000", "Max Pitch"},
                          Case{"99999999999", 700, "Max pitch = 32000", "Max Pitch"}}) {
        const BoxReading r = readPitchBox(c.box);
        EXPECT_EQ(r.value, c.pitch) << c.box.toStdString();
        ASSERT_EQ(r.correction.has_value(), c.message != nullptr) << c.box.toStdString();
        if (!c.message) continue;
        EXPECT_EQ(r.correction->message, c.message);
        EXPECT_EQ(r.correction->title, c.title);
        EXPECT_EQ(r.correction->boxText, "700");
    }
}

TEST(MorseInput, TextThatIsNoNumberFailsTheRun) {
    for (const QString& box : {QString("abc"), QString("12a")}) {
        try {
            readSpeedBox(box);
            ADD_FAILURE() << box.toStdString();
        } catch (const RuntimeError& e) {
            EXPECT_EQ(e.number(), err::TypeMismatch);
        }
    }
}

} // namespace tonara::test
