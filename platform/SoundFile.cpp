#include "SoundFile.h"
#include "RuntimeError.h"
#include "SafeFiles.h"

#include <QByteArray>
#include <sndfile.h>
#include <algorithm>
#include <cmath>
#include <cstring>
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

// The file is made in memory: the library seeks back to finish its header,
// and a file the user already has is replaced only once all of it is there.
struct MemoryFile {
    QByteArray bytes;
    sf_count_t position = 0;
};

sf_count_t memoryLength(void* user) { return static_cast<MemoryFile*>(user)->bytes.size(); }

sf_count_t memorySeek(sf_count_t offset, int whence, void* user) {
    auto* f = static_cast<MemoryFile*>(user);
    const sf_count_t base = whence == SEEK_SET ? 0 : whence == SEEK_CUR ? f->position : f->bytes.size();
    f->position = std::max<sf_count_t>(0, base + offset);
    return f->position;
}

sf_count_t memoryRead(void* out, sf_count_t count, void* user) {
    auto* f = static_cast<MemoryFile*>(user);
    const sf_count_t n = std::clamp<sf_count_t>(f->bytes.size() - f->position, 0, count);
    if (n > 0) std::memcpy(out, f->bytes.constData() + f->position, size_t(n));
    f->position += n;
    return n;
}

sf_count_t memoryWrite(const void* in, sf_count_t count, void* user) {
    auto* f = static_cast<MemoryFile*>(user);
    if (f->position + count > f->bytes.size()) f->bytes.resize(qsizetype(f->position + count), '\0');
    std::memcpy(f->bytes.data() + f->position, in, size_t(count));
    f->position += count;
    return count;
}

sf_count_t memoryTell(void* user) { return static_cast<MemoryFile*>(user)->position; }

[[noreturn]] void failed(SNDFILE* file) {
    const QString reason = QString::fromUtf8(sf_strerror(file));
    if (file) sf_close(file);
    throw RuntimeError(err::PathFileAccess, reason);
}

QByteArray encoded(const PcmSound& sound, SoundFileFormat format, bool mono) {
    SF_INFO info{};
    info.samplerate = sound.rate;
    info.channels = mono ? 1 : 2;
    info.format = libraryFormat(format);
    SF_VIRTUAL_IO io{memoryLength, memorySeek, memoryRead, memoryWrite, memoryTell};
    MemoryFile memory;
    SNDFILE* file = sf_open_virtual(&io, SFM_WRITE, &info, &memory);
    if (!file) failed(nullptr);
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
    if (written != frames) failed(file);
    if (sf_close(file) != 0) failed(nullptr);
    return memory.bytes;
}

} // namespace

void writeSoundFile(const QString& path, const PcmSound& sound, SoundFileFormat format, bool mono) {
    const QByteArray bytes = encoded(sound, format, mono);
    try {
        replaceFileBytes(path, bytes);
    } catch (const RuntimeError& e) {
        throw RuntimeError(err::PathFileAccess, e.description());
    }
}

} // namespace tonara
