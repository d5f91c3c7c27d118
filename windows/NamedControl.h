#pragma once
// Every control carries the name it has in the window's design, so the
// language files and the logic find it.

#include "DesignName.h"

namespace tonara {

template <typename W, auto Window>
W* named(W* control, DesignName<Window> designName) {
    control->setObjectName(designName);
    return control;
}

} // namespace tonara
