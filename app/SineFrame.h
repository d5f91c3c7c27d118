#pragma once
// The heights of one frame of the sine preview, a point per twip across the
// box: y(x) = amplitude + CLng(sin(step * x + phase) * amplitude) + 100.

#include <QtGlobal>
#include <vector>

namespace tonara {

// Fills heights with the width + 1 points of the frame, exactly as the
// formula gives them.
void sineFrame(float step, qint32 phase, qint32 amplitude, qint32 width, std::vector<qint32>& heights);

} // namespace tonara
