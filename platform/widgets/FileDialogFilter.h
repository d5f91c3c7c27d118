#pragma once
// File dialog filters in the "Description|pattern|Description|pattern" form
// of the Windows dialogs, as Qt's name filters.

#include <QString>
#include <QStringList>

namespace tonara {

// "Text Files (*.txt)|*.txt|All Files (*.*)|*.*" gives "Text Files (*.txt)" and
// "All Files (*)": patterns separated by ";" become blank-separated, and "*.*",
// which on Windows also matches names without a dot, becomes "*". A
// description without a pattern is dropped.
QStringList qtNameFilters(const QString& windowsFilter);

} // namespace tonara
