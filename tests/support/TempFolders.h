#pragma once
// Fresh TEMP and APPDATA folders for one test, and a fake platform
// installed for its lifetime.

#include "FakePlatform.h"
#include "QtPrinters.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

namespace tonara::test {

class TestEnvironment {
public:
    TestEnvironment();
    ~TestEnvironment();

    QString temp(const QString& name = {}) const;
    QString appData(const QString& name = {}) const;
    QString programFolder(const QString& name = {}) const;

    FakePlatform fake;

private:
    QTemporaryDir root_;
    QByteArray oldTemp_, oldAppData_;
};

// The file's raw bytes; empty when missing.
QByteArray fileBytes(const QString& path);
// The file split at CR LF (the last, empty piece after the final CR LF dropped).
QStringList fileLines(const QString& path);
void writeBytes(const QString& path, const QByteArray& bytes);

} // namespace tonara::test
