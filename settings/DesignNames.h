#pragma once
// Each of Tonara's windows' names as one list, from its table: what the
// fake main window accepts, and what the tests hold against the real windows.

#include "MainWindow.h"

#include <QStringList>

namespace tonara {

const QStringList& designNames(Form form);
bool isDesignName(Form form, const QString& name);

} // namespace tonara
