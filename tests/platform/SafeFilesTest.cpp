// Files in the temporary folder and files replaced in one step.
#include "RuntimeError.h"
#include "SafeFiles.h"
#include "TempFolders.h"
#include "TextFile.h"
#include "WavFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <functional>
#include <gtest/gtest.h>
#include <optional>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace tonara::test {

namespace {

int errorOf(const std::function<void()>& body) {
    try {
        body();
    } catch (const RuntimeError& failure) {
        return failure.number();
    }
    return 0;
}

// What lies in the folder besides the named files.
QStringList strays(const QString& folder, const QStringList& expected) {
    QStringList found = QDir(folder).entryList(QDir::Files | QDir::Hidden | QDir::System);
    for (const QString& name : expected) found.removeAll(name);
    return found;
}

} // namespace

TEST(TemporaryFiles, APlantedLinkIsNeverFollowed) {
    TestEnvironment env;
    const QString victim = env.appData("victim.txt");
    writeBytes(victim, "precious\r\n");
    struct Case {
        const char* what;
        std::function<void(const QString&)> use;
        int error;
    };
    const Case cases[] = {
        {"writeLines", [](const QString& p) { writeLines(p, {"x"}); }, err::PathFileAccess},
        {"writeFileBytes", [](const QString& p) { writeFileBytes(p, "x"); }, err::PathFileAccess},
        {"EntryReader", [](const QString& p) { EntryReader reader(p); }, err::PathFileAccess},
        {"readFileBytes", [](const QString& p) { readFileBytes(p); }, err::PathFileAccess},
        // The link itself is replaced by the new file; what it pointed at is untouched.
        {"replaceLines", [](const QString& p) { replaceLines(p, {"x"}); }, 0},
    };
    for (const Case& c : cases) {
        const QString link = env.temp("userdata.txt");
        QFile::remove(link);
        ASSERT_TRUE(QFile::link(victim, link));
        EXPECT_EQ(errorOf([&] { c.use(link); }), c.error) << c.what;
        EXPECT_EQ(fileBytes(victim), "precious\r\n") << c.what;
    }
    EXPECT_FALSE(QFileInfo(env.temp("userdata.txt")).isSymLink());
    EXPECT_EQ(fileBytes(env.temp("userdata.txt")), "x\r\n");

    QFile::remove(env.temp("tnfwinmmtmp.wav"));
    ASSERT_TRUE(QFile::link(victim, env.temp("tnfwinmmtmp.wav")));
    EXPECT_EQ(loadWav(env.temp("tnfwinmmtmp.wav")).failure, WavLoadFailure::Unreadable);
}

TEST(TemporaryFiles, ALinkOutsideTheTemporaryFolderIsTheUsersOwnAndFollowed) {
    TestEnvironment env;
    writeBytes(env.appData("real.txt"), "old\r\n");
    ASSERT_TRUE(QFile::link(env.appData("real.txt"), env.appData("linked.txt")));
    writeLines(env.appData("linked.txt"), {"new"});
    EXPECT_EQ(fileBytes(env.appData("real.txt")), "new\r\n");
    EXPECT_EQ(readEntries(env.appData("linked.txt")), QStringList{"new"});
}

TEST(ReplacedFiles, SameBytesAsAWriteAndNothingLeftBeside) {
    TestEnvironment env;
    const QStringList lines{"AutoUpdate=y", "", "Language=NL", "Caf\u00e9"};
    writeLines(env.appData("written.ini"), lines);
    writeBytes(env.appData("tonara.ini"), "a much longer old content that must not survive in part\r\n");
    replaceLines(env.appData("tonara.ini"), lines);
    EXPECT_EQ(fileBytes(env.appData("tonara.ini")), fileBytes(env.appData("written.ini")));
    EXPECT_EQ(fileBytes(env.appData("tonara.ini")), QByteArray("AutoUpdate=y\r\n\r\nLanguage=NL\r\nCaf\xe9\r\n"));
    EXPECT_EQ(strays(env.appData(), {"tonara.ini", "written.ini"}), QStringList());

    // A failed replacement leaves the old file and no half-made new one.
    QDir(env.appData()).mkdir("folder.ini");
    EXPECT_EQ(errorOf([&] { replaceLines(env.appData("folder.ini"), lines); }), err::PathFileAccess);
    EXPECT_EQ(strays(env.appData(), {"tonara.ini", "written.ini"}), QStringList());
    EXPECT_EQ(errorOf([&] { replaceLines(env.appData("missing/tonara.ini"), lines); }), err::PathNotFound);
}

// Written in place over whatever stood there: nothing of a longer old
// content may be left behind the new bytes.
TEST(WrittenFiles, HoldExactlyTheNewBytesWhateverStoodThere) {
    TestEnvironment env;
    const QByteArray fresh = "9 Dec 2026\r\n16:38:09\r\n";
    const struct {
        const char* what;
        std::optional<QByteArray> old;
    } cases[] = {
        {"no file", std::nullopt},
        {"an empty file", QByteArray()},
        {"a shorter file", QByteArray("9 Dec\r\n")},
        {"the same bytes", fresh},
        {"a longer file", QByteArray(5000, 'x')},
        {"a longer file that begins alike", fresh + "> Program started\r\n"},
    };
    for (const auto& c : cases) {
        const QString path = env.temp("userdata.txt");
        QFile::remove(path);
        if (c.old) writeBytes(path, *c.old);
        writeFileBytes(path, fresh);
        EXPECT_EQ(fileBytes(path), fresh) << c.what;
        EXPECT_EQ(QFileInfo(path).size(), fresh.size()) << c.what;
    }
    writeFileBytes(env.temp("userdata.txt"), "");
    EXPECT_EQ(QFileInfo(env.temp("userdata.txt")).size(), 0);
}

// What a neighbour could plant under a name the programs use: never waited
// on, written into, emptied or read out.
TEST(TemporaryFiles, AFifoAHardLinkOrAnotherUsersFileIsRefusedAtOnce) {
    const bool root = ::geteuid() == 0;
    struct Plant {
        const char* what;
        std::function<bool(const QString& at, const QString& victim)> make;
        bool needsRoot;
    };
    const Plant plants[] = {
        {"a FIFO", [](const QString& at, const QString&) { return ::mkfifo(QFile::encodeName(at).constData(), 0666) == 0; },
         false},
        {"a hard link",
         [](const QString& at, const QString& victim) {
             return ::link(QFile::encodeName(victim).constData(), QFile::encodeName(at).constData()) == 0;
         },
         false},
        {"another user's file",
         [](const QString& at, const QString&) {
             writeBytes(at, "theirs\r\n");
             return ::chmod(QFile::encodeName(at).constData(), 0666) == 0 &&
                    ::chown(QFile::encodeName(at).constData(), 65534, 65534) == 0;
         },
         true},
    };
    const std::pair<const char*, std::function<void(const QString&)>> uses[] = {
        {"readFileBytes", [](const QString& p) { readFileBytes(p); }},
        {"EntryReader", [](const QString& p) { EntryReader reader(p); }},
        {"writeLines", [](const QString& p) { writeLines(p, {"x"}); }},
        {"writeFileBytes", [](const QString& p) { writeFileBytes(p, "x"); }},
    };
    for (const Plant& plant : plants) {
        if (plant.needsRoot && !root) continue; // giving a file away needs root
        for (const auto& [name, use] : uses) {
            TestEnvironment env;
            const QString victim = env.temp("victim.txt");
            writeBytes(victim, "precious\r\n");
            const QString at = env.temp("userdata.txt");
            ASSERT_TRUE(plant.make(at, victim)) << plant.what;
            const QByteArray before = QFileInfo(at).isFile() ? fileBytes(at) : QByteArray();
            const int error = errorOf([&] { use(at); });
            // The FIFO cannot be an existing file to the reader: it is not found or refused.
            EXPECT_TRUE(error == err::PathFileAccess || (error == err::FileNotFound && QString(name) == "EntryReader"))
                << plant.what << ", " << name << ": " << error;
            if (QFileInfo(at).isFile()) {
                EXPECT_EQ(fileBytes(at), before) << plant.what << ", " << name;
            }
            EXPECT_EQ(fileBytes(victim), "precious\r\n") << plant.what << ", " << name;
        }
    }
    if (!root) GTEST_SKIP() << "another user's file was not tried: giving a file away needs root";
}

TEST(AnyFile, AFifoOutsideTheTemporaryFolderIsRefusedNotWaitedOn) {
    TestEnvironment env;
    const QString fifo = env.appData("tone.tnf");
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    EXPECT_EQ(errorOf([&] { readFileBytes(fifo); }), err::PathFileAccess);
    EXPECT_EQ(errorOf([&] { writeFileBytes(fifo, "x"); }), err::PathFileAccess);
    EXPECT_EQ(loadWav(fifo).failure, WavLoadFailure::Missing);
}

} // namespace tonara::test
