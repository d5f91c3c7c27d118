#include "SoundModes.h"

namespace tonara {

namespace {

// In the order of the Sound mode menu.
constexpr SoundMode kModes[] = {
    {.code = "128", .settingsLine = "SoundBit=128", .menuItem = form1::sndautomatic, .menuCaption = "Automatic",
     .menuErrol = 27, .continuous = ContinuousTone::SoundWinmmRND, .timed = TimedTone::SoundWinmmRNDTMP,
     .sweep = SweepTone::SoundWinmmLTH, .toneProgramCommand = nullptr, .toneProgramName = nullptr,
     .sweepDisplay = SweepDisplay::Nothing,
     .disablesToolModes = false, .menuSelectsLowPitch = false, .startEnablesLowToHigh = false,
     .playerTone = PlayerTone::Player, .playerProgram = nullptr, .playerLeadMs = 0, .playerEnds = "sound32.dll",
     .quillonPlaysAs = "256", .quillonToneCommand = nullptr},
    {.code = "32", .settingsLine = "SoundBit=32", .menuItem = form1::sndsound32, .menuCaption = "Sound32",
     .menuErrol = 30, .continuous = ContinuousTone::Sound32, .timed = TimedTone::Beep,
     .sweep = SweepTone::LowToHigh, .toneProgramCommand = "sound32.dll", .toneProgramName = "sound32.dll",
     .sweepDisplay = SweepDisplay::PitchAndPreview,
     .disablesToolModes = false, .menuSelectsLowPitch = false, .startEnablesLowToHigh = false,
     .playerTone = PlayerTone::ToneProgram, .playerProgram = "sound32.dll", .playerLeadMs = 0, .playerEnds = "sound32.dll",
     .quillonPlaysAs = "32", .quillonToneCommand = "SOUND32.dll"},
    {.code = "256", .settingsLine = "SoundBit=256", .menuItem = form1::sndwinmm, .menuCaption = "Winmm",
     .menuErrol = 31, .continuous = ContinuousTone::SoundWinmmRND, .timed = TimedTone::SoundWinmmRNDTMP,
     .sweep = SweepTone::SoundWinmmLTH, .toneProgramCommand = nullptr, .toneProgramName = nullptr,
     .sweepDisplay = SweepDisplay::Nothing,
     .disablesToolModes = false, .menuSelectsLowPitch = false, .startEnablesLowToHigh = true,
     .playerTone = PlayerTone::Player, .playerProgram = nullptr, .playerLeadMs = 0, .playerEnds = "",
     .quillonPlaysAs = "256", .quillonToneCommand = nullptr},
    {.code = "64", .settingsLine = "SoundBit=64", .menuItem = form1::snddirectsound, .menuCaption = "DirectSound",
     .menuErrol = 29, .continuous = ContinuousTone::SoundDXRND, .timed = TimedTone::Silent,
     .sweep = SweepTone::LowToHigh, .toneProgramCommand = nullptr, .toneProgramName = nullptr,
     .sweepDisplay = SweepDisplay::Nothing,
     .disablesToolModes = true, .menuSelectsLowPitch = true, .startEnablesLowToHigh = false,
     .playerTone = PlayerTone::Player, .playerProgram = nullptr, .playerLeadMs = 0, .playerEnds = "sound32.dll",
     .quillonPlaysAs = nullptr, .quillonToneCommand = nullptr},
    {.code = "16", .settingsLine = "SoundBit=16", .menuItem = form1::sndclassic, .menuCaption = "Classic",
     .menuErrol = 28, .continuous = ContinuousTone::Sound16, .timed = TimedTone::Beep,
     .sweep = SweepTone::LowToHigh, .toneProgramCommand = "cmd /c relay16.exe", .toneProgramName = "sound16.dll",
     .sweepDisplay = SweepDisplay::Caption,
     .disablesToolModes = false, .menuSelectsLowPitch = true, .startEnablesLowToHigh = false,
     .playerTone = PlayerTone::Companion, .playerProgram = "relay16.exe", .playerLeadMs = 1000, .playerEnds = "sound16.dll",
     .quillonPlaysAs = "16", .quillonToneCommand = "cmd /c relay16.exe"},
};

} // namespace

std::span<const SoundMode> soundModes() { return kModes; }

const SoundMode& soundModePlaying(ContinuousTone tone) {
    for (const SoundMode& mode : kModes)
        if (mode.continuous == tone) return mode;
    return kModes[0]; // every kind of continuous tone has its mode: not reached
}

const SoundMode* soundModeFor(const QString& code) {
    for (const SoundMode& mode : kModes)
        if (code == QLatin1String(mode.code)) return &mode;
    return nullptr;
}

const SoundMode* soundModeForSettingsLine(const QString& line) {
    for (const SoundMode& mode : kModes)
        if (line.compare(QLatin1String(mode.settingsLine), Qt::CaseInsensitive) == 0) return &mode;
    return nullptr;
}

} // namespace tonara
