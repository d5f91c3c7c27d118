#include "AudioEnvironment.h"

#include <cstdlib>

namespace tonara {

namespace {
// SDL asks PulseAudio for a server buffer of one callback buffer (5 ms),
// which drops out as soon as other programs keep both cores busy.
constexpr const char* kServerBufferMs = "30";
} // namespace

void prepareAudioEnvironment() { setenv("PULSE_LATENCY_MSEC", kServerBufferMs, 0); }

} // namespace tonara
