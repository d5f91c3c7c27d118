#include "UploadName.h"
#include "Platform.h"

#include <QRandomGenerator>
#include <cmath>

namespace tonara {

qint32 uploadNumber(double r, const QDateTime& at) {
    const QTime time = at.time();
    return qint32(std::floor(r * time.second() * time.hour() * at.date().day())) + 1;
}

qint32 uploadNumber() { return uploadNumber(QRandomGenerator::global()->generateDouble(), platform().now()); }

} // namespace tonara
