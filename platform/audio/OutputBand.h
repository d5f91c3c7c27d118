#pragma once
// The band an output carries at full level: up to 99 % of its Nyquist
// limit. Sounds are converted with the top of that band flat, and what lies
// above it is filtered out, never folded back.

namespace tonara {

constexpr double kFullLevelShare = 0.99;

// Pitch Hz reaches the listener at its level through an output of rate.
constexpr bool carriesAtFullLevel(int rate, double pitch) { return rate > 0 && pitch < kFullLevelShare * rate / 2; }

} // namespace tonara
