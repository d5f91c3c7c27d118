#pragma once
// Where an audiogram puts things: frequency on a log axis from left to
// right, level in dBFS growing downwards (quieter thresholds, better
// hearing, at the top), as audiograms are drawn.

#include <QPointF>
#include <QRectF>
#include <vector>

namespace tonara::quillon {

class AudiogramScale {
public:
    static constexpr double kLowestHz = 125.0;
    static constexpr double kHighestHz = 20000.0;
    static constexpr int kTopDb = -100;
    static constexpr int kBottomDb = 0;
    static constexpr int kLevelStepDb = 10;

    explicit AudiogramScale(const QRectF& plot) : plot_(plot) {}

    const QRectF& plot() const { return plot_; }
    double x(double hz) const;
    double y(double levelDb) const;
    QPointF at(double hz, double levelDb) const { return {x(hz), y(levelDb)}; }
    // The levels with a grid line, from the top down.
    static std::vector<int> levelLines();

private:
    QRectF plot_;
};

} // namespace tonara::quillon
