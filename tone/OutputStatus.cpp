#include "OutputStatus.h"
#include "OutputBand.h"

namespace tonara {

namespace {
QString kilohertz(int hz) { return QString::number(hz / 1000.0) + " kHz"; }
} // namespace

QString outputStatusText(int rate, qint32 pitch) {
    if (rate <= 0) return QStringLiteral("Output: none");
    QString text = "Output: " + kilohertz(rate);
    if (pitch > 0 && !carriesAtFullLevel(rate, pitch))
        text += QString(", too low for %1 Hz").arg(pitch);
    return text;
}

} // namespace tonara
