#include "OutputStatus.h"
#include "OutputBand.h"
#include "OwnTexts.h"

namespace tonara {

namespace {
QString kilohertz(int hz, const QString& language) {
    QString number = QString::number(hz / 1000.0);
    if (language == QLatin1String("nl")) number.replace('.', ','); // 44,1 kHz
    return number + " kHz";
}
} // namespace

QString outputStatusText(int rate, qint32 pitch, const QString& language) {
    if (rate <= 0) return ownText("Output: none", language);
    QString text = ownText("Output: ", language) + kilohertz(rate, language);
    if (pitch > 0 && !carriesAtFullLevel(rate, pitch)) text += ownText(", too low for %1 Hz", language).arg(pitch);
    return text;
}

} // namespace tonara
