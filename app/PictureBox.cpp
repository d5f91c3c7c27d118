#include "PictureBox.h"

#include <QPainter>

namespace tonara {

const QColor PictureBox::kBackground(Qt::white);
const QColor PictureBox::kForeground(0, 0, 160);

PictureBox::PictureBox(const QString& name, int widthPx, int heightPx, QWidget* parent)
    : QWidget(parent), image_(widthPx, heightPx, QImage::Format_RGB32) {
    setObjectName(name);
    setFixedSize(widthPx, heightPx);
    image_.fill(kBackground);
}

void PictureBox::clear() {
    image_.fill(kBackground);
    update();
}

void PictureBox::plot(int xTwips, int yTwips) {
    // A point covers the pixel that holds it, as on a twip-scaled box.
    const int x = xTwips / kTwipsPerPixel;
    const int y = yTwips / kTwipsPerPixel;
    if (x < 0 || y < 0 || x >= image_.width() || y >= image_.height()) return;
    image_.setPixelColor(x, y, kForeground);
    update();
}

void PictureBox::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.drawImage(0, 0, image_);
}

} // namespace tonara
