#pragma once
// A keyed message rendered whole as one sound, so that every element and
// gap lasts its time to the sample however busy the machine is.
//
// Each tone of the plan is shaped by a raised-cosine rise and fall centred
// on its edges: at half its level it lasts exactly its time, and there is
// no step in level or slope to click. The rise time is the ramp's time from
// 10 % to 90 %, as rise times are measured; the whole ramp is 1.69 times
// as long. The sound begins half a ramp before the plan and ends half a ramp
// after it.

#include "KeyingPlan.h"
#include "PcmSound.h"

#include <memory>
#include <vector>

namespace tonara {

// The frames of a whole rise (or fall): an even number, so that a ramp
// centred on its edge crosses half level just before the edge's frame,
// rising or falling alike.
int keyingRampFrames(int rate, double riseMs);

// The gain of every frame, 0..1.
std::vector<float> keyingEnvelope(const KeyingPlan& plan, int rate, double riseMs);

// The frame at which the plan's span `index` begins (its edge, at half
// level): where the renderer places it.
std::int64_t spanStartFrame(const KeyingPlan& plan, size_t index, int rate, double riseMs);

// The envelope on a sine of pitch Hz (amplitude 30000 of 32768, as every
// tone of the program), the same in both channels.
std::shared_ptr<const PcmSound> renderKeying(const KeyingPlan& plan, int pitch, int rate, double riseMs);

} // namespace tonara
