#include "SoundFile.h"
#include "RuntimeError.h"

#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <sndfile.h>
#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>
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

[[noreturn]] void refused(int errnoValue) {
    throw RuntimeError(err::PathFileAccess, QString::fromLocal8Bit(std::strerror(errnoValue)));
}

// A new file beside path, named as the settings' new files are
// (".<name>.XXXXXX"), created exclusively: nothing standing there is touched.
int createBeside(const QString& path, QString& made) {
    const QFileInfo target(path);
    static const char letters[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    for (int attempt = 0; attempt < 100; ++attempt) {
        QString suffix;
        for (int i = 0; i < 6; ++i) suffix += QChar(letters[QRandomGenerator::global()->bounded(62)]);
        made = target.absolutePath() + "/." + target.fileName() + "." + suffix;
        const int fd = ::open(QFile::encodeName(made).constData(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0) return fd;
        if (errno != EEXIST) refused(errno);
    }
    refused(EEXIST);
}

} // namespace

SoundFileWriter::SoundFileWriter(const QString& path, int rate, SoundFileFormat format, bool mono)
    : path_(path), format_(format), channels_(mono ? 1 : 2) {
    SF_INFO info{};
    info.samplerate = rate;
    info.channels = channels_;
    info.format = libraryFormat(format);
    if (!sf_format_check(&info)) throw RuntimeError(err::PathFileAccess, "Unsupported sound file format");
    const int fd = createBeside(path, madePath_);
    file_ = sf_open_fd(fd, SFM_WRITE, &info, SF_TRUE);
    if (!file_) {
        ::close(fd);
        failed();
    }
}

SoundFileWriter::~SoundFileWriter() {
    if (!file_) return;
    sf_close(file_);
    QFile::remove(madePath_);
}

void SoundFileWriter::failed() {
    const QString reason = QString::fromUtf8(sf_strerror(file_));
    if (file_) sf_close(file_);
    file_ = nullptr;
    QFile::remove(madePath_);
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

// Made whole and on disk before it takes path's place.
void SoundFileWriter::finish() {
    if (!file_) return;
    sf_write_sync(file_);
    SNDFILE* file = file_;
    file_ = nullptr;
    if (sf_close(file) != 0) {
        const QString reason = QString::fromUtf8(sf_strerror(nullptr));
        QFile::remove(madePath_);
        throw RuntimeError(err::PathFileAccess, reason);
    }
    if (::rename(QFile::encodeName(madePath_).constData(), QFile::encodeName(path_).constData()) != 0) {
        const int error = errno;
        QFile::remove(madePath_);
        refused(error);
    }
}

void writeSoundFile(const QString& path, const PcmSound& sound, SoundFileFormat format, bool mono) {
    SoundFileWriter writer(path, sound.rate, format, mono);
    writer.write(sound.samples.data(), sound.frameCount());
    writer.finish();
}

} // namespace tonara
