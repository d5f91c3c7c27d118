#include "CapturedSamples.h"

#include <QtEndian>

namespace tonara {

std::vector<float> allSamples(const QByteArray& bytes, int bitsPerSample) {
    std::vector<float> samples;
    if (bitsPerSample == 8) {
        samples.reserve(size_t(bytes.size()));
        for (const char b : bytes) samples.push_back((float(quint8(b)) - 128) / 128);
    } else if (bitsPerSample == 16) {
        samples.reserve(size_t(bytes.size() / 2));
        for (qsizetype at = 0; at + 1 < bytes.size(); at += 2)
            samples.push_back(float(qFromLittleEndian<qint16>(bytes.constData() + at)) / 32768);
    }
    return samples;
}

std::vector<float> channelSamples(const QByteArray& bytes, int bitsPerSample, int channels, int channel) {
    const std::vector<float> all = allSamples(bytes, bitsPerSample);
    std::vector<float> one;
    if (channels < 1 || channel < 0 || channel >= channels) return one;
    one.reserve(all.size() / size_t(channels));
    for (size_t at = size_t(channel); at + size_t(channels - channel) <= all.size(); at += size_t(channels))
        one.push_back(all[at]);
    return one;
}

std::vector<float> monoSamples(const QByteArray& bytes, int bitsPerSample, int channels) {
    const std::vector<float> all = allSamples(bytes, bitsPerSample);
    std::vector<float> mono;
    if (channels < 1) return mono;
    mono.reserve(all.size() / size_t(channels));
    for (size_t at = 0; at + size_t(channels) <= all.size(); at += size_t(channels)) {
        float sum = 0;
        for (int c = 0; c < channels; ++c) sum += all[at + size_t(c)];
        mono.push_back(sum / float(channels));
    }
    return mono;
}

} // namespace tonara
