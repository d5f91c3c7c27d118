#include "WavFile.h"
#include "RuntimeError.h"
#include "SafeFiles.h"

#include <QFileInfo>
#include <cstdint>

namespace tonara {

namespace {

quint32 le32(const QByteArray& b, qsizetype at) {
    return quint32(quint8(b[at])) | quint32(quint8(b[at + 1])) << 8 | quint32(quint8(b[at + 2])) << 16 |
           quint32(quint8(b[at + 3])) << 24;
}

quint16 le16(const QByteArray& b, qsizetype at) { return quint16(quint8(b[at]) | quint8(b[at + 1]) << 8); }

bool tagAt(const QByteArray& b, qsizetype at, const char* tag) {
    return at + 4 <= b.size() && b.mid(at, 4) == QByteArray(tag, 4);
}

struct Format {
    int channels = 0;
    int rate = 0;
    int bits = 0;
};

float sampleValue(const char* p, int bits) {
    if (bits == 8) return (float(quint8(p[0])) - 128.0f) / 128.0f;
    const auto v = qint16(quint16(quint8(p[0]) | quint8(p[1]) << 8));
    return float(v) / 32768.0f;
}

} // namespace

std::optional<PcmSound> parseWav(const QByteArray& bytes) {
    if (bytes.size() < 12 || !tagAt(bytes, 0, "RIFF") || !tagAt(bytes, 8, "WAVE")) return std::nullopt;

    std::optional<Format> format;
    qsizetype at = 12;
    while (at + 8 <= bytes.size()) {
        const qint64 size = le32(bytes, at + 4);
        const qsizetype body = at + 8;
        if (tagAt(bytes, at, "fmt ")) {
            if (size < 16 || body + 16 > bytes.size()) return std::nullopt;
            if (le16(bytes, body) != 1) return std::nullopt; // PCM only
            Format f{le16(bytes, body + 2), int(le32(bytes, body + 4)), le16(bytes, body + 14)};
            if ((f.channels != 1 && f.channels != 2) || (f.bits != 8 && f.bits != 16) || f.rate <= 0)
                return std::nullopt;
            format = f;
        } else if (tagAt(bytes, at, "data")) {
            if (!format) return std::nullopt;
            const int frameBytes = format->channels * format->bits / 8;
            const qint64 available = std::min<qint64>(size, bytes.size() - body);
            const qint64 frames = available / frameBytes;
            if (frames <= 0) return std::nullopt;

            PcmSound sound;
            sound.rate = format->rate;
            sound.samples.resize(size_t(frames) * 2);
            const char* p = bytes.constData() + body;
            const int sampleBytes = format->bits / 8;
            for (qint64 i = 0; i < frames; ++i, p += frameBytes) {
                const float left = sampleValue(p, format->bits);
                const float right = format->channels == 2 ? sampleValue(p + sampleBytes, format->bits) : left;
                sound.samples[size_t(i) * 2] = left;
                sound.samples[size_t(i) * 2 + 1] = right;
            }
            return sound;
        }
        at = body + size + (size & 1); // chunks are padded to an even length
    }
    return std::nullopt;
}

WavLoad loadWav(const QString& path) {
    if (!QFileInfo(path).isFile()) return {nullptr, WavLoadFailure::Missing};
    QByteArray bytes;
    try {
        bytes = readFileBytes(path);
    } catch (const RuntimeError&) {
        return {nullptr, WavLoadFailure::Unreadable};
    }
    auto parsed = parseWav(bytes);
    if (!parsed) return {nullptr, WavLoadFailure::NotPcm};
    return {std::make_shared<const PcmSound>(std::move(*parsed)), WavLoadFailure::None};
}

} // namespace tonara
