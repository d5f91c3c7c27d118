#pragma once
// Every control carries the name it has in the window's design, so the
// language files and the logic find it.

namespace tonara {

template <typename W>
W* named(W* control, const char* designName) {
    control->setObjectName(designName);
    return control;
}

} // namespace tonara
