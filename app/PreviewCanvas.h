#pragma once
// A picture box as the sine preview sees it: a surface measured in twips.

#include <QtGlobal>
#include <vector>

namespace tonara {

class PreviewCanvas {
public:
    virtual ~PreviewCanvas() = default;
    virtual int scaleWidth() const = 0;  // twips
    virtual int scaleHeight() const = 0; // twips
    virtual void clear() = 0;
    virtual void plot(int xTwips, int yTwips) = 0;
    // A whole frame: the point at x = i twips has the height heights[i].
    virtual void plotFrame(const std::vector<qint32>& heights) {
        for (std::size_t x = 0; x < heights.size(); ++x) plot(int(x), heights[x]);
    }
};

} // namespace tonara
