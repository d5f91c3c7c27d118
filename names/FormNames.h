#pragma once
// The designs of Tonara's other windows: every control that has a name.

#include "DesignName.h"

// clang-format off
// Form2, the pitch help.
#define TONARA_FORM2_NAMES(NAME, MENU)                                                                                 \
    NAME(Picture1) NAME(Shape1) NAME(Frame1) NAME(Label2) NAME(Label3) NAME(Label4) NAME(Label5) NAME(Label6)          \
    NAME(Label7) NAME(Label8) NAME(Label9) NAME(Line1)
// Form3, the news.
#define TONARA_FORM3_NAMES(NAME, MENU) NAME(WebBrowser1)
// Form4, the Morse tool.
#define TONARA_FORM4_NAMES(NAME, MENU)                                                                                 \
    NAME(Text1) NAME(Label3) NAME(Text2) NAME(Label1) NAME(Text3) NAME(Label2) NAME(Check1) NAME(Command1)             \
    NAME(Command2) NAME(SaveAs) NAME(Line1) NAME(Line2)                                                                \
    NAME(Timing) NAME(Classic) NAME(Standard) NAME(WpmLabel) NAME(Wpm) NAME(CharacterWpmLabel) NAME(CharacterWpm)      \
    NAME(RiseTimeLabel) NAME(RiseTime)
// Form5, the agreement.
#define TONARA_FORM5_NAMES(NAME, MENU)                                                                                 \
    NAME(Label1) NAME(Label4) NAME(Label7) NAME(Combo1) NAME(Check1) NAME(Command1) NAME(Command2)
// Form6, the error window.
#define TONARA_FORM6_NAMES(NAME, MENU) NAME(Label1) NAME(List1) NAME(Command1) NAME(Command2)
// Form7, the update window.
#define TONARA_FORM7_NAMES(NAME, MENU) NAME(Label1) NAME(List1) NAME(Command1) NAME(Command2)
// Form8, the splash window.
#define TONARA_FORM8_NAMES(NAME, MENU) NAME(Image1) NAME(Label1) NAME(Label2) NAME(Label3) NAME(Label4)
// Form9, the tone-file player.
#define TONARA_FORM9_NAMES(NAME, MENU)                                                                                 \
    NAME(Label1) NAME(Label2) NAME(Label3) NAME(Label4) NAME(Label5) NAME(Label6) NAME(Label7) NAME(Label8)             \
    NAME(ProgressBar1) NAME(Command1) NAME(Command2) NAME(Command3)
// frmAbout, the about box.
#define TONARA_FRMABOUT_NAMES(NAME, MENU)                                                                              \
    NAME(picIcon) NAME(lblTitle) NAME(lblVersion) NAME(lblDescription) NAME(cmdOK) NAME(cmdSysInfo)
// clang-format on

namespace tonara {

namespace form2 {
using Name = DesignName<Form::Form2>;
TONARA_DESIGN_NAMES(TONARA_FORM2_NAMES)
// The pitch texts, top to bottom.
inline constexpr Name kPitchLabels[] = {Label2, Label3, Label4, Label5, Label6, Label7, Label8, Label9};
} // namespace form2

namespace form3 {
using Name = DesignName<Form::Form3>;
TONARA_DESIGN_NAMES(TONARA_FORM3_NAMES)
} // namespace form3

namespace form4 {
using Name = DesignName<Form::Form4>;
TONARA_DESIGN_NAMES(TONARA_FORM4_NAMES)
} // namespace form4

namespace form5 {
using Name = DesignName<Form::Form5>;
TONARA_DESIGN_NAMES(TONARA_FORM5_NAMES)
} // namespace form5

namespace form6 {
using Name = DesignName<Form::Form6>;
TONARA_DESIGN_NAMES(TONARA_FORM6_NAMES)
} // namespace form6

namespace form7 {
using Name = DesignName<Form::Form7>;
TONARA_DESIGN_NAMES(TONARA_FORM7_NAMES)
} // namespace form7

namespace form8 {
using Name = DesignName<Form::Form8>;
TONARA_DESIGN_NAMES(TONARA_FORM8_NAMES)
} // namespace form8

namespace form9 {
using Name = DesignName<Form::Form9>;
TONARA_DESIGN_NAMES(TONARA_FORM9_NAMES)
} // namespace form9

namespace frmAbout {
using Name = DesignName<Form::frmAbout>;
TONARA_DESIGN_NAMES(TONARA_FRMABOUT_NAMES)
} // namespace frmAbout

} // namespace tonara
