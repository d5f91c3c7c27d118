#pragma once
// Whole files read and written at the level of the operating system. A file
// directly inside the temporary folder is never opened through a link at its
// last component: in a shared folder another user could have planted one.
// Failures raise RuntimeError: File not found (53), Permission denied (70),
// Path not found (76), Path/File access error (75, also for a refused link),
// Disk full (61).

#include <QByteArray>
#include <QString>

namespace tonara {

QByteArray readFileBytes(const QString& path);
// Empties the file (creating it when missing), then writes the bytes.
void writeFileBytes(const QString& path, const QByteArray& bytes);
// Replaces the file in one step: the bytes go to a new file beside it, which
// is flushed to disk and renamed over the old one. Killed at any moment, the
// program leaves the old content or the new, never a part. A link at path is
// replaced, not written through.
void replaceFileBytes(const QString& path, const QByteArray& bytes);

// Raises the error that stands for a failed system call's errno.
[[noreturn]] void raiseFileError(int errnoValue);

} // namespace tonara
