#include "ProgramFolders.h"

#include <QDir>
#include <QFileInfo>

namespace tonara {

const InstallLayout& installLayout() {
    static const InstallLayout layout{TONARA_COMPANIONS_FROM_MAIN, TONARA_DATA_FROM_MAIN, TONARA_DATA_FROM_COMPANIONS};
    return layout;
}

namespace {

// The folder at relative from folder, when there is one.
QString folderAt(const QString& folder, const QString& relative) {
    const QString path = QDir::cleanPath(folder + '/' + relative);
    return QFileInfo(path).isDir() ? path : QString();
}

} // namespace

ProgramFolders programFoldersOf(const QString& executableFolder, const InstallLayout& layout) {
    const QString here = QDir::cleanPath(executableFolder);
    if (const QString companions = folderAt(here, layout.companionsFromMain); !companions.isEmpty())
        return {companions, QDir::cleanPath(here + '/' + layout.dataFromMain)};
    if (const QString data = folderAt(here, layout.dataFromCompanions); !data.isEmpty()) return {here, data};
    return {here, here};
}

} // namespace tonara
