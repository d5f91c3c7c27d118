#pragma once
// Fresh TEMP and APPDATA folders for one test, and a fake platform
// installed for its lifetime. Its companion and data folders are two
// different folders, as in an installed tree.

#include "FakePlatform.h"
#include "QtPrinters.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <optional>
#include <utility>
#include <vector>

namespace tonara::test {

class TestEnvironment {
public:
    TestEnvironment();
    ~TestEnvironment();

    QString temp(const QString& name = {}) const;
    QString appData(const QString& name = {}) const;
    QString companionFolder(const QString& name = {}) const;
    QString dataFolder(const QString& name = {}) const;

    FakePlatform fake;

private:
    QTemporaryDir root_;
    QByteArray oldTemp_, oldAppData_;
};

// Environment variables set or unset for one test, restored afterwards.
class ScopedEnvironment {
public:
    ScopedEnvironment() = default;
    ~ScopedEnvironment();
    ScopedEnvironment(const ScopedEnvironment&) = delete;
    ScopedEnvironment& operator=(const ScopedEnvironment&) = delete;
    void set(const char* name, const QString& value);
    void unset(const char* name);

private:
    void remember(const char* name);
    std::vector<std::pair<QByteArray, std::optional<QByteArray>>> saved_;
};

// The file's raw bytes; empty when missing.
QByteArray fileBytes(const QString& path);
// The file split at CR LF (the last, empty piece after the final CR LF dropped).
QStringList fileLines(const QString& path);
void writeBytes(const QString& path, const QByteArray& bytes);

} // namespace tonara::test
