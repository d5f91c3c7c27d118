#pragma once
// How long keying takes at a speed: the speed (ms) is added to every
// element and pause, so a higher speed keys more slowly.

#include <QtGlobal>
#include <vector>

namespace tonara {

// The pause before every position of the message, whatever the speed.
constexpr qint16 kPauseBeforePosition = 20;

struct MorseTiming {
    int dot;
    int dash;
    int space;         // a space's own pause, before the pause after its position
    int afterPosition; // after every position, a space or a skipped character included
};

MorseTiming morseTiming(qint16 speed);

struct KeyStep {
    enum class Kind { Tone, Pause };
    Kind kind;
    qint16 ms;
    bool operator==(const KeyStep&) const = default;
};

// What one position takes after its pause before: the space's pause, a tone
// per element with no silence between them, the pause after. A step that
// comes out zero or negative (a speed far below zero) is left out.
// upper is 0 for an empty position.
std::vector<KeyStep> keyingSteps(char32_t upper, const MorseTiming& timing);

} // namespace tonara
