#include "SineIcon.h"
#include "ReadableColour.h"

#include <QGuiApplication>
#include <QPalette>
#include <QPainter>
#include <QPainterPath>
#include <cmath>

namespace tonara {

QPixmap sineIcon(int width, int height) {
    QPixmap pixmap(width, height);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    // The design's navy, or a shade of it that shows on a dark window.
    const QColor window = QGuiApplication::palette().color(QPalette::Window);
    painter.setPen(QPen(readableOn(window, QColor(0, 0, 160)), 3));
    QPainterPath path;
    for (int x = 0; x <= width; ++x) {
        const double y = height / 2.0 - std::sin(2 * M_PI * x / width) * (height / 2.0 - 4);
        if (x == 0) path.moveTo(x, y);
        else path.lineTo(x, y);
    }
    painter.drawPath(path);
    return pixmap;
}

} // namespace tonara
