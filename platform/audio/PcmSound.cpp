#include "PcmSound.h"

#include <cmath>
#include <numbers>

namespace tonara {

std::shared_ptr<const PcmSound> beepSound(int pitch, int rate) {
    auto sound = std::make_shared<PcmSound>();
    sound->rate = rate;
    sound->samples.assign(std::size_t(rate) * 2, 0.0f);
    if (pitch <= 0 || 2 * pitch >= rate) return sound; // nothing the output could carry
    const double step = 2.0 * std::numbers::pi * pitch / rate;
    for (int n = 0; n < rate; ++n) {
        const auto v = float(std::sin(step * n) * (30000.0 / 32768.0));
        sound->samples[std::size_t(n) * 2] = sound->samples[std::size_t(n) * 2 + 1] = v;
    }
    return sound;
}

} // namespace tonara
