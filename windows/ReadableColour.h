#pragma once
// Contrast arithmetic for colours shown on a background of the palette in
// use (WCAG 2 relative luminance and contrast ratio).

#include <QColor>

namespace tonara {

// Text and traces need at least this ratio to their background to be read.
constexpr double kReadableContrast = 4.5;

double relativeLuminance(const QColor& colour);
double contrastRatio(const QColor& a, const QColor& b);

// The colour itself when it reaches the ratio on the background; otherwise
// the shade of its hue, lighter on a dark background and darker on a light
// one, that reaches it with the least change of lightness.
QColor readableOn(const QColor& background, const QColor& colour, double ratio = kReadableContrast);

// A picture box's colours on a palette: the design's white box on a light
// palette, the palette's own base when that is dark; the trace readable on it.
struct BoxColours {
    QColor background;
    QColor trace;
};
BoxColours boxColours(const QColor& paletteBase, const QColor& designBackground, const QColor& designTrace);

} // namespace tonara
