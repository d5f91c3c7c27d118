#pragma once
// Texts of our own, beyond the windows' design and the language files:
// captions and names of controls added since, status texts, messages.
// English is the key; Dutch is looked up when the language is "nl".

#include <QString>

namespace tonara {

// The text in the language ("en", "nl"); a text the table lacks stays as it is.
QString ownText(const QString& english, const QString& language);

// Whether the table holds the English text.
bool isOwnText(const QString& english);

} // namespace tonara
