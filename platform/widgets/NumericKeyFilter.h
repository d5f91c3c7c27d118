#pragma once
// The key filter of the boxes that take numbers (the Morse speed and pitch,
// Quillon's age): Backspace always passes; any other typed character passes
// only when the box's text with it appended still reads as a number.

#include <QString>

class QLineEdit;

namespace tonara {

// True when the typed text may go into a box that holds boxText.
bool numericKeyPasses(const QString& boxText, const QString& typed);

// Filters the keys typed into box; the box's context menu and drops are
// turned off so that typing is the only way text gets in.
void installNumericKeyFilter(QLineEdit* box);

} // namespace tonara
