#pragma once
// Where the programs find each other and their data, relative to the
// running executable. The build tree keeps everything beside the
// executables; an installed tree keeps the main program in bin/, the
// companion programs in libexec/tonara/ and the data files in share/tonara/.

#include <QString>

namespace tonara {

// An installed tree's folders, each relative to another.
struct InstallLayout {
    QString companionsFromMain; // "../libexec/tonara"
    QString dataFromMain;       // "../share/tonara"
    QString dataFromCompanions; // "../../share/tonara"
};
// The layout this build's install rules lay out.
const InstallLayout& installLayout();

struct ProgramFolders {
    QString companions; // Quillon, relay16, the tone programs, the uploader
    QString data;       // the language files, the "nl.ini" marker, preset tone files
};

// The folders of a program running from executableFolder. The main program
// of an installed tree sees the companions' folder from its own, a companion
// sees the data folder from its own; anything else has everything beside it.
ProgramFolders programFoldersOf(const QString& executableFolder, const InstallLayout& layout = installLayout());

} // namespace tonara
