#pragma once
// What choosing a mode shows: captions and enabled states per mode, and the
// sine preview of a pitch, static or animated.

#include "PreviewCanvas.h"
#include "Program.h"

#include <vector>

namespace tonara {

// The design name of the option button of mode k (1 to 9).
inline MainControl optionName(int k) { return form1::kOptions[k - 1]; }

constexpr qint16 kAnimatedPreview = 1;
constexpr qint16 kStaticPreview = 930;

class ModePresentation {
public:
    ModePresentation(Program& program, PreviewCanvas& canvas);

    void SelectRadio(qint16 newselected);
    void DrawSine(qint16 pitch, qint16 mode);

    qint32 phase() const { return phase_; }

private:
    void animate(MainWindow& w);
    void drawFrame(bool plotPoints);

    Program& program_;
    PreviewCanvas& canvas_;
    float step_ = 0; // radians per twip
    qint32 phase_ = 0;
    std::vector<qint32> heights_; // kept from frame to frame: no allocation a frame
};

} // namespace tonara
