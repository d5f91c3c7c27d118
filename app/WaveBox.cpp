#include "WaveBox.h"
#include "PictureBox.h"
#include "ReadableColour.h"

#include <QPainter>
#include <QPolygonF>
#include <algorithm>
#include <cmath>

namespace tonara {

WaveBox::WaveBox(MainControl name, int widthPx, int heightPx, QWidget* parent) : QWidget(parent) {
    setObjectName(name);
    setMinimumSize(widthPx, heightPx);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
}

int WaveBox::widthPx() const { return int(std::lround(width() * devicePixelRatioF())); }

void WaveBox::setPicture(WavePicture picture) {
    picture_ = std::move(picture);
    // Painted now: halves taken late are raised together, and update() would
    // merge their pictures into one paint of the last.
    if (isVisible()) repaint();
    else update();
}

void WaveBox::clear() { setPicture({}); }

void WaveBox::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const BoxColours colours = boxColours(palette().color(QPalette::Base), PictureBox::kBackground, PictureBox::kForeground);
    painter.fillRect(rect(), colours.background);
    const double spanY = picture_.top - picture_.bottom;
    if (picture_.right <= 0 || spanY == 0) return;
    // Logical coordinates in floating point; the painter places them on device pixels.
    const double sx = width() / picture_.right;
    const double sy = height() / spanY;
    const auto toBox = [&](QPointF p) { return QPointF(p.x() * sx, (picture_.top - p.y()) * sy); };
    // A cosmetic pen without antialiasing takes the painter's fast line path
    // (antialiased traces cost several times the CPU); one logical pixel
    // wide, so the trace looks the same at every screen scale.
    QPen pen(colours.trace, std::max(1.0, std::round(devicePixelRatioF())));
    pen.setCosmetic(true);
    painter.setPen(pen);
    for (const WaveTrace& trace : picture_.traces) {
        QPolygonF line;
        line.reserve(qsizetype(trace.points.size()) + 1);
        line << toBox(trace.start);
        for (const QPointF& p : trace.points) line << toBox(p);
        painter.drawPolyline(line);
    }
}

} // namespace tonara
