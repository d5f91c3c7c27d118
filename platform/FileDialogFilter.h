#pragma once
// File dialog filters written as "Description|pattern|Description|pattern",
// turned into the name filters a Qt dialog takes.

#include <QStringList>

namespace tonara {

// "Tonara file (*.tnf)|*.tnf|All files (*.*)|*.*" gives "Tonara file (*.tnf)"
// and "All files (*)": a description keeps its patterns, or gets them added,
// and "*.*" means every file, as it does on the system the filters come from.
QStringList qtNameFilters(const QString& filter);

} // namespace tonara
