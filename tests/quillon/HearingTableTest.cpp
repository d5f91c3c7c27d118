// The verdict table's edges, the age entry and what an output rate can reproduce.
#include "AgeEntry.h"
#include "HearingTable.h"
#include "RuntimeError.h"

#include <gtest/gtest.h>

namespace tonara::test {
using namespace tonara::quillon;

TEST(HearingTable, VerdictAtTheEdgesOfEachRow) {
    struct Case {
        qint16 age;
        qint16 hearingAge;
        const char* english;
        const char* dutch;
        QColor colour;
    };
    const QColor green(0, 128, 0), blue(0, 0, 255), orange(255, 128, 0), red(255, 0, 0);
    const Case cases[] = {
        {46, 45, "Perfect", "Perfect", green}, // a > h
        {45, 45, "Good", "Goed", blue},        // equal is not above
        {36, 45, "Good", "Goed", blue},        // a + 10 > h
        {35, 45, "Average", "Gemiddeld", orange},
        {30, 45, "Average", "Gemiddeld", orange},
        {26, 45, "Average", "Gemiddeld", orange}, // a + 20 > h
        {25, 45, "Bad", "Slecht", red},
        {30, 95, "Bad", "Slecht", red},
        {30, 27, "Perfect", "Perfect", green},
        {20, 9, "Perfect", "Perfect", green},
        {0, 9, "Good", "Goed", blue},
        {0, 95, "Bad", "Slecht", red},
        {99, 95, "Perfect", "Perfect", green},
    };
    for (const Case& c : cases) {
        const Verdict v = verdictFor(c.age, c.hearingAge);
        EXPECT_EQ(v.text(false), c.english) << "age " << c.age << ", hearing age " << c.hearingAge;
        EXPECT_EQ(v.text(true), c.dutch) << "age " << c.age << ", hearing age " << c.hearingAge;
        EXPECT_EQ(v.colour, c.colour) << "age " << c.age << ", hearing age " << c.hearingAge;
    }
}

TEST(HearingTable, LevelsOutsideTheTableAreAFault) {
    for (qint16 level : {qint16(0), qint16(12), qint16(-1)}) {
        try {
            levelAt(level);
            ADD_FAILURE() << "level " << level;
        } catch (const RuntimeError& e) {
            EXPECT_EQ(e.number(), 9);
        }
    }
}

TEST(HearingTable, FirstLevelAnOutputRateCannotReproduce) {
    struct Case {
        int rate;
        qint16 first;
    };
    // The pitch must lie below 99 % of half the rate: 16 000 Hz at 32 000 samples does not.
    const Case cases[] = {{96000, 0}, {44100, 0}, {42424, 11}, {42425, 0}, {32000, 8},
                          {24000, 6}, {16000, 5}, {2000, 1}, {0, 0}};
    for (const Case& c : cases) EXPECT_EQ(firstUnreproducibleLevel(c.rate), c.first) << c.rate;
}

TEST(AgeEntry, WholeYearsFromZeroToNinetyNine) {
    struct Case {
        const char* text;
        std::optional<qint16> age;
    };
    const Case cases[] = {
        {"0", 0},          {"30", 30},          {"99", 99},          {"99.9", 99}, {" 42 ", 42}, {"0.5", 0},
        {"100", {}},       {"-1", {}},          {"-0.5", {}},        {"", {}},     {" ", {}},    {"1 5", {}},
        {"1e2", {}},       {"99999999999", {}}, {".", {}},
    };
    for (const Case& c : cases) EXPECT_EQ(ageFromText(c.text), c.age) << '"' << c.text << '"';
}

} // namespace tonara::test
