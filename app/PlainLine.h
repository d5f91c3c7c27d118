#pragma once
// A plain horizontal line, one pixel across the middle in the palette's
// text colour, as a plain QFrame line shows it. It lies over the sine
// preview and is painted with its every frame: the style's general line
// drawing cost the preview a tenth of its time, a filled row next to none.

#include <QFrame>
#include <QPainter>

namespace tonara {

class PlainLine : public QFrame {
public:
    explicit PlainLine(QWidget* parent) : QFrame(parent) {
        setFrameShape(QFrame::HLine);
        setFrameShadow(QFrame::Plain);
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.fillRect(0, height() / 2, width(), lineWidth(), palette().color(QPalette::WindowText));
    }
};

} // namespace tonara
