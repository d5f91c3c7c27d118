#include "CaptureLayout.h"
#include "NumberText.h"
#include "RuntimeError.h"

#include <limits>

namespace tonara {

namespace {

qint32 toInt32Exact(qint64 value) {
    if (value < std::numeric_limits<qint32>::min() || value > std::numeric_limits<qint32>::max())
        raise(err::Overflow);
    return qint32(value);
}

} // namespace

CaptureLayout captureLayout(qint32 samplesPerSec, qint16 bitsPerSample, qint16 channels, qint32 halfBufferLen) {
    CaptureLayout layout;
    WaveFormat& f = layout.format;
    f.channels = channels;
    f.bitsPerSample = bitsPerSample;
    f.samplesPerSec = samplesPerSec;
    // The product is a 16-bit value; the division truncates.
    const qint32 bitsPerFrame = qint32(bitsPerSample) * channels;
    if (bitsPerFrame < std::numeric_limits<qint16>::min() || bitsPerFrame > std::numeric_limits<qint16>::max())
        raise(err::Overflow);
    f.blockAlign = qint16(bitsPerFrame / 8);
    f.avgBytesPerSec = toInt32Exact(qint64(f.blockAlign) * samplesPerSec);

    qint32 half = halfBufferLen;
    if (half < 1) half = toInt32(f.avgBytesPerSec / 10.0);
    if (f.blockAlign == 0) raise(err::DivisionByZero);
    half -= half % f.blockAlign;
    if (half < 1) raise(err::InvalidCall);
    layout.halfBufferLen = half;
    layout.bufferSize = toInt32Exact(2 * qint64(half));
    return layout;
}

} // namespace tonara
