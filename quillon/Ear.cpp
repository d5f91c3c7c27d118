#include "Ear.h"
#include "SoundModes.h"

namespace tonara::quillon {

namespace {

// The modes whose tones the multimedia player plays, which Quillon makes itself.
bool quillonSynthesises(const QString& code) {
    const SoundMode* mode = soundModeFor(code);
    return mode && mode->continuous == ContinuousTone::SoundWinmmRND;
}

} // namespace

EarGains earGains(Ear ear) {
    switch (ear) {
    case Ear::Left: return {1.0, 0.0};
    case Ear::Right: return {0.0, 1.0};
    case Ear::Both: break;
    }
    return {};
}

QString earName(Ear ear, bool dutch) {
    switch (ear) {
    case Ear::Left: return dutch ? "Linkeroor" : "Left ear";
    case Ear::Right: return dutch ? "Rechteroor" : "Right ear";
    case Ear::Both: break;
    }
    return dutch ? "Beide oren" : "Both ears";
}

QList<Ear> earsOfMode(const QString& mode) {
    if (quillonSynthesises(mode)) return {Ear::Both, Ear::Left, Ear::Right};
    return {Ear::Both};
}

QString earLimitReason(const QString& mode, bool dutch) {
    if (quillonSynthesises(mode)) return {};
    return dutch ? "Deze geluidsmodus speelt via een los toonprogramma, dat altijd in beide oren klinkt."
                 : "This sound mode plays through an external tone program, which always sounds in both ears.";
}

QString earReportLine(Ear ear) {
    switch (ear) {
    case Ear::Left: return "Ear: Left";
    case Ear::Right: return "Ear: Right";
    case Ear::Both: break;
    }
    return {};
}

} // namespace tonara::quillon
