#pragma once
// The five sound mode codes and everything that depends on them: the
// settings line, the menu item, the back-end of each kind of tone and the
// options a code leaves unusable. Every place that decides by the code
// reads this table.

#include "MainWindowNames.h"

#include <QString>
#include <span>

namespace tonara {

// What plays a continuous tone (Play), a timed tone (`sound`) and the sweep.
enum class ContinuousTone { Sound16, Sound32, SoundDXRND, SoundWinmmRND };
enum class TimedTone { Beep, SoundWinmmRNDTMP, Silent };
enum class SweepTone { LowToHigh, SoundWinmmLTH };
// What `LowToHigh` shows while the tone program sweeps by itself.
enum class SweepDisplay { Nothing, Caption, PitchAndPreview };
// How the tone-file player sounds a tone: a companion started through the
// shell by its full path, a tone program by its name, or the multimedia player.
enum class PlayerTone { Companion, ToneProgram, Player };

struct SoundMode {
    const char* code;          // as held in `bit`: "128"
    const char* settingsLine;  // line 2 as the menu writes it: "SoundBit=128"
    MainControl menuItem;      // form1::sndautomatic
    const char* menuCaption;   // "Automatic"
    qint16 menuErrol;          // error location code of the menu item's handler
    ContinuousTone continuous;
    TimedTone timed;
    SweepTone sweep;
    const char* toneProgramCommand; // the external tone program's start, or nullptr
    const char* toneProgramName;    // the image name that tone program runs under, or nullptr
    SweepDisplay sweepDisplay;
    bool disablesToolModes;    // Low to high, Morse tool and Hearing age cannot be used
    bool menuSelectsLowPitch;  // choosing it in the menu selects Low pitch
    bool startEnablesLowToHigh;
    // The tone-file player: how a tone starts, what it waits before the
    // tone's extra time and duration, and what it ends after it ("" nothing).
    PlayerTone playerTone;
    const char* playerProgram; // started for PlayerTone::Companion or ToneProgram
    qint16 playerLeadMs;
    const char* playerEnds;
    // Quillon: the code a hand-over of this code is played in (nullptr:
    // refused), and the command of its tone program.
    const char* quillonPlaysAs;
    const char* quillonToneCommand;
};

std::span<const SoundMode> soundModes();
// The mode of a code; nullptr for anything that is none of the five.
const SoundMode* soundModeFor(const QString& code);
// The mode whose continuous tone is tone (the first, in menu order).
const SoundMode& soundModePlaying(ContinuousTone tone);
// The mode named by a settings line, compared without regard to case
// ("soundbit=64" and "Soundbit=64" alike); nullptr when it names none.
const SoundMode* soundModeForSettingsLine(const QString& line);

// The options a code that disables the tool modes switches off.
inline constexpr MainControl kToolModeOptions[] = {form1::Option6, form1::Option8, form1::Option9};

} // namespace tonara
