#pragma once
// The waveform pictures of one captured half: the user scale of the box and
// the traces in it, before anything is painted.

#include <QByteArray>
#include <QPointF>
#include <vector>

namespace tonara {

// A line from start through every point, in the picture's scale.
struct WaveTrace {
    QPointF start;
    std::vector<QPointF> points;
};

// The scale runs from x = 0 at the left edge to x = right at the right edge,
// and from top at the top edge to bottom at the bottom edge.
struct WavePicture {
    double right = 0;
    double top = 0;
    double bottom = 0;
    std::vector<WaveTrace> traces; // one (mono) or two (stereo: channel 1 above, channel 2 below)
};

// The drawings for a box widthPx pixels wide, about one point per pixel.
// 8-bit samples are unsigned (128 is silence); sensitivity does not apply to 8-bit mono.
WavePicture drawing8Bit(const QByteArray& bytes, int widthPx, bool stereo, qint16 sensitivity);
WavePicture drawing16Bit(const std::vector<qint16>& samples, int widthPx, bool stereo, qint16 sensitivity);

// The bytes read as signed 16-bit little-endian samples; an odd last byte is left out.
std::vector<qint16> samples16Bit(const QByteArray& bytes);

} // namespace tonara
