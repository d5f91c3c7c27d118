// Where the temporary and settings files go when the environment does not say.
#include "Folders.h"
#include "RuntimeError.h"
#include "TempFolders.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <functional>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

namespace tonara::test {

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

// A TEMP that others can write is used through a folder of ours inside it;
// one that is ours alone, or missing (the write test then says so), as it is.
TEST(TempFolder, ASharedFolderIsUsedThroughAPrivateOneInside) {
    FreshAccount account;
    QDir(account.home()).mkpath("run");
    ::chmod(QFile::encodeName(account.home("run")).constData(), 0700);
    account.env.set("XDG_RUNTIME_DIR", account.home("run"));
    const QString own = QString("tonara-%1").arg(::geteuid());
    struct Case {
        const char* folder;
        mode_t mode;
        std::function<void(const QString&)> plant; // what stands at tonara-<uid> beforehand
        const char* expected;                       // relative to the home; "=" the folder itself
    };
    const auto nothing = [](const QString&) {};
    const Case cases[] = {
        {"sticky", 01777, nothing, "sticky/tonara-%1"},
        {"group", 0770, nothing, "group/tonara-%1"},
        {"mine", 0700, nothing, "="},
        {"readable", 0755, nothing, "="},
        {"linked", 01777, [&](const QString& at) { QFile::link(account.home("run"), at); }, "run/tonara"},
        {"filed", 01777, [](const QString& at) { writeBytes(at, ""); }, "run/tonara"},
        {"opened", 01777, [](const QString& at) { QDir().mkpath(at); ::chmod(QFile::encodeName(at).constData(), 0777); },
         "opened/tonara-%1"},
    };
    for (const Case& c : cases) {
        const QString folder = account.home(c.folder);
        QDir().mkpath(folder);
        ::chmod(QFile::encodeName(folder).constData(), c.mode);
        c.plant(folder + "/" + own);
        account.env.set("TEMP", folder);
        const QString expected = QString(c.expected) == "=" ? folder : account.home(QString(c.expected).arg(::geteuid()));
        EXPECT_EQ(tempFolder(), expected) << c.folder;
        if (expected != folder) {
            EXPECT_EQ(modeOf(expected), 0700u) << c.folder;
        }
        exportTempFolder();
        EXPECT_EQ(qEnvironmentVariable("TEMP"), expected) << "the programs started later use it too";
    }
    account.env.set("TEMP", account.home("missing"));
    EXPECT_EQ(tempFolder(), account.home("missing"));
    account.env.unset("TEMP");
    account.env.set("TMPDIR", account.home("sticky"));
    EXPECT_EQ(tempFolder(), account.home("sticky/" + own));
}

TEST(TempFolder, AnotherUsersSharedFolderOrNameInItIsNotUsedAsItIs) {
    if (::geteuid() != 0) GTEST_SKIP() << "giving a folder to another user needs root";
    FreshAccount account;
    account.env.set("XDG_RUNTIME_DIR", account.home("run"));
    QDir(account.home()).mkpath("shared/tonara-0");
    QDir(account.home()).mkpath("theirs");
    ::chmod(QFile::encodeName(account.home("shared")).constData(), 01777);
    for (const char* given : {"shared/tonara-0", "theirs"})
        ASSERT_EQ(::chown(QFile::encodeName(account.home(given)).constData(), kOtherUser, kOtherUser), 0);
    account.env.set("TEMP", account.home("shared"));
    EXPECT_EQ(tempFolder(), account.home("run/tonara")) << "the name was taken first";
    account.env.set("TEMP", account.home("theirs"));
    EXPECT_EQ(tempFolder(), account.home("theirs/tonara-0"));
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

} // namespace tonara::test
