#include "PictureBox.h"

#include <QPainter>

namespace tonara {

const QColor PictureBox::kBackground(Qt::white);
const QColor PictureBox::kForeground(0, 0, 160);
const QRgb PictureBox::kForegroundRgb = PictureBox::kForeground.rgb();

PictureBox::PictureBox(const QString& name, int widthPx, int heightPx, QWidget* parent)
    : QWidget(parent), image_(widthPx, heightPx, QImage::Format_RGB32) {
    setObjectName(name);
    setFixedSize(widthPx, heightPx);
    // The image covers the box: nothing beneath it needs painting first.
    setAttribute(Qt::WA_OpaquePaintEvent);
    image_.fill(kBackground);
}

void PictureBox::clear() {
    image_.fill(kBackground);
    repaintOnce();
}

void PictureBox::plot(int xTwips, int yTwips) {
    // A point covers the pixel that holds it, as on a twip-scaled box.
    const int x = xTwips / kTwipsPerPixel;
    const int y = yTwips / kTwipsPerPixel;
    if (x < 0 || y < 0 || x >= image_.width() || y >= image_.height()) return;
    reinterpret_cast<QRgb*>(image_.scanLine(y))[x] = kForegroundRgb;
    repaintOnce();
}

// A frame of the preview plots thousands of points: the box is marked for
// painting once, not once a point.
void PictureBox::repaintOnce() {
    if (repaintAsked_) return;
    repaintAsked_ = true;
    update();
}

void PictureBox::paintEvent(QPaintEvent*) {
    repaintAsked_ = false;
    QPainter painter(this);
    painter.drawImage(0, 0, image_);
}

} // namespace tonara
