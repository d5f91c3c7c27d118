#include "Leftovers.h"
#include "Folders.h"
#include "RuntimeError.h"

#include <QDir>
#include <QFile>
#include <ctime>
#include <sys/stat.h>
#include <unistd.h>

namespace tonara {

namespace {

// ".<name>." for each name: the prefix replaceFileBytes gives its new files.
QStringList replacedIn(const QStringList& names) {
    QStringList prefixes{kWriteProbePrefix};
    for (const QString& name : names) prefixes << '.' + name + '.';
    return prefixes;
}

// The six characters mkstemp puts after a prefix.
bool isFreshSuffix(QStringView suffix) {
    if (suffix.size() != 6) return false;
    for (QChar c : suffix)
        if (!(c.isDigit() || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'))) return false;
    return true;
}

bool isOurs(const QString& name, const QStringList& prefixes) {
    for (const QString& prefix : prefixes)
        if (name.startsWith(prefix) && isFreshSuffix(QStringView(name).mid(prefix.size()))) return true;
    return false;
}

} // namespace

void removeLeftoversIn(const QString& folder, const QStringList& prefixes, int olderThanSeconds) {
    const std::time_t before = std::time(nullptr) - olderThanSeconds;
    const QStringList names = QDir(folder).entryList(QDir::Files | QDir::Hidden | QDir::System);
    for (const QString& name : names) {
        if (!isOurs(name, prefixes)) continue;
        const QByteArray path = QFile::encodeName(joinPath(folder, name));
        struct stat info {};
        if (::lstat(path.constData(), &info) != 0 || !S_ISREG(info.st_mode) || info.st_uid != ::geteuid()) continue;
        if (info.st_mtime < before) ::unlink(path.constData());
    }
}

void removeLeftovers() {
    removeLeftoversIn(appDataFolder(), replacedIn({"tonara.ini", "morse.ini"}));
    try {
        removeLeftoversIn(tempFolder(),
                          replacedIn({"sound.ini", "quillon.ini", "snd.ini", "updatetonara.txt", "testcon.dat"}));
    } catch (const RuntimeError&) {
        // No temporary folder: nothing was left in one.
    }
}

} // namespace tonara
