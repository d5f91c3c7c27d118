// What killed writers left behind goes at the next start; nothing else does.
#include "Leftovers.h"
#include "TempFolders.h"

#include <QDir>
#include <QFile>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

namespace tonara::test {

namespace {

constexpr uid_t kOtherUser = 65534;

// Sets a file's (or a link's own) change time this many seconds back.
void ageBy(const QString& path, int seconds) {
    const timespec back{::time(nullptr) - seconds, 0};
    const timespec times[2] = {back, back};
    ::utimensat(AT_FDCWD, QFile::encodeName(path).constData(), times, AT_SYMLINK_NOFOLLOW);
}

} // namespace

TEST(Leftovers, OnlyOurOwnOldFilesUnderOurNamesAreRemoved) {
    TestEnvironment env;
    const bool root = ::geteuid() == 0;
    struct Case {
        QString path;
        int ageSeconds;
        bool removed;
        enum Kind { File, Link, Foreign } kind = File;
    };
    const Case cases[] = {
        {env.appData(".tonara.ini.Ab12Cd"), 120, true},
        {env.appData(".tonara-write-test-x9Y8z7"), 120, true},
        {env.temp(".sound.ini.Qw3rTy"), 120, true},
        {env.temp(".snd.ini.000000"), 3600, true},
        {env.temp(".testcon.dat.aBcDeF"), 120, true},
        {env.temp(".tonara-write-test-zzzzzz"), 120, true},
        {env.appData(".tonara.ini.Zx81Ab"), 10, false},       // may be a write in progress
        {env.appData(".tonara.ini.bak"), 120, false},         // not a name of ours
        {env.appData(".tonara.ini.Ab12Cd7"), 120, false},
        {env.appData(".tonara.ini.Ab-2Cd"), 120, false},
        {env.appData(".other.ini.Ab12Cd"), 120, false},
        {env.appData("tonara.ini"), 120, false},
        {env.temp(".tonara.ini.Ab12Cd"), 120, false},         // not written in that folder
        {env.appData(".sound.ini.Ab12Cd"), 120, false},
        {env.temp(".quillon.ini.LiNk00"), 120, false, Case::Link},
        {env.temp(".snd.ini.Others"), 120, false, Case::Foreign},
    };
    writeBytes(env.appData("target"), "kept");
    for (const Case& c : cases) {
        if (c.kind == Case::Link) QFile::link(env.appData("target"), c.path);
        else writeBytes(c.path, "left");
        if (c.kind == Case::Foreign && root) {
            ASSERT_EQ(::chown(QFile::encodeName(c.path).constData(), kOtherUser, kOtherUser), 0);
        }
        ageBy(c.path, c.ageSeconds);
    }
    removeLeftovers();
    for (const Case& c : cases) {
        if (c.kind == Case::Foreign && !root) continue; // needs root to give the file away
        EXPECT_EQ(!QFileInfo(c.path).exists() && !QFileInfo(c.path).isSymLink(), c.removed) << c.path.toStdString();
    }
    EXPECT_EQ(fileBytes(env.appData("target")), "kept");
}

} // namespace tonara::test
