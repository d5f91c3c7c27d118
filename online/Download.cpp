#include "Download.h"
#include "Platform.h"

#include <QFileInfo>
#include <QTemporaryFile>
#include <cstdio>

namespace tonara {

namespace {

// Written beside the target and renamed over it, so a reader never sees half
// a file and a link placed at the target is replaced, not followed.
bool replaceFile(const QString& path, const QByteArray& bytes) {
    QTemporaryFile part(QFileInfo(path).absolutePath() + "/.download-XXXXXX");
    if (!part.open() || part.write(bytes) != bytes.size() || !part.flush()) return false;
    part.close();
    if (std::rename(QFile::encodeName(part.fileName()).constData(), QFile::encodeName(path).constData()) != 0)
        return false;
    part.setAutoRemove(false);
    return true;
}

} // namespace

bool Download(const QString& Link, const QString& SaveLocation) {
    const std::optional<QByteArray> body = platform().download(Link);
    return body && replaceFile(SaveLocation, *body);
}

} // namespace tonara
