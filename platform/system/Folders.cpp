#include "Folders.h"
#include "RuntimeError.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <cerrno>
#include <sys/stat.h>
#include <unistd.h>

namespace tonara {

namespace {

QString absoluteEnv(const char* name) {
    const QString v = qEnvironmentVariable(name);
    return QDir::isAbsolutePath(v) ? v : QString();
}

// Creates every missing folder of path with mode 0700. True when path is a folder afterwards.
bool makeFolders(const QString& path) {
    const QString clean = QDir::cleanPath(path);
    for (qsizetype at = clean.indexOf('/', 1); ; at = clean.indexOf('/', at + 1)) {
        const QByteArray part = QFile::encodeName(at < 0 ? clean : clean.left(at));
        if (::mkdir(part.constData(), 0700) != 0 && errno != EEXIST) return false;
        if (at < 0) break;
    }
    return QFileInfo(clean).isDir();
}

// A folder itself (not a link to one), owned by this user, closed to others.
bool isPrivateFolder(const QString& path) {
    const QByteArray native = QFile::encodeName(path);
    struct stat info {};
    if (::lstat(native.constData(), &info) != 0 || !S_ISDIR(info.st_mode) || info.st_uid != ::geteuid()) return false;
    return (info.st_mode & 077) == 0 || ::chmod(native.constData(), 0700) == 0;
}

QString privateTempFolder() {
    QStringList candidates;
    if (const QString runtime = absoluteEnv("XDG_RUNTIME_DIR"); !runtime.isEmpty()) candidates << runtime + "/tonara";
    QString cache = absoluteEnv("XDG_CACHE_HOME");
    if (cache.isEmpty()) cache = QDir::homePath() + "/.cache";
    candidates << cache + "/tonara/tmp";
    for (const QString& folder : candidates)
        if (makeFolders(folder) && isPrivateFolder(folder)) return folder;
    raise(err::PermissionDenied);
}

// Another user can put files into it: the folder of a user other than us
// (root's aside) or one open to the group or to everyone, as /tmp is.
bool othersCanWrite(const struct stat& info) {
    return (info.st_mode & (S_IWGRP | S_IWOTH)) != 0 || (info.st_uid != ::geteuid() && info.st_uid != 0);
}

// A shared folder is never used as it is: a neighbour could plant links,
// FIFOs or files of their own under the names the programs use. A folder of
// ours inside it is, unless someone took its name first.
QString folderInside(const QString& chosen) {
    struct stat info {};
    // Missing or not a folder: kept, so that the write test reports it.
    if (::stat(QFile::encodeName(chosen).constData(), &info) != 0 || !S_ISDIR(info.st_mode) || !othersCanWrite(info))
        return chosen;
    const QString own = joinPath(chosen, QString("tonara-%1").arg(::geteuid()));
    const bool made = ::mkdir(QFile::encodeName(own).constData(), 0700) == 0 || errno == EEXIST;
    return made && isPrivateFolder(own) ? own : privateTempFolder();
}

QString envOr(const char* name, const QString& fallback) {
    const QString v = qEnvironmentVariable(name);
    return v.isEmpty() ? fallback : v;
}

} // namespace

QString tempFolder() {
    for (const char* name : {"TEMP", "TMPDIR"})
        if (const QString v = qEnvironmentVariable(name); !v.isEmpty()) return folderInside(v);
    return privateTempFolder();
}

void exportTempFolder() {
    try {
        qputenv("TEMP", QFile::encodeName(tempFolder()));
    } catch (const RuntimeError&) {
        // Left unset: each use raises again, into its caller's error trap.
    }
}

bool isInTempFolder(const QString& path) {
    QString folder;
    try {
        folder = tempFolder();
    } catch (const RuntimeError&) {
        return true; // no folder to compare with: treat the file with the same care
    }
    return QDir::cleanPath(QFileInfo(path).absolutePath()) == QDir::cleanPath(QFileInfo(folder).absoluteFilePath());
}

QString documentsFolder() {
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (!documents.isEmpty() && QFileInfo(documents).isDir()) return documents;
    return QDir::homePath();
}

QString appDataFolder() {
    const QString appData = qEnvironmentVariable("APPDATA");
    if (!appData.isEmpty()) return appData;
    const QString config = envOr("XDG_CONFIG_HOME", QDir::homePath() + "/.config");
    makeFolders(config);
    return config;
}

QString joinPath(const QString& folder, const QString& name) {
    QString n = name;
    while (n.startsWith('\\') || n.startsWith('/')) n.remove(0, 1);
    n.replace('\\', '/');
    if (folder.endsWith('/')) return folder + n;
    return folder + '/' + n;
}

} // namespace tonara
