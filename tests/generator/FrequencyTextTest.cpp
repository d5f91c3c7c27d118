// Frequencies and notes as typed, and the note a frequency lies nearest.
#include "FrequencyText.h"

#include <gtest/gtest.h>

namespace tonara::test {

namespace {

constexpr double kTop = 23760.0; // 99 % of 24 kHz

struct Typed {
    const char* text;
    double hertz; // 0: refused
    const char* problemHas = "";
};

class ReadFrequency : public testing::TestWithParam<Typed> {};

TEST_P(ReadFrequency, GivesTheHertzOrSaysWhyNot) {
    const Typed& c = GetParam();
    const FrequencyReading reading = readFrequency(QString::fromUtf8(c.text), kTop);
    if (c.hertz > 0) {
        ASSERT_TRUE(reading.hertz.has_value()) << c.text << ": " << reading.problem.toStdString();
        EXPECT_NEAR(*reading.hertz, c.hertz, c.hertz * 1e-9) << c.text;
        EXPECT_TRUE(reading.problem.isEmpty());
    } else {
        EXPECT_FALSE(reading.hertz.has_value()) << c.text;
        EXPECT_TRUE(reading.problem.contains(QString::fromUtf8(c.problemHas))) << c.text << ": " << reading.problem.toStdString();
    }
}

INSTANTIATE_TEST_SUITE_P(Texts, ReadFrequency, testing::Values(
    Typed{"440", 440.0}, Typed{"440.25", 440.25}, Typed{" 440.25 Hz ", 440.25}, Typed{"1.5 kHz", 1500.0},
    Typed{"1,5kHz", 1500.0}, Typed{"2KHZ", 2000.0}, Typed{".5 kHz", 500.0}, Typed{"1", 1.0}, Typed{"23760", 23760.0},
    Typed{"A4", 440.0}, Typed{"a4", 440.0}, Typed{"C#5", 554.3652619537442}, Typed{"Db5", 554.3652619537442},
    Typed{"Bb3", 233.08188075904496}, Typed{"C4", 261.6255653005986}, Typed{"C0", 16.351597831287414},
    Typed{"A4+25c", 446.39994737251044}, Typed{"A4 -50 cents", 427.4740541075866}, Typed{"B9", 15804.265640199},
    Typed{"Q7", 0, "is not a frequency"}, Typed{"-5", 0, "negative"}, Typed{"1e9", 0, "is not a frequency"},
    Typed{"", 0, "Type a frequency"}, Typed{"   ", 0, "Type a frequency"}, Typed{"0.5", 0, "at least 1 Hz"},
    Typed{"0", 0, "at least 1 Hz"}, Typed{"23761", 0, "above the highest"}, Typed{"30 kHz", 0, "above the highest"},
    Typed{"H4", 0, "is not a frequency"}, Typed{"A4+150c", 0, "is not a frequency"}, Typed{"440 Hzz", 0, "is not a frequency"},
    Typed{"4 4 0", 0, "is not a frequency"}, Typed{"nan", 0, "is not a frequency"}, Typed{"1.2.3", 0, "is not a frequency"},
    Typed{"9999999999", 0, "is not a frequency"}));

TEST(NearestNote, NamesTheNoteAndTheCentsAboveIt) {
    const struct { double hertz; const char* name; double cents; } cases[] = {
        {440.0, "A4", 0.0}, {554.365, "C#5", -0.0}, {446.3999474, "A4", 25.0}, {433.6, "A4", -25.36},
        {261.6255653, "C4", 0.0}, {16.3516, "C0", 0.0}, {8.1758, "C-1", 0.0}, {1000.0, "B5", 21.31},
        {452.893, "A#4", -50.0}, // halfway up rounds to the upper note
    };
    for (const auto& c : cases) {
        const NearestNote note = nearestNote(c.hertz);
        EXPECT_EQ(note.name.toStdString(), c.name) << c.hertz;
        EXPECT_NEAR(note.cents, c.cents, 0.02) << c.hertz;
    }
    EXPECT_EQ(noteText(446.39994737251044).toStdString(), "A4 +25.0 cents");
    EXPECT_EQ(noteText(427.4740541075866).toStdString(), "A4 \u221250.0 cents");
    EXPECT_TRUE(noteText(0).isEmpty());
}

TEST(HertzText, ShowsUpToTwoDecimals) {
    EXPECT_EQ(hertzText(440.0).toStdString(), "440");
    EXPECT_EQ(hertzText(440.25).toStdString(), "440.25");
    EXPECT_EQ(hertzText(440.5).toStdString(), "440.5");
    EXPECT_EQ(hertzText(554.3652619).toStdString(), "554.37");
}

} // namespace

} // namespace tonara::test
