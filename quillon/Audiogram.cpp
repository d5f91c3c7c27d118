#include "Audiogram.h"
#include "AudiogramScale.h"
#include "QuillonNames.h"
#include "ThresholdTexts.h"

#include <QPainter>
#include <QPainterPath>
#include <algorithm>

namespace tonara::quillon {

namespace {

const QColor kRightEar(200, 0, 0);
const QColor kLeftEar(0, 0, 200);
constexpr double kSymbolShare = 0.018; // of the plot's width
const int kLabelledFrequencies[] = {125, 250, 500, 1000, 2000, 4000, 8000, 16000};

QString frequencyLabel(int hz) { return hz >= 1000 ? QString::number(hz / 1000) + "k" : QString::number(hz); }

void drawSymbol(QPainter& painter, Ear ear, QPointF at, double r) {
    painter.setPen(QPen(ear == Ear::Left ? kLeftEar : kRightEar, r / 3.0));
    painter.setBrush(Qt::NoBrush);
    if (ear == Ear::Left) {
        painter.drawLine(at + QPointF(-r, -r), at + QPointF(r, r));
        painter.drawLine(at + QPointF(-r, r), at + QPointF(r, -r));
    } else {
        painter.drawEllipse(at, r, r);
    }
}

void drawGrid(QPainter& painter, const AudiogramScale& scale, const ThresholdTexts& texts) {
    const QRectF& plot = scale.plot();
    const QColor text = painter.pen().color();
    painter.setPen(QPen(Qt::gray, 1));
    for (const int level : AudiogramScale::levelLines()) {
        const double y = scale.y(level);
        painter.drawLine(QPointF(plot.left(), y), QPointF(plot.right(), y));
    }
    for (const int hz : kLabelledFrequencies) {
        const double x = scale.x(hz);
        painter.drawLine(QPointF(x, plot.top()), QPointF(x, plot.bottom()));
    }
    painter.setPen(text);
    const QFontMetricsF metrics(painter.font());
    for (const int level : AudiogramScale::levelLines()) {
        const QString label = QString::number(level);
        painter.drawText(QPointF(plot.left() - metrics.horizontalAdvance(label) - 4, scale.y(level) + metrics.ascent() / 2),
                         label);
    }
    for (const int hz : kLabelledFrequencies) {
        const QString label = frequencyLabel(hz);
        painter.drawText(QPointF(scale.x(hz) - metrics.horizontalAdvance(label) / 2, plot.bottom() + metrics.height()),
                         label);
    }
    painter.drawText(QRectF(plot.left(), plot.bottom() + metrics.height() * 1.2, plot.width(), metrics.height()),
                     Qt::AlignHCenter, texts.frequencyAxis);
    painter.drawText(QRectF(plot.left(), plot.top() - metrics.height() * 1.3, plot.width(), metrics.height()),
                     Qt::AlignLeft, texts.levelAxis);
    painter.setPen(QPen(text, 1));
    painter.drawRect(plot);
}

void drawEar(QPainter& painter, const AudiogramScale& scale, const std::vector<ThresholdResult>& results, Ear ear) {
    const double r = scale.plot().width() * kSymbolShare;
    QPainterPath line;
    for (const ThresholdResult& result : results) {
        if (result.ear != ear) continue;
        const bool plotted = hasPlottedLevel(result);
        if (!plotted && result.outcome != ThresholdOutcome::NotHeardAtHighest) continue;
        const QPointF at = scale.at(result.frequency, plotted ? result.levelDb : AudiogramScale::kBottomDb);
        drawSymbol(painter, ear, at, r);
        if (!plotted) {
            painter.drawLine(at + QPointF(r, r), at + QPointF(2 * r, 2.5 * r));
            painter.drawLine(at + QPointF(2 * r, 2.5 * r), at + QPointF(2.4 * r, 1.6 * r));
            continue;
        }
        if (line.elementCount() == 0) line.moveTo(at);
        else line.lineTo(at);
    }
    painter.setPen(QPen(ear == Ear::Left ? kLeftEar : kRightEar, r / 4.0, ear == Ear::Left ? Qt::DashLine : Qt::SolidLine));
    painter.drawPath(line);
}

void drawLegend(QPainter& painter, const QRectF& plot, const QColor& text, bool dutch) {
    const QFontMetricsF metrics(painter.font());
    const double r = plot.width() * kSymbolShare;
    const double widest = std::max(metrics.horizontalAdvance(earName(Ear::Right, dutch)),
                                   metrics.horizontalAdvance(earName(Ear::Left, dutch)));
    QPointF at(plot.right() - widest - 4 * r, plot.top() + 2 * r);
    for (const Ear ear : {Ear::Right, Ear::Left}) {
        drawSymbol(painter, ear, at, r);
        painter.setPen(text);
        painter.drawText(at + QPointF(2 * r, metrics.ascent() / 2), earName(ear, dutch));
        at.ry() += 3 * r;
    }
}

} // namespace

void paintAudiogram(QPainter& painter, const QRectF& area, const std::vector<ThresholdResult>& results, bool dutch) {
    painter.setRenderHint(QPainter::Antialiasing);
    const QFontMetricsF metrics(painter.font());
    const QRectF plot = area.adjusted(metrics.horizontalAdvance("-100") + 10, metrics.height() * 1.8,
                                      -metrics.horizontalAdvance("16k"), -metrics.height() * 2.6);
    const AudiogramScale scale(plot);
    const QColor text = painter.pen().color();
    drawGrid(painter, scale, thresholdTexts(dutch));
    drawEar(painter, scale, results, Ear::Right);
    drawEar(painter, scale, results, Ear::Left);
    drawLegend(painter, plot, text, dutch);
}

QImage audiogramImage(const std::vector<ThresholdResult>& results, QSize size, bool dutch) {
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setPen(Qt::black);
    paintAudiogram(painter, QRectF(QPointF(0, 0), QSizeF(size)).adjusted(8, 8, -8, -8), results, dutch);
    return image;
}

AudiogramWidget::AudiogramWidget(bool dutch, QWidget* parent) : QWidget(parent), dutch_(dutch) {
    setObjectName(quillonThreshold::Audiogram);
    setAccessibleName("Audiogram");
    setMinimumSize(360, 260);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
}

void AudiogramWidget::setResults(std::vector<ThresholdResult> results) {
    results_ = std::move(results);
    update();
}

void AudiogramWidget::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), palette().base());
    painter.setPen(palette().text().color());
    paintAudiogram(painter, QRectF(rect()).adjusted(6, 6, -6, -6), results_, dutch_);
}

} // namespace tonara::quillon
