#pragma once
// Where the program keeps its files. Read afresh at every use.

#include <QString>

namespace tonara {

// TEMP, else TMPDIR, else /tmp.
QString tempFolder();
// APPDATA, else XDG_CONFIG_HOME, else ~/.config.
QString appDataFolder();
// folder + "/" + name; a leading "\" or "/" on name is the separator itself.
QString joinPath(const QString& folder, const QString& name);

} // namespace tonara
