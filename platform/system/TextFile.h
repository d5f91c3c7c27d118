#pragma once
// Plain ANSI (Windows-1252) text files with CR LF line ends, read entry by
// entry: an entry ends at a comma or a line end, leading blanks are skipped,
// an empty line is an empty entry, a quoted entry may hold commas and loses
// its quotes. Failures raise RuntimeError with the platform's numbers.

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace tonara {

QString decodeAnsi(const QByteArray& bytes);
QByteArray encodeAnsi(const QString& text);

class EntryReader {
public:
    // Raises File not found (53) or Permission denied (70).
    explicit EntryReader(const QString& path);
    // Parses text already in memory (used for bytes that are not a file).
    static EntryReader fromBytes(const QByteArray& bytes);

    // From here on, lines that hold nothing but blanks give no entry.
    void skipBlankLines();

    bool atEnd() const { return pos_ >= data_.size(); }
    // Raises Input past end of file (62) when nothing is left.
    QString next();

private:
    EntryReader() = default;
    void passBlankLines();

    QByteArray data_;
    qsizetype pos_ = 0;
    bool atLineStart_ = true;
    bool skipBlankLines_ = false;
};

// All entries of a file, in order.
QStringList readEntries(const QString& path);

// Text read line by line, each line whole (commas included); a line ends at
// CR LF, LF or CR. At most `most` lines when it is not negative.
QStringList wholeLines(const QByteArray& bytes, qsizetype most = -1);

// Writes the lines, each followed by CR LF, emptying the file first.
// Raises Path not found (76) when the folder is missing, Permission denied (70)
// when it cannot be written; see SafeFiles.h for links in the temporary folder.
void writeLines(const QString& path, const QStringList& lines);
// The same lines, but the file is replaced in one step (replaceFileBytes):
// settings and hand-over files, which a reader must never find half written.
void replaceLines(const QString& path, const QStringList& lines);

bool fileExists(const QString& path);
// Raises File not found (53) when missing, Permission denied (70) when refused.
void deleteFile(const QString& path);
// Deletes the file when it exists.
void deleteIfExists(const QString& path);

} // namespace tonara
