#include "SafeFiles.h"
#include "Folders.h"
#include "RuntimeError.h"

#include <QFile>
#include <QFileInfo>
#include <cerrno>
#include <fcntl.h>
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

int noFollowFor(const QString& path) { return isInTempFolder(path) ? O_NOFOLLOW : 0; }

class Descriptor {
public:
    explicit Descriptor(int fd) : fd_(fd) {}
    ~Descriptor() {
        if (fd_ >= 0) ::close(fd_);
    }
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

} // namespace

QByteArray readFileBytes(const QString& path) {
    const QByteArray native = QFile::encodeName(path);
    Descriptor fd(::open(native.constData(), O_RDONLY | O_CLOEXEC | noFollowFor(path)));
    if (fd.get() < 0) {
        if (errno == ENOENT || errno == ENOTDIR) raise(err::FileNotFound);
        raise(errno == ELOOP ? err::PathFileAccess : err::PermissionDenied);
    }
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
    const QByteArray native = QFile::encodeName(path);
    Descriptor fd(::open(native.constData(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC | noFollowFor(path), 0666));
    if (fd.get() < 0) raiseFileError(errno);
    writeAll(fd.get(), bytes);
    fd.close();
}

void replaceFileBytes(const QString& path, const QByteArray& bytes) {
    const QFileInfo target(path);
    const QByteArray folder = QFile::encodeName(target.absolutePath());
    QByteArray fresh = folder + "/." + QFile::encodeName(target.fileName()) + ".XXXXXX";
    // A name of its own, created exclusively: nothing planted under it is used.
    Descriptor fd(::mkostemp(fresh.data(), O_CLOEXEC));
    if (fd.get() < 0) raiseFileError(errno);
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
    flushFolder(folder);
}

} // namespace tonara
