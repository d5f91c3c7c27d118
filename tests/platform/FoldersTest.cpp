// Where the temporary and settings files go when the environment does not say.
#include "Folders.h"
#include "RuntimeError.h"
#include "TempFolders.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace tonara;
using namespace tonara::test;

namespace {

constexpr uint kOtherUser = 65534;

mode_t modeOf(const QString& path) {
    struct stat info {};
    if (::lstat(QFile::encodeName(path).constData(), &info) != 0) return 0;
    return info.st_mode & 07777;
}

// A home with nothing in it and none of the variables that choose folders.
struct FreshAccount {
    FreshAccount() {
        for (const char* name : {"TEMP", "TMPDIR", "XDG_RUNTIME_DIR", "XDG_CACHE_HOME", "XDG_CONFIG_HOME", "APPDATA"})
            env.unset(name);
        env.set("HOME", home());
    }
    QString home(const QString& name = {}) const { return name.isEmpty() ? root.path() : root.path() + "/" + name; }

    QTemporaryDir root;
    ScopedEnvironment env;
};

} // namespace

TEST(TempFolder, TheEnvironmentFirstThenAFolderOfTheUsersOwn) {
    FreshAccount account;
    QDir(account.home()).mkpath("run");
    ::chmod(QFile::encodeName(account.home("run")).constData(), 0700);

    account.env.set("TEMP", "/var/tmp/t");
    account.env.set("TMPDIR", "/var/tmp/d");
    EXPECT_EQ(tempFolder(), "/var/tmp/t");
    account.env.unset("TEMP");
    EXPECT_EQ(tempFolder(), "/var/tmp/d");
    account.env.unset("TMPDIR");

    account.env.set("XDG_RUNTIME_DIR", account.home("run"));
    EXPECT_EQ(tempFolder(), account.home("run/tonara"));
    EXPECT_EQ(modeOf(account.home("run/tonara")), 0700u);
    account.env.unset("XDG_RUNTIME_DIR");

    // Without a runtime folder: the cache, every missing folder on the way made private.
    EXPECT_EQ(tempFolder(), account.home(".cache/tonara/tmp"));
    for (const char* made : {".cache", ".cache/tonara", ".cache/tonara/tmp"})
        EXPECT_EQ(modeOf(account.home(made)), 0700u) << made;
    account.env.set("XDG_CACHE_HOME", account.home("cache"));
    EXPECT_EQ(tempFolder(), account.home("cache/tonara/tmp"));
}

TEST(TempFolder, AFolderThatIsNotTheUsersOwnIsNeverUsed) {
    FreshAccount account;
    account.env.set("XDG_RUNTIME_DIR", account.home("run"));
    QDir(account.home()).mkpath("run");
    QDir(account.home()).mkpath("elsewhere");

    // Opened up to others: closed again, as it is the user's own.
    QDir(account.home()).mkpath("run/tonara");
    ::chmod(QFile::encodeName(account.home("run/tonara")).constData(), 0777);
    EXPECT_EQ(tempFolder(), account.home("run/tonara"));
    EXPECT_EQ(modeOf(account.home("run/tonara")), 0700u);

    // A link planted where the folder belongs: the next choice is taken.
    QDir(account.home("run")).rmdir("tonara");
    ASSERT_TRUE(QFile::link(account.home("elsewhere"), account.home("run/tonara")));
    EXPECT_EQ(tempFolder(), account.home(".cache/tonara/tmp"));

    // Nowhere private left: refused, not shared.
    QDir(account.home()).mkpath(".cache/tonara");
    QDir(account.home(".cache/tonara")).rmdir("tmp");
    ASSERT_TRUE(QFile::link(account.home("elsewhere"), account.home(".cache/tonara/tmp")));
    try {
        tempFolder();
        ADD_FAILURE() << "a linked folder was accepted";
    } catch (const RuntimeError& failure) {
        EXPECT_EQ(failure.number(), err::PermissionDenied);
    }
    exportTempFolder();
    EXPECT_FALSE(qEnvironmentVariableIsSet("TEMP")) << "nothing to export";
}

TEST(TempFolder, AnotherUsersFolderIsNeverUsed) {
    if (::geteuid() != 0) GTEST_SKIP() << "giving a folder to another user needs root";
    FreshAccount account;
    account.env.set("XDG_RUNTIME_DIR", account.home("run"));
    QDir(account.home()).mkpath("run/tonara");
    ASSERT_EQ(::chown(QFile::encodeName(account.home("run/tonara")).constData(), kOtherUser, kOtherUser), 0);
    EXPECT_EQ(tempFolder(), account.home(".cache/tonara/tmp"));
}

TEST(TempFolder, ExportedForEveryProgramStartedLater) {
    FreshAccount account;
    exportTempFolder();
    EXPECT_EQ(qEnvironmentVariable("TEMP"), account.home(".cache/tonara/tmp"));
    account.env.set("TEMP", "/var/tmp/mine");
    exportTempFolder();
    EXPECT_EQ(qEnvironmentVariable("TEMP"), "/var/tmp/mine") << "a folder the user chose stays";

    EXPECT_TRUE(isInTempFolder("/var/tmp/mine/sound.ini"));
    EXPECT_TRUE(isInTempFolder("/var/tmp/mine//./sound.ini"));
    EXPECT_FALSE(isInTempFolder("/var/tmp/mine/sub/sound.ini"));
    EXPECT_FALSE(isInTempFolder("/var/tmp/sound.ini"));
}

TEST(AppDataFolder, AFreshAccountGetsItsConfigurationFolder) {
    FreshAccount account;
    EXPECT_EQ(appDataFolder(), account.home(".config"));
    EXPECT_EQ(modeOf(account.home(".config")), 0700u);
    account.env.set("XDG_CONFIG_HOME", account.home("conf/tonara"));
    EXPECT_EQ(appDataFolder(), account.home("conf/tonara"));
    EXPECT_TRUE(QFileInfo(account.home("conf/tonara")).isDir());
    // APPDATA names the folder as it is, as on Windows.
    account.env.set("APPDATA", account.home("appdata"));
    EXPECT_EQ(appDataFolder(), account.home("appdata"));
    EXPECT_FALSE(QFileInfo::exists(account.home("appdata")));
}

TEST(Folders, JoinTakesALeadingSeparatorAsItself) {
    EXPECT_EQ(joinPath("/a/", "\\userdata.txt"), "/a/userdata.txt");
    EXPECT_EQ(joinPath("/a", "b"), "/a/b");
}
