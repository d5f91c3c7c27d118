#pragma once
// The save-file dialog of the desktop.

#include <QString>

namespace tonara {

// filter: descriptions and patterns joined by "|"; fileName: the name offered,
// or an absolute folder to open in. Asks before a file is replaced, adds no
// suffix. Empty when cancelled.
QString askSaveFileName(const QString& filter, const QString& fileName);

} // namespace tonara
