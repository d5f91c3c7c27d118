#pragma once
// The sound server's volume of the output our stream plays to (PULSE_SINK's,
// else the default one).

#include "Platform.h"

namespace tonara {

// known is false when no server answers.
DeviceVolume pulseSinkVolume();
// level is clamped to 0..1; false when there is no server or it refused.
bool setPulseSinkVolume(double level, bool muted);

} // namespace tonara
