#pragma once
// The controls and menu items each window's design has, by name: all the
// names the logic may hand to MainWindow. A name missing here is a misspelling.

#include "MainWindow.h"

#include <QStringList>

namespace tonara {

// Empty for the windows the logic does not address by control.
const QStringList& designNames(Form form);
bool isDesignName(Form form, const QString& name);

} // namespace tonara
