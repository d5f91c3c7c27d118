#pragma once
// The main window's design: every control and menu that has a name.

#include "DesignName.h"

// clang-format off
#define TONARA_FORM1_NAMES(NAME, MENU)                                                                                 \
    NAME(Frame1) NAME(Option1) NAME(Option2) NAME(Option3) NAME(Option4) NAME(Option5) NAME(Option6) NAME(Option7)     \
    NAME(Option8) NAME(Option9)                                                                                        \
    NAME(Frame2) NAME(Label1) NAME(Label9) NAME(Label3) NAME(Label10) NAME(Label5) NAME(HScroll1) NAME(Label6)         \
    NAME(CustomPitchBox) NAME(CustomPitchLabel) NAME(Command1)                                                         \
    NAME(Frame3) NAME(Label2) NAME(Picture1) NAME(Line1) NAME(Label7)                                                  \
    NAME(Frame4) NAME(Command5) NAME(Command4) NAME(picWave)                                                           \
    /* the microphone frame's analyser */                                                                             \
    NAME(Analyser) NAME(Trigger) NAME(Spectrum) NAME(Freeze) NAME(Input) NAME(InputLabel) NAME(Frequency) NAME(Level) \
    NAME(Command2) NAME(Command3) NAME(Volume) NAME(VolumeLabel) NAME(Label8)                                          \
    NAME(StatusBar1) NAME(Panel1) NAME(Panel2) NAME(Panel3)                                                            \
    /* the menu tree */                                                                                               \
    MENU(file) NAME(openfile) NAME(exit)                                                                               \
    MENU(settings) MENU(soundmode) NAME(sndautomatic) NAME(sndsound32) NAME(sndwinmm) NAME(snddirectsound)             \
    NAME(sndclassic) MENU(language) NAME(english) NAME(dutch) NAME(autoupdate) NAME(microinputonoff)                   \
    MENU(tools) NAME(signalgenerator)                                                                                  \
    MENU(help) NAME(webpage) NAME(donate) NAME(contact) NAME(about)
// clang-format on

namespace tonara::form1 {
using Name = MainControl;
TONARA_DESIGN_NAMES(TONARA_FORM1_NAMES)

// The nine options and the status bar's panels, by number.
inline constexpr Name kOptions[] = {Option1, Option2, Option3, Option4, Option5, Option6, Option7, Option8, Option9};
inline constexpr Name kPanels[] = {Panel1, Panel2, Panel3};
} // namespace tonara::form1
