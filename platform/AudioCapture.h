#pragma once
// The real microphone: an SDL2 capture device.

#include "Platform.h"

namespace tonara {

std::unique_ptr<CaptureDevice> openSdlCapture(const QString& device, const CaptureFormat& format,
                                              CaptureReceiver& receiver);

} // namespace tonara
