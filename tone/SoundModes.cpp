#include "SoundModes.h"

namespace tonara {

namespace {

// In the order of the Sound mode menu.
constexpr SoundMode kModes[] = {
    {"128", "SoundBit=128", "sndautomatic", "Automatic", 27, ContinuousTone::SoundWinmmRND, TimedTone::SoundWinmmRNDTMP,
     SweepTone::SoundWinmmLTH, nullptr, SweepDisplay::Nothing, false, false, false},
    {"32", "SoundBit=32", "sndsound32", "Sound32", 30, ContinuousTone::Sound32, TimedTone::Beep, SweepTone::LowToHigh,
     "sound32.dll", SweepDisplay::PitchAndPreview, false, false, false},
    {"256", "SoundBit=256", "sndwinmm", "Winmm", 31, ContinuousTone::SoundWinmmRND, TimedTone::SoundWinmmRNDTMP,
     SweepTone::SoundWinmmLTH, nullptr, SweepDisplay::Nothing, false, false, true},
    {"64", "SoundBit=64", "snddirectsound", "DirectSound", 29, ContinuousTone::SoundDXRND, TimedTone::Silent, SweepTone::LowToHigh,
     nullptr, SweepDisplay::Nothing, true, true, false},
    {"16", "SoundBit=16", "sndclassic", "Classic", 28, ContinuousTone::Sound16, TimedTone::Beep, SweepTone::LowToHigh,
     "cmd /c relay16.exe", SweepDisplay::Caption, false, true, false},
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
