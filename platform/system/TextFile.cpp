#include "TextFile.h"
#include "RuntimeError.h"
#include "SafeFiles.h"

#include <QFile>
#include <QFileInfo>
#include <cerrno>
#include <unistd.h>

namespace tonara {

namespace {

// Windows-1252 code points of the bytes 0x80..0x9F (0 where undefined).
constexpr char16_t kHighControls[32] = {
    0x20AC, 0, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0, 0x017D, 0,
    0, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0, 0x017E, 0x0178};

} // namespace

QString decodeAnsi(const QByteArray& bytes) {
    QString out;
    out.reserve(bytes.size());
    for (char ch : bytes) {
        const auto b = static_cast<unsigned char>(ch);
        if (b >= 0x80 && b <= 0x9F && kHighControls[b - 0x80] != 0)
            out.append(QChar(kHighControls[b - 0x80]));
        else
            out.append(QChar(char16_t(b)));
    }
    return out;
}

QByteArray encodeAnsi(const QString& text) {
    QByteArray out;
    out.reserve(text.size());
    for (QChar c : text) {
        const char16_t u = c.unicode();
        char byte = '?';
        if (u < 0x80 || (u >= 0xA0 && u <= 0xFF)) {
            byte = static_cast<char>(u);
        } else {
            for (int i = 0; i < 32; ++i)
                if (kHighControls[i] == u) { byte = static_cast<char>(0x80 + i); break; }
        }
        out.append(byte);
    }
    return out;
}

EntryReader::EntryReader(const QString& path) {
    if (!QFileInfo(path).isFile()) raise(err::FileNotFound);
    data_ = readFileBytes(path);
}

EntryReader EntryReader::fromBytes(const QByteArray& bytes) {
    EntryReader r;
    r.data_ = bytes;
    return r;
}

QString EntryReader::next() {
    if (atEnd()) raise(err::InputPastEnd);
    const qsizetype n = data_.size();
    auto isLineEnd = [&](qsizetype i) { return data_[i] == '\r' || data_[i] == '\n'; };
    auto consumeLineEnd = [&]() {
        if (pos_ < n && data_[pos_] == '\r') ++pos_;
        if (pos_ < n && data_[pos_] == '\n') ++pos_;
    };
    while (pos_ < n && (data_[pos_] == ' ' || data_[pos_] == '\t')) ++pos_;

    QByteArray entry;
    if (pos_ < n && data_[pos_] == '"') {
        ++pos_;
        while (pos_ < n && data_[pos_] != '"') entry.append(data_[pos_++]);
        if (pos_ < n) ++pos_; // closing quote
        // Whatever stands between the closing quote and the separator is dropped.
        while (pos_ < n && data_[pos_] != ',' && !isLineEnd(pos_)) ++pos_;
    } else {
        while (pos_ < n && data_[pos_] != ',' && !isLineEnd(pos_)) entry.append(data_[pos_++]);
    }
    atLineStart_ = !(pos_ < n && data_[pos_] == ',');
    if (atLineStart_) consumeLineEnd();
    else ++pos_;
    passBlankLines();
    return decodeAnsi(entry);
}

void EntryReader::skipBlankLines() {
    skipBlankLines_ = true;
    passBlankLines();
}

void EntryReader::passBlankLines() {
    if (!skipBlankLines_ || !atLineStart_) return;
    const qsizetype n = data_.size();
    for (;;) {
        qsizetype end = pos_;
        while (end < n && (data_[end] == ' ' || data_[end] == '\t')) ++end;
        if (end < n && data_[end] != '\r' && data_[end] != '\n') return;
        pos_ = end;
        if (pos_ == n) return;
        if (data_[pos_] == '\r') ++pos_;
        if (pos_ < n && data_[pos_] == '\n') ++pos_;
    }
}

QStringList readEntries(const QString& path) {
    EntryReader reader(path);
    QStringList entries;
    while (!reader.atEnd()) entries.append(reader.next());
    return entries;
}

QStringList wholeLines(const QByteArray& bytes, qsizetype most) {
    const QString text = decodeAnsi(bytes);
    QStringList lines;
    qsizetype pos = 0;
    while (pos < text.size() && lines.size() != most) {
        qsizetype end = pos;
        while (end < text.size() && text[end] != '\r' && text[end] != '\n') ++end;
        lines << text.mid(pos, end - pos);
        pos = end;
        if (pos < text.size() && text[pos] == '\r') ++pos;
        if (pos < text.size() && text[pos] == '\n') ++pos;
    }
    return lines;
}

namespace {
QByteArray linesBytes(const QStringList& lines) {
    QByteArray bytes;
    for (const QString& line : lines) {
        bytes.append(encodeAnsi(line));
        bytes.append("\r\n");
    }
    return bytes;
}
} // namespace

void writeLines(const QString& path, const QStringList& lines) { writeFileBytes(path, linesBytes(lines)); }

void replaceLines(const QString& path, const QStringList& lines) { replaceFileBytes(path, linesBytes(lines)); }

bool fileExists(const QString& path) { return QFileInfo(path).isFile(); }

void deleteFile(const QString& path) {
    if (!QFileInfo(path).isFile()) raise(err::FileNotFound);
    if (::unlink(QFile::encodeName(path).constData()) != 0) raiseFileError(errno);
}

void deleteIfExists(const QString& path) {
    if (fileExists(path)) deleteFile(path);
}

} // namespace tonara
