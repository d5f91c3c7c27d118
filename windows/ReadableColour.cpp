#include "ReadableColour.h"

#include <cmath>

namespace tonara {

namespace {

double linear(double channel) {
    return channel <= 0.04045 ? channel / 12.92 : std::pow((channel + 0.055) / 1.055, 2.4);
}

// In eight bits a channel, as it is painted, so the ratio found is the ratio shown.
QColor withLightness(const QColor& colour, double lightness) {
    const QColor hsl = colour.toHsl();
    return QColor::fromRgba(QColor::fromHslF(hsl.hslHueF(), hsl.hslSaturationF(), float(lightness), hsl.alphaF()).rgba());
}

// Darker than the grey that contrasts as much with black as with white.
bool isDark(const QColor& colour) { return relativeLuminance(colour) < 0.18; }

} // namespace

double relativeLuminance(const QColor& colour) {
    const QColor rgb = colour.toRgb();
    return 0.2126 * linear(rgb.redF()) + 0.7152 * linear(rgb.greenF()) + 0.0722 * linear(rgb.blueF());
}

double contrastRatio(const QColor& a, const QColor& b) {
    const double la = relativeLuminance(a);
    const double lb = relativeLuminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

QColor readableOn(const QColor& background, const QColor& colour, double ratio) {
    if (contrastRatio(background, colour) >= ratio) return colour;
    // Lightness moves the luminance one way only, so the first shade that
    // reaches the ratio is found by halving the interval towards the end
    // (black or white) that lies furthest from the background.
    const bool lighter = isDark(background);
    double reaching = lighter ? 1.0 : 0.0;
    double failing = colour.toHsl().lightnessF();
    for (int step = 0; step < 30; ++step) {
        const double middle = (reaching + failing) / 2;
        if (contrastRatio(background, withLightness(colour, middle)) >= ratio) reaching = middle;
        else failing = middle;
    }
    return withLightness(colour, reaching);
}

BoxColours boxColours(const QColor& paletteBase, const QColor& designBackground, const QColor& designTrace) {
    const QColor background = isDark(paletteBase) ? paletteBase : designBackground;
    return {background, readableOn(background, designTrace)};
}

} // namespace tonara
