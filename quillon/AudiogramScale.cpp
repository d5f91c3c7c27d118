#include "AudiogramScale.h"

#include <algorithm>
#include <cmath>

namespace tonara::quillon {

double AudiogramScale::x(double hz) const {
    const double share = std::log(std::clamp(hz, kLowestHz, kHighestHz) / kLowestHz) / std::log(kHighestHz / kLowestHz);
    return plot_.left() + share * plot_.width();
}

double AudiogramScale::y(double levelDb) const {
    const double share = (std::clamp(levelDb, double(kTopDb), double(kBottomDb)) - kTopDb) / double(kBottomDb - kTopDb);
    return plot_.top() + share * plot_.height();
}

std::vector<int> AudiogramScale::levelLines() {
    std::vector<int> levels;
    for (int level = kTopDb; level <= kBottomDb; level += kLevelStepDb) levels.push_back(level);
    return levels;
}

} // namespace tonara::quillon
