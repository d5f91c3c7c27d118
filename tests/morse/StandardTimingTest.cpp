// Standard timing and the plans that both timings make of a message.
#include "KeyingPlan.h"
#include "StandardTiming.h"

#include <gtest/gtest.h>
#include <string>

namespace tonara::test {

namespace {

// "=" a tone, "_" a silence, one character per unit: how the plan reads
// when every span is a whole number of units.
std::string units(const KeyingPlan& plan, double unitMs) {
    std::string out;
    for (const KeyedSpan& span : plan.spans) {
        const double n = span.ms / unitMs;
        EXPECT_NEAR(n, std::round(n), 1e-9) << "not a whole number of units";
        out += std::string(size_t(std::lround(n)), span.tone ? '=' : '_');
    }
    return out;
}

} // namespace

TEST(StandardTiming, ParisIsFiftyUnitsAndTakesAMinuteOverTheSpeed) {
    for (const int wpm : {5, 13, 15, 20, 30, 60}) {
        const StandardTiming t = standardTiming({wpm, wpm});
        EXPECT_DOUBLE_EQ(t.unitMs, 1200.0 / wpm);
        EXPECT_DOUBLE_EQ(t.letterGapMs, 3 * t.unitMs);
        EXPECT_DOUBLE_EQ(t.wordGapMs, 7 * t.unitMs);
        EXPECT_NEAR(standardPlan("PARIS", t).totalMs(), 60000.0 / wpm, 1e-9) << wpm;
    }
    const StandardTiming at20 = standardTiming({20, 20});
    EXPECT_EQ(standardPlan("PARIS", at20).totalMs(), 3000.0);
    EXPECT_EQ(units(standardPlan("PARIS", at20), 60),
              "=_===_===_=___=_===___=_===_=___=_=___=_=_=_______");
}

TEST(StandardTiming, FarnsworthStretchesOnlyTheGapsBetweenCharactersAndWords) {
    // The ARRL's own example: characters at 18 WPM, words at 5.
    const StandardTiming t = standardTiming({5, 18});
    EXPECT_NEAR(t.unitMs, 66.667, 0.001);
    // ta = (60·18 − 37.2·5) / (5·18) = 9.933 s, three 19ths and seven 19ths of it.
    EXPECT_NEAR(t.letterGapMs, 1568.4, 0.05);
    EXPECT_NEAR(t.wordGapMs, 3659.6, 0.05);
    for (const StandardSpeed speed : {StandardSpeed{5, 18}, StandardSpeed{10, 20}, StandardSpeed{13, 25},
                                      StandardSpeed{18, 60}}) {
        const StandardTiming f = standardTiming(speed);
        EXPECT_NEAR(standardPlan("PARIS", f).totalMs(), 60000.0 / speed.wpm, 1e-6) << "words at the overall speed";
        EXPECT_NEAR(f.wordGapMs / f.letterGapMs, 7.0 / 3.0, 1e-12);
        EXPECT_GT(f.letterGapMs, 3 * f.unitMs);
        // The characters themselves stay at the character speed.
        const KeyingPlan e = standardPlan("E", f);
        EXPECT_DOUBLE_EQ(e.spans[0].ms, 1200.0 / speed.characterWpm);
    }
}

TEST(StandardTiming, SpeedsOutsideTheirRangeAreBroughtIntoIt) {
    struct Case {
        StandardSpeed asked, got;
    };
    for (const Case& c : {Case{{0, 0}, {5, 5}}, Case{{-3, 100}, {5, 60}}, Case{{30, 20}, {30, 30}},
                          Case{{61, 61}, {60, 60}}, Case{{20, 25}, {20, 25}}}) {
        EXPECT_EQ(clampedSpeed(c.asked), c.got) << c.asked.wpm << "/" << c.asked.characterWpm;
        EXPECT_EQ(standardTiming(c.asked).unitMs, 1200.0 / c.got.characterWpm);
    }
}

TEST(StandardPlan, WordsProsignsAndWhatIsLeftOut) {
    const StandardTiming t = standardTiming({20, 20});
    struct Case {
        QString message;
        std::string units;
        std::u32string illegal;
    };
    const Case cases[] = {
        {"EE", "=___=_______", U""},
        {"e e", "=_______=_______", U""},
        {"  E   E  ", "=_______=_______", U""},               // a run of spaces is one word gap
        {"<AR>", "=_===_=_===_=_______", U""},                // .-.-. with no letter gap inside
        {"<sk>", "=_=_=_===_=_===_______", U""},              // ...-.-
        {"E<BT>E", "=___===_=_=_=_===___=_______", U""},
        {"<AR", "=_===___=_===_=_______", U"<"},            // unclosed: the "<" alone is left out
        {"<>E", "=_______", U"<>"},
        {"<A#>", "=_===_______", U"<#>"},                    // not a prosign: each character on its own
        {"#E", "=_______", U"#"},
        {"E😀E", "=___=_______", U"😀"},
        {"", "", U""},
        {"   ", "", U""},
        {"##", "", U"##"},
    };
    for (const Case& c : cases) {
        const KeyingPlan plan = standardPlan(c.message, t);
        EXPECT_EQ(units(plan, 60), c.units) << c.message.toStdString();
        EXPECT_EQ(std::u32string(plan.illegal.begin(), plan.illegal.end()), c.illegal) << c.message.toStdString();
    }
}

TEST(StandardPlan, OnlyTheFirst500CharactersAreKeyed) {
    const KeyingPlan plan = standardPlan(QString(600, 'T'), standardTiming({20, 20}));
    int tones = 0;
    for (const KeyedSpan& s : plan.spans) tones += s.tone;
    EXPECT_EQ(tones, 500);
}

TEST(ClassicPlan, FollowsTheClassicTableWithTheOutputsSeparationBetweenElements) {
    // Speed 0: dot 100, dash 200, 20 before and 75 after every position, a space 500 more.
    const MorseTiming t = morseTiming(0);
    const KeyingPlan a = classicPlan("a b", t);
    const std::vector<KeyedSpan> expected = {
        {false, 20}, {true, 100}, {false, kClassicElementSeparationMs}, {true, 200},
        {false, 75 + 20 + 500 + 75 + 20},  // the 690 between the words
        {true, 200}, {false, 5}, {true, 100}, {false, 5}, {true, 100}, {false, 5}, {true, 100}, {false, 75},
    };
    EXPECT_EQ(a.spans, expected);
    const KeyingPlan skipped = classicPlan("#e", t);
    EXPECT_EQ(skipped.illegal, std::vector<char32_t>{U'#'});
    EXPECT_EQ(skipped.spans, (std::vector<KeyedSpan>{{false, 20 + 75 + 20}, {true, 100}, {false, 75}}));
    EXPECT_TRUE(classicPlan("SOS", morseTiming(-300)).spans.size() == 1) << "nothing sounds far below zero";
}

} // namespace tonara::test
