#pragma once
// Our own texts in a window follow the program's language, and so do Qt's
// standard dialogs and buttons.

#include <QString>

class QWidget;

namespace tonara {

// Every caption, title, list item and accessible name of the window (and
// its children) that is one of our own texts is given in the language.
void followLanguage(QWidget* window, const QString& language);

// Qt's own translations ("qtbase") for the language, replacing the last.
void loadQtTranslations(const QString& language);

} // namespace tonara
