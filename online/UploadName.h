#pragma once
// The number that names an upload on the maker's server.

#include <QDateTime>

namespace tonara {

// Int(r × second × hour × day of month) + 1, for 0 <= r < 1: from 1 to
// 42 067 (59 × 23 × 31), and 1 whenever the second or the hour is 0.
qint32 uploadNumber(double r, const QDateTime& at);

// The same with a fresh pseudo-random r at the platform's current time.
qint32 uploadNumber();

} // namespace tonara
