#pragma once
// The one-second tone, its WAV image and the file it is played from.

#include <QByteArray>
#include <QString>
#include <vector>

namespace tonara {

// Samples indexed (channel, sample); only the low 8 or 16 bits are used.
struct SampleGrid {
    int channels = 0;
    int samples = 0;
    std::vector<qint32> values; // channel-major: values[channel * samples + sample]

    SampleGrid(int channelCount, int sampleCount)
        : channels(channelCount), samples(sampleCount), values(size_t(channelCount) * size_t(sampleCount), 0) {}
    qint32& at(int channel, int sample) { return values[size_t(channel) * size_t(samples) + size_t(sample)]; }
    qint32 at(int channel, int sample) const { return values[size_t(channel) * size_t(samples) + size_t(sample)]; }
};

constexpr int kToneRate = 44100;
constexpr int kHighToneRate = 96000; // for pitches near and above the 44 100 rate's Nyquist limit
constexpr int kToneAmplitude = 30000;

// The sample rate a pitch is synthesised at.
int toneRateFor(qint32 pitch);
// One second of a two-channel sine of pitch Hz at toneRateFor(pitch).
SampleGrid oneSecondTone(qint32 pitch);

// The WAV image of a grid; BitsPerSample must be 8 or 16 (a programming error otherwise).
QByteArray CreateWaveArray(const SampleGrid& WaveData, qint32 SampleRate, qint32 BitsPerSample);
// Deletes Path if it exists, then writes the bytes; reports nothing.
void WriteWave(const QString& Path, const QByteArray& WaveArray);

// %TEMP%/tnfwinmmtmp.wav, the temporary tone WAV.
QString temporaryToneWav();
// Synthesises pitch and writes it as the temporary tone WAV.
void writeToneWav(qint32 pitch);

} // namespace tonara
