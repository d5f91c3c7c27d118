#pragma once
// A picture box that keeps its image: drawing goes into a QImage that the
// widget paints, so what was drawn stays until cleared (and tests can read it).

#include "PreviewCanvas.h"

#include <QColor>
#include <QImage>
#include <QWidget>

namespace tonara {

constexpr int kTwipsPerPixel = 15;

class PictureBox : public QWidget, public PreviewCanvas {
    Q_OBJECT
public:
    PictureBox(const QString& name, int widthPx, int heightPx, QWidget* parent = nullptr);

    const QImage& image() const { return image_; }

    int scaleWidth() const override { return image_.width() * kTwipsPerPixel; }
    int scaleHeight() const override { return image_.height() * kTwipsPerPixel; }
    void clear() override;
    void plot(int xTwips, int yTwips) override;

    static const QColor kBackground;
    static const QColor kForeground;
    static const QRgb kForegroundRgb;

protected:
    void paintEvent(QPaintEvent*) override;

private:
    void repaintOnce();

    QImage image_;
    bool repaintAsked_ = false;
};

} // namespace tonara
