#pragma once
// A sound as the output plays it: stereo float frames at one rate.

#include <memory>
#include <vector>

namespace tonara {

struct PcmSound {
    int rate = 0;               // frames per second
    std::vector<float> samples; // interleaved left, right; -1..1

    int frameCount() const { return int(samples.size() / 2); }
};

// One second of a sine of pitch Hz at rate, from phase 0, amplitude 30000 of
// 32768: looped, it is seamless. Silent when the rate cannot carry the pitch.
std::shared_ptr<const PcmSound> beepSound(int pitch, int rate);

} // namespace tonara
