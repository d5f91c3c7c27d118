#include "CaptureBuffer.h"

namespace tonara {

CaptureBuffer::CaptureBuffer(const QString& deviceName, const CaptureFormat& format, int halfBytes)
    : halves(halfBytes), device(platform().openCapture(deviceName, format, *this)) {}

void CaptureBuffer::captured(const std::uint8_t* bytes, int count) noexcept {
    if (halves.write(bytes, count) > 0) relay.notify();
}

} // namespace tonara
