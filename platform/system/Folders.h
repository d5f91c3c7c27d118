#pragma once
// Where the program keeps its files. Read afresh at every use.

#include <QString>

namespace tonara {

// TEMP, else TMPDIR, else a folder private to the user: $XDG_RUNTIME_DIR/tonara,
// else $XDG_CACHE_HOME/tonara/tmp (~/.cache/tonara/tmp), created with mode 0700
// when missing. A TEMP (or TMPDIR) that others can write, as /tmp, is not used
// as it is but through tonara-<uid> inside it, made the same way, or when
// that name is taken, through the private folders. Raises Permission denied
// (70) when no private folder can be had: one that exists but is a link or
// belongs to another user is not used.
QString tempFolder();
// Puts the temporary folder in use into this process's environment as TEMP,
// so that the programs started from here (Quillon, the tone programs, the
// uploader) use the same one. Call it first in main(), before any thread
// starts: changing the environment is not thread-safe.
void exportTempFolder();
// True when path names a file directly inside the temporary folder.
bool isInTempFolder(const QString& path);

// APPDATA, else XDG_CONFIG_HOME, else ~/.config; the last two are created
// (mode 0700) when missing, as on a fresh account.
QString appDataFolder();
// The user's documents folder (XDG_DOCUMENTS_DIR of user-dirs.dirs, else
// ~/Documents) when it exists, else the home folder: where a save dialog
// opens, since the program's own folder is not the user's to write.
QString documentsFolder();
// folder + "/" + name; a leading "\" or "/" on name is the separator itself.
QString joinPath(const QString& folder, const QString& name);

} // namespace tonara
