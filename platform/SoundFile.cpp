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

} // namespace

SoundFileWriter::SoundFileWriter(const QString& path, int rate, SoundFileFormat format, bool mono)
    : path_(path), format_(format), channels_(mono ? 1 : 2) {
    SF_INFO info{};
    info.samplerate = rate;
    info.channels = channels_;
    info.format = libraryFormat(format);
    const QByteArray native = QFile::encodeName(path);
    file_ = sf_open(native.constData(), SFM_WRITE, &info);
    if (!file_) failed();
}

SoundFileWriter::~SoundFileWriter() {
    if (!file_) return;
    sf_close(file_);
    QFile::remove(path_);
}

void SoundFileWriter::failed() {
    const QString reason = QString::fromUtf8(sf_strerror(file_));
    if (file_) sf_close(file_);
    file_ = nullptr;
    QFile::remove(path_);
    throw RuntimeError(err::PathFileAccess, reason);
}

void SoundFileWriter::write(const float* stereo, long frames) {
    const auto count = std::size_t(frames) * std::size_t(channels_);
    const auto sample = [&](long frame, int channel) { return stereo[std::size_t(frame) * 2 + std::size_t(channel)]; };
    sf_count_t written = 0;
    if (format_ == SoundFileFormat::WavFloat) {
        std::vector<float> out(count);
        for (long i = 0; i < frames; ++i)
            for (int c = 0; c < channels_; ++c) out[std::size_t(i) * std::size_t(channels_) + std::size_t(c)] = sample(i, c);
        written = sf_writef_float(file_, out.data(), frames);
    } else {
        // Rounded here, as the output rounds what it plays: the library's own
        // conversion scales by 32767 and would change every sample a little.
        // The integers go in at the top of 32 bits, whatever the file's width.
        const bool sixteen = format_ == SoundFileFormat::Wav16 || format_ == SoundFileFormat::Flac16;
        const double scale = sixteen ? 32768.0 : 8388608.0;
        const int shift = sixteen ? 16 : 8;
        const double top = scale - 1;
        std::vector<int> out(count);
        for (long i = 0; i < frames; ++i)
            for (int c = 0; c < channels_; ++c) {
                const double value = std::clamp(std::nearbyint(double(sample(i, c)) * scale), -scale, top);
                out[std::size_t(i) * std::size_t(channels_) + std::size_t(c)] = int(value) * (1 << shift);
            }
        written = sf_writef_int(file_, out.data(), frames);
    }
    if (written != frames) failed();
}

void SoundFileWriter::finish() {
    if (!file_) return;
    SNDFILE* file = file_;
    file_ = nullptr;
    if (sf_close(file) != 0) {
        QFile::remove(path_);
        throw RuntimeError(err::PathFileAccess, QString::fromUtf8(sf_strerror(nullptr)));
    }
}

void writeSoundFile(const QString& path, const PcmSound& sound, SoundFileFormat format, bool mono) {
    SoundFileWriter writer(path, sound.rate, format, mono);
    writer.write(sound.samples.data(), sound.frameCount());
    writer.finish();
}

} // namespace tonara
