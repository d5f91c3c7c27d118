#include "Synthesis.h"
#include "Folders.h"
#include "Platform.h"
#include "RuntimeError.h"
#include "SafeFiles.h"
#include "TextFile.h"

#include <cmath>
#include <numbers>

namespace tonara {

namespace {

// The single-precision value nearest 2π/44100, used as a double: the
// tone's period depends on exactly this step. The high rate's tones are
// ours alone: made with 2π/96000 itself, a whole pitch loops without a
// seam, which a pitch beyond the output's limit would otherwise leave as a
// tick once a second.
constexpr double kPhaseStep = 0x1.2acb24p-13;
constexpr double kHighPhaseStep = 2.0 * std::numbers::pi / kHighToneRate;
// Up to here the output's converter passes a tone of the low rate at its
// full level; a higher one is made at the high rate, which leaves room.
constexpr int kHighestLowRatePitch = 21000;

void put16(QByteArray& image, int at, qint32 value) {
    image[at] = char(value & 0xFF);
    image[at + 1] = char((value >> 8) & 0xFF);
}

void put32(QByteArray& image, int at, qint32 value) {
    put16(image, at, value & 0xFFFF);
    put16(image, at + 2, (value >> 16) & 0xFFFF);
}

void putTag(QByteArray& image, int at, const char* tag) {
    for (int i = 0; i < 4; ++i) image[at + i] = tag[i];
}

} // namespace

int toneRateFor(qint32 pitch) { return pitch > kHighestLowRatePitch ? kHighToneRate : kToneRate; }

SampleGrid oneSecondTone(qint32 pitch) {
    const int rate = toneRateFor(pitch);
    const double step = rate == kToneRate ? kPhaseStep : kHighPhaseStep;
    SampleGrid tone(2, rate);
    qint32* left = &tone.at(0, 0);
    qint32* right = &tone.at(1, 0);
    for (int s = 0; s < rate; ++s) {
        // 64 bits: at the high rate 32 000 × 95 999 passes 2^31.
        const qint64 product = qint64(pitch) * s;
        const auto value = qint32(std::nearbyint(std::sin(double(product) * step) * double(kToneAmplitude)));
        left[s] = value;
        right[s] = value;
    }
    return tone;
}

QByteArray CreateWaveArray(const SampleGrid& WaveData, qint32 SampleRate, qint32 BitsPerSample) {
    if (BitsPerSample != 16 && BitsPerSample != 8) platform().endProgram(1);

    const qint32 channels = WaveData.channels;
    const qint32 samples = WaveData.samples;
    const qint32 byteRate = SampleRate * channels * BitsPerSample / 8;
    const qint32 blockAlign = BitsPerSample * channels / 8;
    const qint32 totalSize = blockAlign * samples + 44;
    const qint32 dataSize = channels * samples * BitsPerSample / 8;

    QByteArray image(totalSize, '\0');
    putTag(image, 0, "RIFF");
    put32(image, 4, totalSize - 8);
    putTag(image, 8, "WAVE");
    putTag(image, 12, "fmt ");
    put32(image, 16, 16);
    put16(image, 20, 1);
    put16(image, 22, channels);
    put32(image, 24, SampleRate);
    put32(image, 28, byteRate);
    put16(image, 32, blockAlign);
    put16(image, 34, BitsPerSample);
    putTag(image, 36, "data");
    put32(image, 40, dataSize);

    char* data = image.data() + 44;
    const int sampleBytes = BitsPerSample / 8;
    for (qint32 s = 0; s < samples; ++s) {
        for (qint32 c = 0; c < channels; ++c) {
            const qint32 value = WaveData.at(c, s);
            char* p = data + blockAlign * s + sampleBytes * c;
            p[0] = char(value & 0xFF);
            if (sampleBytes == 2) p[1] = char((value >> 8) & 0xFF);
        }
    }
    return image;
}

void WriteWave(const QString& Path, const QByteArray& WaveArray) {
    // Every failure is passed over: the player then gets whatever is there.
    try {
        deleteIfExists(Path);
    } catch (const RuntimeError&) {
    }
    try {
        writeFileBytes(Path, WaveArray);
    } catch (const RuntimeError&) {
    }
}

QString temporaryToneWav() { return joinPath(tempFolder(), "tnfwinmmtmp.wav"); }

void writeToneWav(qint32 pitch) {
    WriteWave(temporaryToneWav(), CreateWaveArray(oneSecondTone(pitch), toneRateFor(pitch), 16));
}

} // namespace tonara
