#pragma once
// The looping capture buffer of an open microphone: the device, the halves
// it fills on its audio thread, and the wake-up that tells the interface
// thread a half is ready.

#include "HalfBufferExchange.h"
#include "Platform.h"
#include "WakeRelay.h"

namespace tonara {

class CaptureBuffer : public CaptureReceiver {
public:
    // Opens the device idle. Raises what the platform raises.
    CaptureBuffer(const QString& device, const CaptureFormat& format, int halfBytes);

    void captured(const std::uint8_t* bytes, int count) noexcept override;

    HalfBufferExchange halves;
    WakeRelay relay;
    // Declared last, so it closes first: its audio thread has stopped before
    // the halves and the relay go.
    std::unique_ptr<CaptureDevice> device;
};

} // namespace tonara
