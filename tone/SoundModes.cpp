#include "SoundModes.h"

namespace tonara {

namespace {

// In the order of the Sound mode menu.
constexpr SoundMode kModes[] = {
    {.code = "128", .settingsLine = "SoundBit=128", .menuItem = "sndautomatic", .menuCaption = "Automatic",
     .menuErrol = 27, .continuous = ContinuousTone::SoundWinmmRND, .timed = TimedTone::SoundWinmmRNDTMP,
     .sweep = SweepTone::SoundWinmmLTH, .toneProgramCommand = nullptr, .sweepDisplay = SweepDisplay::Nothing,
     .disablesToolModes = false, .menuSelectsLowPitch = false, .startEnablesLowToHigh = false},
    {.code = "32", .settingsLine = "SoundBit=32", .menuItem = "sndsound32", .menuCaption = "Sound32",
     .menuErrol = 30, .continuous = ContinuousTone::Sound32, .timed = TimedTone::Beep,
     .sweep = SweepTone::LowToHigh, .toneProgramCommand = "sound32.dll", .sweepDisplay = SweepDisplay::PitchAndPreview,
     .disablesToolModes = false, .menuSelectsLowPitch = false, .startEnablesLowToHigh = false},
    {.code = "256", .settingsLine = "SoundBit=256", .menuItem = "sndwinmm", .menuCaption = "Winmm",
     .menuErrol = 31, .continuous = ContinuousTone::SoundWinmmRND, .timed = TimedTone::SoundWinmmRNDTMP,
     .sweep = SweepTone::SoundWinmmLTH, .toneProgramCommand = nullptr, .sweepDisplay = SweepDisplay::Nothing,
     .disablesToolModes = false, .menuSelectsLowPitch = false, .startEnablesLowToHigh = true},
    {.code = "64", .settingsLine = "SoundBit=64", .menuItem = "snddirectsound", .menuCaption = "DirectSound",
     .menuErrol = 29, .continuous = ContinuousTone::SoundDXRND, .timed = TimedTone::Silent,
     .sweep = SweepTone::LowToHigh, .toneProgramCommand = nullptr, .sweepDisplay = SweepDisplay::Nothing,
     .disablesToolModes = true, .menuSelectsLowPitch = true, .startEnablesLowToHigh = false},
    {.code = "16", .settingsLine = "SoundBit=16", .menuItem = "sndclassic", .menuCaption = "Classic",
     .menuErrol = 28, .continuous = ContinuousTone::Sound16, .timed = TimedTone::Beep,
     .sweep = SweepTone::LowToHigh, .toneProgramCommand = "cmd /c relay16.exe", .sweepDisplay = SweepDisplay::Caption,
     .disablesToolModes = false, .menuSelectsLowPitch = true, .startEnablesLowToHigh = false},
};

} // namespace

std::span<const SoundMode> soundModes() { return kModes; }

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
