#pragma once
// The spectrum as a picture for picWave: frequency on a log axis from 20 Hz
// to the Nyquist limit across the box, dBFS from -120 at the bottom to 0 at
// the top, one point per pixel column.

#include "WaveDrawing.h"

#include <vector>

namespace tonara {

inline constexpr double kSpectrumLowestHz = 20;
inline constexpr double kSpectrumFloorDb = -120;

// Where hz lies across a box widthPx wide, in columns from the left edge.
double spectrumColumn(double hz, double nyquistHz, int widthPx);

// levelsDb per bin, bin k at k * binHz, the last at the Nyquist limit. Each
// column shows the strongest bin within it; a column narrower than a bin
// is interpolated between its neighbours.
WavePicture spectrumPicture(const std::vector<double>& levelsDb, double binHz, int widthPx);

} // namespace tonara
