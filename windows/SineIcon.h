#pragma once
// The program's picture: one period of a sine.

#include <QPixmap>

namespace tonara {

QPixmap sineIcon(int width, int height);

} // namespace tonara
