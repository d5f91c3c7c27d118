#pragma once
// A picture box that keeps its image: drawing goes into a QImage that the
// widget paints, so what was drawn stays until cleared (and tests can read it).
// It grows with its window from its design size, and takes its colours
// from the palette in use.

#include "PreviewCanvas.h"
#include "MainWindowNames.h"

#include <QColor>
#include <QImage>
#include <QWidget>

namespace tonara {

constexpr int kTwipsPerPixel = 15;

class PictureBox : public QWidget, public PreviewCanvas {
    Q_OBJECT
public:
    PictureBox(MainControl name, int widthPx, int heightPx, QWidget* parent = nullptr);

    const QImage& image() const { return image_; }
    QRgb traceRgb() const { return trace_.rgb(); }
    QColor background() const { return background_; }

    int scaleWidth() const override { return image_.width() * kTwipsPerPixel; }
    int scaleHeight() const override { return image_.height() * kTwipsPerPixel; }
    void clear() override;
    void plot(int xTwips, int yTwips) override;
    void plotFrame(const std::vector<qint32>& heights) override;

    // The design's colours, kept on a light palette.
    static const QColor kBackground;
    static const QColor kForeground;

protected:
    void paintEvent(QPaintEvent*) override;
    void resizeEvent(QResizeEvent*) override;
    void changeEvent(QEvent* event) override;

private:
    void repaintOnce();
    void takeColours();

    QImage image_;
    QColor background_;
    QColor trace_;
    bool repaintAsked_ = false;
};

} // namespace tonara
