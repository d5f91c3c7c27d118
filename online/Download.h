#pragma once
// Downloads into a file, blocking.

#include <QString>

namespace tonara {

// Fetches Link into SaveLocation. True only when the whole file arrived and
// now stands at SaveLocation; otherwise whatever was there is left alone.
bool Download(const QString& Link, const QString& SaveLocation);

} // namespace tonara
