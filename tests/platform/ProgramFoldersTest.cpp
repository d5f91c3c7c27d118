// Where a program finds its companions and data files, from the folder it
// runs in: the build tree, an installed tree, a copy in a folder of its own.
#include "ProgramFolders.h"
#include "QtPrinters.h"

#include <QDir>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace tonara::test {

namespace {

// A scratch tree with the given folders.
struct Tree {
    explicit Tree(std::initializer_list<QString> folders) {
        for (const QString& folder : folders) QDir(root.path()).mkpath(folder);
    }
    QString at(const QString& folder) const { return QDir::cleanPath(root.path() + '/' + folder); }
    QTemporaryDir root;
};

const InstallLayout kDebianStyle{"../lib/tonara", "../share/games/tonara", "../../share/games/tonara"};

} // namespace

TEST(ProgramFolders, EachProgramFindsItsCompanionsAndDataWhereverItRuns) {
    struct Case {
        const char* what;
        std::initializer_list<QString> folders;
        const InstallLayout& layout;
        QString runsIn, companions, data;
    } cases[] = {
        {"build tree", {"build/bin"}, installLayout(), "build/bin", "build/bin", "build/bin"},
        {"installed main program", {"usr/bin", "usr/libexec/tonara", "usr/share/tonara"}, installLayout(),
         "usr/bin", "usr/libexec/tonara", "usr/share/tonara"},
        {"installed companion", {"usr/bin", "usr/libexec/tonara", "usr/share/tonara"}, installLayout(),
         "usr/libexec/tonara", "usr/libexec/tonara", "usr/share/tonara"},
        {"main program of an install without data", {"opt/bin", "opt/libexec/tonara"}, installLayout(),
         "opt/bin", "opt/libexec/tonara", "opt/share/tonara"},
        {"another program in a bin folder", {"usr/bin", "usr/share/tonara"}, installLayout(), "usr/bin", "usr/bin",
         "usr/bin"},
        {"a copy in a folder of its own", {"copy"}, installLayout(), "copy", "copy", "copy"},
        {"other install folders, main program", {"usr/games", "usr/lib/tonara", "usr/share/games/tonara"},
         kDebianStyle, "usr/games", "usr/lib/tonara", "usr/share/games/tonara"},
        {"other install folders, companion", {"usr/games", "usr/lib/tonara", "usr/share/games/tonara"},
         kDebianStyle, "usr/lib/tonara", "usr/lib/tonara", "usr/share/games/tonara"},
    };
    for (const Case& c : cases) {
        const Tree tree(c.folders);
        const ProgramFolders found = programFoldersOf(tree.at(c.runsIn) + '/', c.layout);
        EXPECT_EQ(found.companions, tree.at(c.companions)) << c.what;
        EXPECT_EQ(found.data, tree.at(c.data)) << c.what;
    }
}

TEST(ProgramFolders, TheInstalledDataFolderIsTheSameFromTheMainProgramAndFromTheCompanions) {
    const InstallLayout& layout = installLayout();
    const QString bin = "/prefix/bin/";
    EXPECT_EQ(QDir::cleanPath(bin + layout.companionsFromMain + '/' + layout.dataFromCompanions),
              QDir::cleanPath(bin + layout.dataFromMain));
    EXPECT_NE(QDir::cleanPath(bin + layout.companionsFromMain), QDir::cleanPath(bin)) << "companions apart from bin/";
}

} // namespace tonara::test
