#include "AudioEnvironment.h"

#include <cstdlib>
#include <string>

namespace tonara {

void prepareAudioEnvironment() { setenv("PULSE_LATENCY_MSEC", std::to_string(kServerBufferMs).c_str(), 0); }

} // namespace tonara
