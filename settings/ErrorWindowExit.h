#pragma once
// What the error window's Exit does: close every window of the program.
// Closing the main window runs its shut-down, which ends the program.

#include "MainWindow.h"

namespace tonara {

// Closes, in this order, the main window, pitch help, news, Morse,
// agreement, error, update, splash and tone-file player windows.
void closeEveryWindow(MainWindow& mainWindow);

} // namespace tonara
