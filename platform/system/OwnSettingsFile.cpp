#include "OwnSettingsFile.h"
#include "Folders.h"
#include "RuntimeError.h"
#include "SafeFiles.h"
#include "TextFile.h"

#include <QFileInfo>
#include <cstdio>

namespace tonara {

std::optional<QByteArray> readOwnSettingsFile(const QString& path, qsizetype mostBytes, const char* instead) {
    if (!fileExists(path) || QFileInfo(path).size() > mostBytes) return std::nullopt;
    try {
        return readFileBytes(path);
    } catch (const RuntimeError& e) {
        std::fprintf(stderr, "Tonara: %s is not read (%s); %s\n", qPrintable(path), qPrintable(e.description()), instead);
        return std::nullopt;
    }
}

bool writeOwnSettingsFile(const QString& path, const QByteArray& bytes) {
    try {
        replaceFileBytes(path, bytes);
        return true;
    } catch (const RuntimeError& e) {
        std::fprintf(stderr, "Tonara: %s cannot be written (%s)\n", qPrintable(path), qPrintable(e.description()));
        return false;
    }
}

QString ownSettingsPath(const char* fileName) { return joinPath(appDataFolder(), fileName); }

} // namespace tonara
