// Starting the desktop's volume control: the first well-known one on PATH.
#include "Platform.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QThread>
#include <gtest/gtest.h>

namespace tonara::test {

namespace {

// PATH replaced for one test.
class PathOf {
public:
    explicit PathOf(const QString& folder) : old_(qgetenv("PATH")) { qputenv("PATH", QFile::encodeName(folder)); }
    ~PathOf() { qputenv("PATH", old_); }

private:
    QByteArray old_;
};

// A program that leaves its name and arguments in the file "started" beside
// it, with nothing but the shell's own commands: PATH holds only its folder.
void writeStandIn(const QString& folder, const QString& name) {
    QFile script(folder + "/" + name);
    ASSERT_TRUE(script.open(QIODevice::WriteOnly));
    script.write(QString("#!/bin/sh\necho \"%1 $*\" > '%2/started'\n").arg(name, folder).toUtf8());
    script.close();
    script.setPermissions(script.permissions() | QFile::ExeOwner);
}

QString waitForFile(const QString& path) {
    QElapsedTimer waited;
    waited.start();
    while (!QFile::exists(path) && waited.elapsed() < 10000) QThread::msleep(20);
    QThread::msleep(50);
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()).trimmed() : QString();
}

} // namespace

TEST(VolumeControl, ThePulseAudioControlComesFirst) {
    QTemporaryDir bin;
    writeStandIn(bin.path(), "gnome-control-center");
    writeStandIn(bin.path(), "pavucontrol");
    PathOf path(bin.path());
    EXPECT_TRUE(realPlatform().startVolumeControl());
    EXPECT_EQ(waitForFile(bin.filePath("started")), "pavucontrol");
}

TEST(VolumeControl, TheDesktopsSoundSettingsOtherwise) {
    QTemporaryDir bin;
    writeStandIn(bin.path(), "gnome-control-center");
    PathOf path(bin.path());
    EXPECT_TRUE(realPlatform().startVolumeControl());
    EXPECT_EQ(waitForFile(bin.filePath("started")), "gnome-control-center sound");
}

TEST(VolumeControl, NoneInstalledStartsNothing) {
    QTemporaryDir bin;
    PathOf path(bin.path());
    EXPECT_FALSE(realPlatform().startVolumeControl());
    EXPECT_TRUE(QDir(bin.path()).entryList(QDir::Files).isEmpty());
}

} // namespace tonara::test
