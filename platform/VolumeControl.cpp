// The desktop's volume control: the first well-known mixer found on PATH.
#include "RealPlatform.h"

#include <QProcess>
#include <QStandardPaths>

namespace tonara {

namespace {

struct VolumeControl {
    const char* program;
    QStringList arguments;
};

// PulseAudio's and PipeWire's own controls first, then the desktops' sound settings.
const VolumeControl kVolumeControls[] = {
    {"pavucontrol", {}},      {"pavucontrol-qt", {}},         {"pwvucontrol", {}},
    {"mate-volume-control", {}}, {"gnome-control-center", {"sound"}}, {"kmix", {}},
};

} // namespace

bool RealPlatform::startVolumeControl() {
    for (const VolumeControl& control : kVolumeControls) {
        const QString path = QStandardPaths::findExecutable(control.program);
        if (path.isEmpty()) continue;
        return QProcess::startDetached(path, control.arguments);
    }
    return false;
}

} // namespace tonara
