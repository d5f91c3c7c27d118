#pragma once
// How our windows meet assistive technology: a window of our own is
// announced as a window (AT-SPI "frame"), not as a "filler", and what only
// decorates (lines, boxes drawn around a picture) is left out of the tree;
// a window that closes hands the focus back to where it was, and one that
// opens partly off the screen is moved onto it, and one made narrow grows
// to the height its wrapped texts need.

class QWidget;

namespace tonara {

// Once, after the QApplication exists; later calls change nothing.
void installWindowAccessibility();

// The widget stays on screen but no screen reader meets it.
void markDecoration(QWidget* widget);
bool isDecoration(const QWidget* widget);

} // namespace tonara
