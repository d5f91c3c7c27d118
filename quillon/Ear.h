#pragma once
// Which ear a test sounds in. Only the modes Quillon synthesises itself can
// leave a channel silent; the external tone programs always play in both.

#include <QString>
#include <QStringList>

namespace tonara::quillon {

enum class Ear { Both, Left, Right };

struct EarGains {
    double left = 1.0;
    double right = 1.0;
};

EarGains earGains(Ear ear);
// "Both ears", "Left ear", "Right ear" (or Dutch), in the order of the list.
QString earName(Ear ear, bool dutch);
// The ears a mode can test in, in the order of the list.
QList<Ear> earsOfMode(const QString& mode);
// Why the list offers only both ears; empty where it offers all three.
QString earLimitReason(const QString& mode, bool dutch);
// The report's line 19 ("Ear: Left"); empty for both ears, whose report keeps its 18 lines.
QString earReportLine(Ear ear);

} // namespace tonara::quillon
