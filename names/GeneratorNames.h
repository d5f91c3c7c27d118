#pragma once
// The signal generator window's design: every control that has a name.

#include "DesignName.h"

// clang-format off
#define TONARA_GENERATOR_NAMES(NAME, MENU)                                                                             \
    NAME(Frequency) NAME(OctaveDown) NAME(OctaveUp) NAME(Note) NAME(Level) NAME(Channel) NAME(Waveform) NAME(Sweep)    \
    NAME(SweepTo) NAME(SweepTime) NAME(Repeat) NAME(Duration) NAME(FileFormat) NAME(FileRate) NAME(Problem)            \
    NAME(Play) NAME(Stop) NAME(SaveAs)
// clang-format on

namespace tonara::generatorWindow {
using Name = DesignName<Window::Generator>;
TONARA_DESIGN_NAMES(TONARA_GENERATOR_NAMES)
} // namespace tonara::generatorWindow
