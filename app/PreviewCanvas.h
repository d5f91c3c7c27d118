#pragma once
// A picture box as the sine preview sees it: a surface measured in twips.

namespace tonara {

class PreviewCanvas {
public:
    virtual ~PreviewCanvas() = default;
    virtual int scaleWidth() const = 0;  // twips
    virtual int scaleHeight() const = 0; // twips
    virtual void clear() = 0;
    virtual void plot(int xTwips, int yTwips) = 0;
};

} // namespace tonara
