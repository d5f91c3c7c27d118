#include "CallPlacement.h"

#include <cmath>

namespace tonara {

std::int64_t CallPlacement::frameFor(std::int64_t calledNs, std::int64_t at) {
    if (!on_) return at;
    if (anchored_) {
        const std::int64_t frame = anchorFrame_ + std::llround(double(calledNs - anchorNs_) * rate_ / 1e9);
        if (frame >= at) return frame;
    }
    anchored_ = true;
    anchorFrame_ = at;
    anchorNs_ = calledNs;
    return at;
}

} // namespace tonara
