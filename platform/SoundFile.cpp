#include "SoundFile.h"
#include "RuntimeError.h"

#include <QFile>
#include <sndfile.h>
#include <algorithm>
#include <cmath>
#include <vector>

namespace tonara {

namespace {

int libraryFormat(SoundFileFormat format) {
    switch (format) {
    case SoundFileFormat::Wav16: return SF_FORMAT_WAV | SF_FORMAT_PCM_16;
    case SoundFileFormat::Wav24: return SF_FORMAT_WAV | SF_FORMAT_PCM_24;
    case SoundFileFormat::WavFloat: return SF_FORMAT_WAV | SF_FORMAT_FLOAT;
    case SoundFileFormat::Flac16: return SF_FORMAT_FLAC | SF_FORMAT_PCM_16;
    case SoundFileFormat::Flac24: return SF_FORMAT_FLAC | SF_FORMAT_PCM_24;
    }
    return 0;
}

[[noreturn]] void failed(const QString& path, SNDFILE* file) {
    const QString reason = QString::fromUtf8(sf_strerror(file));
    if (file) sf_close(file);
    QFile::remove(path);
    throw RuntimeError(err::PathFileAccess, reason);
}

} // namespace

void writeSoundFile(const QString& path, const PcmSound& sound, SoundFileFormat format, bool mono) {
    SF_INFO info{};
    info.samplerate = sound.rate;
    info.channels = mono ? 1 : 2;
    info.format = libraryFormat(format);
    const QByteArray native = QFile::encodeName(path);
    SNDFILE* file = sf_open(native.constData(), SFM_WRITE, &info);
    if (!file) failed(path, nullptr);
    const sf_count_t frames = sound.frameCount();
    const int channels = info.channels;
    const auto sample = [&](sf_count_t frame, int channel) { return sound.samples[size_t(frame) * 2 + size_t(channel)]; };
    sf_count_t written = 0;
    if (format == SoundFileFormat::WavFloat) {
        std::vector<float> out(size_t(frames) * size_t(channels));
        for (sf_count_t i = 0; i < frames; ++i)
            for (int c = 0; c < channels; ++c) out[size_t(i) * size_t(channels) + size_t(c)] = sample(i, c);
        written = sf_writef_float(file, out.data(), frames);
    } else {
        // Rounded here, as the output rounds what it plays: the library's own
        // conversion scales by 32767 and would change every sample a little.
        // The integers go in at the top of 32 bits, whatever the file's width.
        const double scale = format == SoundFileFormat::Wav16 || format == SoundFileFormat::Flac16 ? 32768.0 : 8388608.0;
        const int shift = scale == 32768.0 ? 16 : 8;
        const double top = scale - 1;
        std::vector<int> out(size_t(frames) * size_t(channels));
        for (sf_count_t i = 0; i < frames; ++i)
            for (int c = 0; c < channels; ++c) {
                const double value = std::clamp(std::nearbyint(double(sample(i, c)) * scale), -scale, top);
                out[size_t(i) * size_t(channels) + size_t(c)] = int(value) * (1 << shift);
            }
        written = sf_writef_int(file, out.data(), frames);
    }
    if (written != frames) failed(path, file);
    if (sf_close(file) != 0) failed(path, nullptr);
}

} // namespace tonara
