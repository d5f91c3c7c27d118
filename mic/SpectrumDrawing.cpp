#include "SpectrumDrawing.h"

#include <algorithm>
#include <cmath>

namespace tonara {

namespace {

double clampedDb(double db) { return std::isnan(db) ? kSpectrumFloorDb : std::clamp(db, kSpectrumFloorDb, 0.0); }

double columnHz(double column, double nyquistHz, int widthPx) {
    return kSpectrumLowestHz * std::pow(nyquistHz / kSpectrumLowestHz, column / widthPx);
}

// The level at hz, linear in dB between the bins beside it.
double levelAt(const std::vector<double>& levelsDb, double binHz, double hz) {
    const double bin = hz / binHz;
    const size_t below = std::min(size_t(bin), levelsDb.size() - 1);
    const size_t above = std::min(below + 1, levelsDb.size() - 1);
    const double part = bin - double(below);
    return clampedDb(levelsDb[below]) * (1 - part) + clampedDb(levelsDb[above]) * part;
}

} // namespace

double spectrumColumn(double hz, double nyquistHz, int widthPx) {
    return widthPx * std::log(hz / kSpectrumLowestHz) / std::log(nyquistHz / kSpectrumLowestHz);
}

WavePicture spectrumPicture(const std::vector<double>& levelsDb, double binHz, int widthPx) {
    WavePicture picture;
    const int width = std::max(widthPx, 1);
    picture.right = width;
    picture.top = 0;
    picture.bottom = kSpectrumFloorDb;
    if (levelsDb.size() < 2 || binHz <= 0) return picture;
    const double nyquistHz = double(levelsDb.size() - 1) * binHz;
    if (nyquistHz <= kSpectrumLowestHz) return picture;
    WaveTrace trace;
    for (int column = 0; column < width; ++column) {
        const double fromHz = columnHz(column, nyquistHz, width);
        const double toHz = columnHz(column + 1, nyquistHz, width);
        const auto first = size_t(std::ceil(fromHz / binHz));
        const auto last = std::min(size_t(std::ceil(toHz / binHz)), levelsDb.size()); // past the column
        double db = kSpectrumFloorDb;
        if (first < last) {
            for (size_t k = first; k < last; ++k) db = std::max(db, clampedDb(levelsDb[k]));
        } else {
            db = levelAt(levelsDb, binHz, (fromHz + toHz) / 2);
        }
        const QPointF point(column + 0.5, db);
        if (column == 0) trace.start = point;
        trace.points.push_back(point);
    }
    picture.traces.push_back(std::move(trace));
    return picture;
}

} // namespace tonara
