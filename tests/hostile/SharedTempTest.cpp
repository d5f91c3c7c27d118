// Two users run Tonara at once with TEMP at the same shared folder, one of
// them having planted links, FIFOs and files under every name the other uses.
#include "RunningTonara.h"
#include "TempFolders.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QThread>
#include <gtest/gtest.h>
#include <sys/stat.h>

namespace tonara::test {

namespace {

// What a planted name is: its type, its owner, and for a file its content.
QString fingerprint(const QString& path) {
    struct stat info {};
    if (::lstat(QFile::encodeName(path).constData(), &info) != 0) return "missing";
    QString print = QString("mode %1 uid %2").arg(info.st_mode, 0, 8).arg(info.st_uid);
    if (S_ISREG(info.st_mode))
        print += ' ' + QCryptographicHash::hash(fileBytes(path), QCryptographicHash::Sha256).toHex();
    if (S_ISLNK(info.st_mode)) print += " -> " + QFileInfo(path).symLinkTarget();
    return print;
}

const QStringList kFixedNames = {"userdata.txt", "error.log", "sound.ini", "snd.ini", "quillon.ini",
                                 "tnfwinmmtmp.wav", "updatetonara.txt", "testcon.dat", "test.txt"};

} // namespace

TEST(SharedTemp, TwoUsersAtOnceNeitherCanBlockReadOrRedirectTheOthersFiles) {
    if (const QString why = whyNotAsOtherUser(); !why.isEmpty()) GTEST_SKIP() << why.toStdString();
    QTemporaryDir place;
    const QString shared = place.path() + "/shared";
    QDir().mkpath(shared);
    ::chmod(QFile::encodeName(place.path()).constData(), 0755);
    ::chmod(QFile::encodeName(shared).constData(), 01777);

    RunningTonara mine;
    const QString victim = mine.appData("victim.txt");
    writeBytes(victim, "precious\r\n");
    ::chmod(QFile::encodeName(mine.appData()).constData(), 0755);
    ::chmod(QFile::encodeName(victim).constData(), 0644);
    // The neighbour plants: FIFOs, links to the victim, a bait file open to all,
    // and takes the name of the victim's own folder in the shared one.
    QString script = "cd '" + shared + "' && mkdir tonara-0 && printf bait > userdata.txt && chmod 666 userdata.txt";
    for (const char* fifo : {"sound.ini", "snd.ini", "quillon.ini"}) script += QString(" && mkfifo -m 666 ") + fifo;
    for (const char* link : {"error.log", "tnfwinmmtmp.wav", "updatetonara.txt", "testcon.dat", "test.txt"})
        script += " && ln -s '" + victim + "' " + link;
    ASSERT_TRUE(runAsOtherUser({"/bin/sh", "-c", script}));
    QStringList before;
    for (const QString& name : kFixedNames + QStringList{"tonara-0"}) before << fingerprint(shared + "/" + name);
    const QString victimBefore = fingerprint(victim);

    RunningTonara theirs;
    for (RunningTonara* tonara : {&mine, &theirs}) tonara->environment().insert("TEMP", shared);
    mine.logFolder = mine.environment().value("XDG_RUNTIME_DIR") + "/tonara"; // tonara-0 was taken
    theirs.logFolder = shared + QString("/tonara-%1").arg(kOtherUid);
    mine.start();
    theirs.start({}, true);
    EXPECT_GE(mine.waitForLog(">> Program starting finished", 20000), 0) << "the victim's start-up was held up";
    EXPECT_GE(theirs.waitForLog(">> Program starting finished", 20000), 0) << "the neighbour's start-up was held up";

    QStringList after;
    for (const QString& name : kFixedNames + QStringList{"tonara-0"}) after << fingerprint(shared + "/" + name);
    EXPECT_EQ(after, before) << "nothing planted was used, written, emptied or removed";
    EXPECT_EQ(fingerprint(victim), victimBefore);
    EXPECT_EQ(fileBytes(shared + "/userdata.txt"), "bait") << "the victim's log went into the bait";

    struct stat folder {};
    ASSERT_EQ(::lstat(QFile::encodeName(mine.logFolder).constData(), &folder), 0);
    EXPECT_TRUE(S_ISDIR(folder.st_mode) && folder.st_uid == 0 && (folder.st_mode & 077) == 0);
    EXPECT_FALSE(runAsOtherUser({"/bin/cat", mine.logFolder + "/userdata.txt"})) << "the neighbour read the log";
    EXPECT_TRUE(runAsOtherUser({"/bin/cat", theirs.logFolder + "/userdata.txt"})) << "their own log is theirs";

    EXPECT_GE(mine.terminate(), 0);
    EXPECT_GE(theirs.terminate(), 0);
    EXPECT_EQ(fingerprint(victim), victimBefore);
}

// A tone file its user may not read is as illegal as a missing one: the
// player says so, and no error report is made.
TEST(SharedTemp, AToneFileThatCannotBeReadIsNotALegalFile) {
    if (const QString why = whyNotAsOtherUser(); !why.isEmpty()) GTEST_SKIP() << why.toStdString();
    QTemporaryDir place;
    ::chmod(QFile::encodeName(place.path()).constData(), 0755);
    const QString file = place.path() + "/locked.tnf";
    writeBytes(file, "%valid%\r\n[info]\r\n{236}\r\nx\r\n{visible}\r\n[sound]\r\n{1}\r\n<440>\r\n\\500\r\n");
    ::chmod(QFile::encodeName(file).constData(), 0600);
    RunningTonara tonara;
    tonara.start({file}, true);
    ASSERT_GE(tonara.waitForLog("> Starting tnf file", 20000), 0);
    QThread::msleep(1000); // the message is up
    EXPECT_TRUE(tonara.running());
    EXPECT_FALSE(QFileInfo::exists(tonara.temp("error.log"))) << fileLines(tonara.temp("error.log")).join(" / ").toStdString();
    EXPECT_GE(tonara.terminate(), 0);
}

} // namespace tonara::test
