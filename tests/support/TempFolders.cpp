#include "TempFolders.h"

#include <QDir>
#include <QFile>

namespace tonara::test {

static QString under(const QString& base, const QString& name) { return name.isEmpty() ? base : base + "/" + name; }

TestEnvironment::TestEnvironment() : oldTemp_(qgetenv("TEMP")), oldAppData_(qgetenv("APPDATA")) {
    QDir(root_.path()).mkpath("temp");
    QDir(root_.path()).mkpath("appdata");
    QDir(root_.path()).mkpath("companions");
    QDir(root_.path()).mkpath("data");
    qputenv("TEMP", QFile::encodeName(temp()));
    qputenv("APPDATA", QFile::encodeName(appData()));
    fake.companionFolderPath = companionFolder();
    fake.dataFolderPath = dataFolder();
    fake.path = under(root_.path() + "/bin", "tonara");
    setPlatform(&fake);
}

TestEnvironment::~TestEnvironment() {
    setPlatform(nullptr);
    qputenv("TEMP", oldTemp_);
    qputenv("APPDATA", oldAppData_);
}

QString TestEnvironment::temp(const QString& name) const { return under(root_.path() + "/temp", name); }
QString TestEnvironment::appData(const QString& name) const { return under(root_.path() + "/appdata", name); }
QString TestEnvironment::companionFolder(const QString& name) const { return under(root_.path() + "/companions", name); }
QString TestEnvironment::dataFolder(const QString& name) const { return under(root_.path() + "/data", name); }

ScopedEnvironment::~ScopedEnvironment() {
    for (auto it = saved_.rbegin(); it != saved_.rend(); ++it) {
        if (it->second) qputenv(it->first.constData(), *it->second);
        else qunsetenv(it->first.constData());
    }
}

void ScopedEnvironment::remember(const char* name) {
    const std::optional<QByteArray> old =
        qEnvironmentVariableIsSet(name) ? std::optional<QByteArray>(qgetenv(name)) : std::nullopt;
    saved_.emplace_back(name, old);
}

void ScopedEnvironment::set(const char* name, const QString& value) {
    remember(name);
    qputenv(name, QFile::encodeName(value));
}

void ScopedEnvironment::unset(const char* name) {
    remember(name);
    qunsetenv(name);
}

QByteArray fileBytes(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

QStringList fileLines(const QString& path) {
    QStringList lines = QString::fromLatin1(fileBytes(path)).split("\r\n");
    if (!lines.isEmpty() && lines.last().isEmpty()) lines.removeLast();
    return lines;
}

void writeBytes(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    if (f.open(QIODevice::WriteOnly | QIODevice::Truncate)) f.write(bytes);
}

} // namespace tonara::test
