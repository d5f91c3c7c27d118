#pragma once
// The microphone's waveform box, picWave: shows the last picture it was
// given, mapped onto the box and painted at the screen's pixel density.

#include "WaveDrawing.h"
#include "MainWindowNames.h"

#include <QWidget>

namespace tonara {

class WaveBox : public QWidget {
    Q_OBJECT
public:
    WaveBox(MainControl name, int widthPx, int heightPx, QWidget* parent = nullptr);

    // The width the pictures are drawn for: the box in device pixels.
    int widthPx() const;

    void setPicture(WavePicture picture);
    void clear();
    const WavePicture& picture() const { return picture_; }

protected:
    void paintEvent(QPaintEvent*) override;

private:
    WavePicture picture_;
};

} // namespace tonara
