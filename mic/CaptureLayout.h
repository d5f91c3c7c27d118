#pragma once
// The capture format and the size of the two halves of the capture buffer,
// from what the caller asks for.

#include <QtGlobal>

namespace tonara {

struct WaveFormat {
    qint16 formatTag = 1; // PCM
    qint16 channels = 0;
    qint32 samplesPerSec = 0;
    qint32 avgBytesPerSec = 0;
    qint16 blockAlign = 0;
    qint16 bitsPerSample = 0;
};

struct CaptureLayout {
    WaveFormat format;
    qint32 halfBufferLen = 0; // bytes in one half, a whole number of frames
    qint32 bufferSize = 0;    // both halves
};

// A halfBufferLen below 1 asks for 100 ms of sound. Raises Overflow (6)
// when a number does not fit its width, Division by zero (11) for a block
// align of 0, and Invalid procedure call (5) when no whole frame fits a half.
CaptureLayout captureLayout(qint32 samplesPerSec, qint16 bitsPerSample, qint16 channels, qint32 halfBufferLen);

} // namespace tonara
