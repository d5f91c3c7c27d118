#pragma once
// Access keys for menu captions. The captions themselves stay as the design
// and the language files have them; the "&" marker is added only when a
// caption is put on a menu, and taken off again when it is read.

#include <QString>

namespace tonara {

// The caption with an access key marked ("&File"): the first letter of a word
// that no sibling uses yet, else any such letter, else none. A literal "&"
// is doubled so that it shows as itself.
QString withAccessKey(const QString& caption, const QString& takenKeys);
// The caption as it was given: the marker removed, a doubled "&" made single.
QString withoutAccessKey(const QString& text);
// The marked letter in lower case, or a null character.
QChar accessKeyOf(const QString& text);

} // namespace tonara
