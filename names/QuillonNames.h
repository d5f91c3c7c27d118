#pragma once
// The designs of Quillon's windows: every control that has a name.

#include "DesignName.h"

// clang-format off
// The volume window, with its ear chooser.
#define TONARA_QUILLON_VOLUME_NAMES(NAME, MENU)                                                                        \
    NAME(Frame1) NAME(Label1) NAME(Command1) NAME(Command2) NAME(Command3) NAME(Label2) NAME(Command4)                  \
    NAME(ThresholdButton) NAME(EarChooser) NAME(EarLabel) NAME(EarList) NAME(EarNote)
#define TONARA_QUILLON_AGE_NAMES(NAME, MENU) NAME(Label1) NAME(Text1) NAME(Command1)
#define TONARA_QUILLON_TEST_NAMES(NAME, MENU)                                                                          \
    NAME(Label1) NAME(Command1) NAME(Command2) NAME(Label2) NAME(Label3) NAME(Label4) NAME(Label5) NAME(Label6)
#define TONARA_QUILLON_RESULT_NAMES(NAME, MENU)                                                                        \
    NAME(Label1) NAME(Label2) NAME(Label3) NAME(Label4) NAME(Label5) NAME(EarTestedLabel) NAME(EarTested)              \
    NAME(Picture1)
// The threshold test's window.
#define TONARA_QUILLON_THRESHOLD_NAMES(NAME, MENU)                                                                     \
    NAME(ThresholdNote) NAME(ThresholdStatus) NAME(StartThreshold) NAME(HearIt) NAME(Audiogram) NAME(ThresholdTable)   \
    NAME(SaveCsv) NAME(SavePicture)
// The output's volume window.
#define TONARA_QUILLON_OUTPUT_NAMES(NAME, MENU)                                                                        \
    NAME(OutputName) NAME(VolumeLabel) NAME(OutputVolume) NAME(VolumePercent) NAME(Mute)
// clang-format on

namespace tonara {

namespace quillonVolume {
using Name = DesignName<Window::QuillonVolume>;
TONARA_DESIGN_NAMES(TONARA_QUILLON_VOLUME_NAMES)
} // namespace quillonVolume

namespace quillonAge {
using Name = DesignName<Window::QuillonAge>;
TONARA_DESIGN_NAMES(TONARA_QUILLON_AGE_NAMES)
} // namespace quillonAge

namespace quillonTest {
using Name = DesignName<Window::QuillonTest>;
TONARA_DESIGN_NAMES(TONARA_QUILLON_TEST_NAMES)
} // namespace quillonTest

namespace quillonResult {
using Name = DesignName<Window::QuillonResult>;
TONARA_DESIGN_NAMES(TONARA_QUILLON_RESULT_NAMES)
} // namespace quillonResult

namespace quillonThreshold {
using Name = DesignName<Window::QuillonThreshold>;
TONARA_DESIGN_NAMES(TONARA_QUILLON_THRESHOLD_NAMES)
} // namespace quillonThreshold

namespace quillonOutput {
using Name = DesignName<Window::QuillonOutput>;
TONARA_DESIGN_NAMES(TONARA_QUILLON_OUTPUT_NAMES)
} // namespace quillonOutput

} // namespace tonara
