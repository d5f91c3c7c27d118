#pragma once
// The real microphone: a record stream on the sound server.

#include "Platform.h"

namespace tonara {

std::unique_ptr<CaptureDevice> openPulseCapture(const QString& device, const CaptureFormat& format,
                                              CaptureReceiver& receiver);
// Every source of the server, in its order; none when no server answers.
CaptureSources pulseCaptureSources();

} // namespace tonara
