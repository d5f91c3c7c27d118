#include "Folders.h"

#include <QDir>

namespace tonara {

namespace {
QString envOr(const char* name, const QString& fallback) {
    const QString v = qEnvironmentVariable(name);
    return v.isEmpty() ? fallback : v;
}
} // namespace

QString tempFolder() { return envOr("TEMP", envOr("TMPDIR", QStringLiteral("/tmp"))); }

QString appDataFolder() { return envOr("APPDATA", envOr("XDG_CONFIG_HOME", QDir::homePath() + "/.config")); }

QString joinPath(const QString& folder, const QString& name) {
    QString n = name;
    while (n.startsWith('\\') || n.startsWith('/')) n.remove(0, 1);
    n.replace('\\', '/');
    if (folder.endsWith('/')) return folder + n;
    return folder + '/' + n;
}

} // namespace tonara
