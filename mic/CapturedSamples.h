#pragma once
// Captured PCM bytes as fractions of full scale, for measuring: 8-bit
// samples are unsigned (128 is silence), 16-bit signed little-endian.

#include <QByteArray>
#include <vector>

namespace tonara {

// Every sample of every channel, in order; empty for a width that is neither 8 nor 16 bits.
std::vector<float> allSamples(const QByteArray& bytes, int bitsPerSample);
// One channel (0 is the first) of interleaved frames.
std::vector<float> channelSamples(const QByteArray& bytes, int bitsPerSample, int channels, int channel);
// The channels' mean per frame.
std::vector<float> monoSamples(const QByteArray& bytes, int bitsPerSample, int channels);

} // namespace tonara
