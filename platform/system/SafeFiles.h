#pragma once
// Whole files read and written at the level of the operating system. Every
// file is opened without blocking and checked once open: what is not a
// regular file (a FIFO, a device, a folder) is refused, never waited on. A
// file directly inside the temporary folder is also never opened through a
// link at its last component, and is used only when it is this user's own
// with no other name (no hard link): in a shared folder another user could
// have planted any of these. Failures raise RuntimeError: File not found
// (53), Permission denied (70), Path not found (76), Path/File access error
// (75, also for a refused file), Disk full (61).

#include <QByteArray>
#include <QString>

namespace tonara {

QByteArray readFileBytes(const QString& path);
// Leaves the file (created when missing) holding exactly the bytes, written
// in place. A refused file is left as it was.
void writeFileBytes(const QString& path, const QByteArray& bytes);
// Replaces the file in one step: the bytes go to a new file beside it, which
// is flushed to disk and renamed over the old one. Killed at any moment, the
// program leaves the old content or the new, never a part. A link at path is
// replaced, not written through.
void replaceFileBytes(const QString& path, const QByteArray& bytes);
// Writes the bytes to a new file in folder named prefix and six characters
// of its own making, created exclusively (mode 0600), and returns its path:
// nothing that stands in the folder under any name is touched.
QString writeFreshFile(const QString& folder, const QString& prefix, const QByteArray& bytes);
// Moves the file at path to a fresh name beside it (as replaceFileBytes
// names its new files) and returns that name, so that a file written at
// path meanwhile is neither lost nor mixed with this one.
QString takeAway(const QString& path);

// Raises the error that stands for a failed system call's errno.
[[noreturn]] void raiseFileError(int errnoValue);

} // namespace tonara
