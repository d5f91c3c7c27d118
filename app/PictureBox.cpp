#include "PictureBox.h"
#include "ReadableColour.h"

#include <QEvent>
#include <QPainter>
#include <QResizeEvent>
#include <algorithm>

namespace tonara {

const QColor PictureBox::kBackground(Qt::white);
const QColor PictureBox::kForeground(0, 0, 160);

PictureBox::PictureBox(MainControl name, int widthPx, int heightPx, QWidget* parent)
    : QWidget(parent), image_(widthPx, heightPx, QImage::Format_RGB32) {
    setObjectName(name);
    setMinimumSize(widthPx, heightPx);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    // The image covers the box: nothing beneath it needs painting first.
    setAttribute(Qt::WA_OpaquePaintEvent);
    takeColours();
    image_.fill(background_);
}

void PictureBox::clear() {
    image_.fill(background_);
    repaintOnce();
}

void PictureBox::plot(int xTwips, int yTwips) {
    // A point covers the pixel that holds it, as on a twip-scaled box.
    const int x = xTwips / kTwipsPerPixel;
    const int y = yTwips / kTwipsPerPixel;
    if (x < 0 || y < 0 || x >= image_.width() || y >= image_.height()) return;
    reinterpret_cast<QRgb*>(image_.scanLine(y))[x] = trace_.rgb();
    repaintOnce();
}

// The same pixels as a plot of each point, at a fraction of the cost: the
// image is detached and the colour taken once a frame, not once a point.
void PictureBox::plotFrame(const std::vector<qint32>& heights) {
    const int width = image_.width(), height = image_.height();
    const QRgb trace = trace_.rgb();
    uchar* bits = image_.bits();
    const qsizetype stride = image_.bytesPerLine();
    const int columns = int(std::min<std::size_t>(heights.size(), std::size_t(width) * kTwipsPerPixel));
    bool plotted = false;
    for (int xTwips = 0; xTwips < columns; ++xTwips) {
        const int y = heights[std::size_t(xTwips)] / kTwipsPerPixel;
        if (y < 0 || y >= height) continue;
        reinterpret_cast<QRgb*>(bits + stride * y)[xTwips / kTwipsPerPixel] = trace;
        plotted = true;
    }
    if (plotted) repaintOnce();
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

// The scale grows with the box, so the next frame fills it; until then
// the last one is stretched over it rather than left in a corner.
void PictureBox::resizeEvent(QResizeEvent* event) {
    if (event->size() == image_.size()) return;
    image_ = image_.scaled(event->size()).convertToFormat(QImage::Format_RGB32);
}

void PictureBox::changeEvent(QEvent* event) {
    if (event->type() == QEvent::PaletteChange) {
        const QColor oldTrace = trace_;
        takeColours();
        // What is drawn keeps its shape in the new colours.
        for (int y = 0; y < image_.height(); ++y) {
            auto* row = reinterpret_cast<QRgb*>(image_.scanLine(y));
            for (int x = 0; x < image_.width(); ++x) row[x] = row[x] == oldTrace.rgb() ? trace_.rgb() : background_.rgb();
        }
        repaintOnce();
    }
    QWidget::changeEvent(event);
}

void PictureBox::takeColours() {
    const BoxColours colours = boxColours(palette().color(QPalette::Base), kBackground, kForeground);
    background_ = colours.background;
    trace_ = colours.trace;
}

} // namespace tonara
