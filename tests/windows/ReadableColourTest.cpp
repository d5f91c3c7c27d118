// Contrast arithmetic: the ratios of known pairs, and the shade a colour of
// the design takes where it would not be read on the palette's background.
#include "ReadableColour.h"

#include <gtest/gtest.h>

namespace tonara::test {
namespace {

const QColor kLightWindow(0xef, 0xef, 0xef); // Fusion's light window
const QColor kDarkWindow(0x20, 0x20, 0x20);  // a dark scheme's window
const QColor kPerfect(0, 128, 0), kGood(0, 0, 255), kAverage(255, 128, 0), kBad(255, 0, 0);

TEST(ContrastRatio, OfKnownPairs) {
    const struct {
        QColor a, b;
        double ratio;
    } pairs[] = {
        {Qt::white, Qt::black, 21.0},         {Qt::black, Qt::white, 21.0},  {Qt::white, Qt::white, 1.0},
        {QColor(0, 0, 255), Qt::white, 8.59}, {QColor(255, 0, 0), Qt::white, 4.00},
        {QColor(0x76, 0x76, 0x76), Qt::white, 4.54}, // the lightest grey that reaches 4.5 on white
        {kGood, kDarkWindow, 1.90},           {kAverage, kLightWindow, 2.19},
    };
    for (const auto& p : pairs)
        EXPECT_NEAR(contrastRatio(p.a, p.b), p.ratio, 0.01) << p.a.name().toStdString() << " " << p.b.name().toStdString();
}

TEST(ReadableOn, KeepsAColourThatReachesTheRatio) {
    for (const QColor& c : {QColor(0, 0, 160), kGood, QColor(Qt::black)})
        EXPECT_EQ(readableOn(Qt::white, c), c) << c.name().toStdString();
    EXPECT_EQ(readableOn(kDarkWindow, QColor(Qt::white)), QColor(Qt::white));
}

TEST(ReadableOn, GivesTheNearestShadeOfTheHueThatReachesIt) {
    const struct {
        QColor background, colour;
        bool lighter;
    } cases[] = {
        {kDarkWindow, kGood, true},      {kDarkWindow, kPerfect, true},   {kDarkWindow, kBad, true},
        {kDarkWindow, QColor(0, 0, 160), true},                         {kLightWindow, kAverage, false},
        {kLightWindow, kPerfect, false}, {kLightWindow, kBad, false},     {Qt::white, QColor(255, 255, 0), false},
    };
    for (const auto& c : cases) {
        const std::string what = c.colour.name().toStdString() + " on " + c.background.name().toStdString();
        ASSERT_LT(contrastRatio(c.background, c.colour), kReadableContrast) << what;
        const QColor shade = readableOn(c.background, c.colour);
        EXPECT_GE(contrastRatio(c.background, shade), kReadableContrast) << what;
        EXPECT_EQ(shade.alpha(), 255) << what;
        EXPECT_NEAR(shade.toHsl().hslHueF(), c.colour.toHsl().hslHueF(), 0.02) << what;
        EXPECT_EQ(shade.lightnessF() > c.colour.lightnessF(), c.lighter) << what;
        // Nearest: a shade a little closer to the colour no longer reaches the ratio.
        QColor closer = shade.toHsl();
        const float back = c.lighter ? -0.02f : 0.02f;
        closer.setHslF(closer.hslHueF(), closer.hslSaturationF(), closer.lightnessF() + back);
        EXPECT_LT(contrastRatio(c.background, closer), kReadableContrast) << what;
    }
}

TEST(BoxColours, TheDesignsBoxOnALightPaletteTheDarkBaseOnADarkOne) {
    const QColor white(Qt::white), navy(0, 0, 160);
    const BoxColours light = boxColours(QColor(0xfa, 0xfa, 0xfa), white, navy);
    EXPECT_EQ(light.background, white);
    EXPECT_EQ(light.trace, navy);
    const BoxColours dark = boxColours(QColor(0x2a, 0x2a, 0x2a), white, navy);
    EXPECT_EQ(dark.background, QColor(0x2a, 0x2a, 0x2a));
    EXPECT_GE(contrastRatio(dark.background, dark.trace), kReadableContrast);
    EXPECT_GT(relativeLuminance(dark.trace), relativeLuminance(dark.background)); // a light trace
}

} // namespace
} // namespace tonara::test
