#pragma once
// The audiogram of the threshold test: drawn on screen and into the saved
// picture by the same painting.

#include "ThresholdResult.h"

#include <QImage>
#include <QWidget>

class QPainter;

namespace tonara::quillon {

// Right ear as red circles, left ear as blue crosses, each joined by a line;
// a result never heard as its symbol at full scale with an arrow downwards.
void paintAudiogram(QPainter& painter, const QRectF& area, const std::vector<ThresholdResult>& results, bool dutch);
QImage audiogramImage(const std::vector<ThresholdResult>& results, QSize size, bool dutch);

class AudiogramWidget : public QWidget {
    Q_OBJECT
public:
    AudiogramWidget(bool dutch, QWidget* parent);
    void setResults(std::vector<ThresholdResult> results);
    const std::vector<ThresholdResult>& results() const { return results_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    bool dutch_;
    std::vector<ThresholdResult> results_;
};

} // namespace tonara::quillon
