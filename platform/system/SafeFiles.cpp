#include "SafeFiles.h"
#include "Folders.h"
#include "RuntimeError.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace tonara {

void raiseFileError(int e) {
    switch (e) {
    case ENOENT:
    case ENOTDIR: raise(err::PathNotFound);
    case EACCES:
    case EPERM:
    case EROFS: raise(err::PermissionDenied);
    case ENOSPC:
    case EDQUOT: raise(err::DiskFull);
    default: raise(err::PathFileAccess); // ELOOP (a refused link), EISDIR, ...
    }
}

namespace {

class Descriptor {
public:
    explicit Descriptor(int fd) : fd_(fd) {}
    ~Descriptor() {
        if (fd_ >= 0) ::close(fd_);
    }
    Descriptor(Descriptor&& other) noexcept : fd_(other.fd_) { other.fd_ = -1; }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    int get() const { return fd_; }
    // Closing can report a failed write of buffered data.
    void close() {
        const int fd = fd_;
        fd_ = -1;
        if (::close(fd) != 0) raiseFileError(errno);
    }

private:
    int fd_;
};

void writeAll(int fd, const QByteArray& bytes) {
    const char* p = bytes.constData();
    qsizetype left = bytes.size();
    while (left > 0) {
        const ssize_t n = ::write(fd, p, size_t(left));
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) raiseFileError(errno);
        if (n == 0) raise(err::DiskFull);
        p += n;
        left -= n;
    }
}

// The rename itself is made durable by flushing the folder; a failure there changes nothing already done.
void flushFolder(const QByteArray& folder) {
    const int fd = ::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    ::fsync(fd);
    ::close(fd);
}

// Opens without blocking and without following a link in the temporary
// folder, then looks at what was opened: only a regular file is used, and in
// the temporary folder only one of this user's own with no second name, so
// that nothing planted there is waited on, written into or read out.
Descriptor openUsable(const QString& path, int flags, void (*failed)(int)) {
    const bool inTemp = isInTempFolder(path);
    const QByteArray native = QFile::encodeName(path);
    Descriptor fd(::open(native.constData(), flags | O_CLOEXEC | O_NONBLOCK | (inTemp ? O_NOFOLLOW : 0), 0666));
    if (fd.get() < 0) failed(errno);
    struct stat info {};
    if (::fstat(fd.get(), &info) != 0 || !S_ISREG(info.st_mode)) raise(err::PathFileAccess);
    if (inTemp && (info.st_uid != ::geteuid() || info.st_nlink != 1)) raise(err::PathFileAccess);
    return fd;
}

[[noreturn]] void raiseReadError(int e) {
    if (e == ENOENT || e == ENOTDIR) raise(err::FileNotFound);
    raise(e == ELOOP ? err::PathFileAccess : err::PermissionDenied);
}

// folder/prefixXXXXXX, created exclusively: nothing planted under a name is used.
Descriptor createFresh(QByteArray& name) {
    Descriptor fd(::mkostemp(name.data(), O_CLOEXEC));
    if (fd.get() < 0) raiseFileError(errno);
    return fd;
}

QByteArray freshPattern(const QString& folder, const QString& prefix) {
    return QFile::encodeName(QDir::cleanPath(folder) + '/' + prefix) + "XXXXXX";
}

// The name a file replaced in one step is first written under: ".<name>.XXXXXX".
QByteArray freshBeside(const QFileInfo& target) {
    return freshPattern(target.absolutePath(), '.' + target.fileName() + '.');
}

} // namespace

QByteArray readFileBytes(const QString& path) {
    Descriptor fd = openUsable(path, O_RDONLY, raiseReadError);
    QByteArray bytes;
    char buffer[65536];
    for (;;) {
        const ssize_t n = ::read(fd.get(), buffer, sizeof buffer);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) raise(err::PermissionDenied);
        if (n == 0) return bytes;
        bytes.append(buffer, n);
    }
}

void writeFileBytes(const QString& path, const QByteArray& bytes) {
    // Written over from the start and cut to its new length after, only once
    // it is known to be ours to write. Emptied first, a file that is
    // rewritten a line longer each time (the activity log) would give back
    // its blocks and take them again: ext4 flushes such a file at its close,
    // and discards the blocks on a disk mounted with discard.
    Descriptor fd = openUsable(path, O_WRONLY | O_CREAT, raiseFileError);
    writeAll(fd.get(), bytes);
    if (::ftruncate(fd.get(), off_t(bytes.size())) != 0) raiseFileError(errno);
    fd.close();
}

void replaceFileBytes(const QString& path, const QByteArray& bytes) {
    const QFileInfo target(path);
    QByteArray fresh = freshBeside(target);
    Descriptor fd = createFresh(fresh);
    try {
        writeAll(fd.get(), bytes);
        if (::fsync(fd.get()) != 0) raiseFileError(errno);
        fd.close();
        if (::rename(fresh.constData(), QFile::encodeName(target.absoluteFilePath()).constData()) != 0)
            raiseFileError(errno);
    } catch (...) {
        ::unlink(fresh.constData());
        throw;
    }
    flushFolder(QFile::encodeName(target.absolutePath()));
}

QString writeFreshFile(const QString& folder, const QString& prefix, const QByteArray& bytes) {
    QByteArray fresh = freshPattern(folder, prefix);
    Descriptor fd = createFresh(fresh);
    try {
        writeAll(fd.get(), bytes);
        fd.close();
    } catch (...) {
        ::unlink(fresh.constData());
        throw;
    }
    return QFile::decodeName(fresh);
}

QString takeAway(const QString& path) {
    const QFileInfo target(path);
    QByteArray fresh = freshBeside(target);
    createFresh(fresh).close();
    if (::rename(QFile::encodeName(target.absoluteFilePath()).constData(), fresh.constData()) != 0) {
        const int e = errno;
        ::unlink(fresh.constData());
        raiseFileError(e);
    }
    return QFile::decodeName(fresh);
}

} // namespace tonara
