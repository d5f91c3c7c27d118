#pragma once
// A message as a row of tones and silences, in milliseconds: the one
// description that the renderer turns into sound, whichever timing keyed it.

#include "MorseTiming.h"
#include "StandardTiming.h"

#include <QString>
#include <vector>

namespace tonara {

struct KeyedSpan {
    bool tone = false;
    double ms = 0;
    bool operator==(const KeyedSpan&) const = default;
};

struct KeyingPlan {
    std::vector<KeyedSpan> spans;
    std::vector<char32_t> illegal; // characters left out, in order, as typed
    double totalMs() const;
};

// Only the first 500 characters are keyed, as in a Classic run.
constexpr int kKeyedCharacters = 500;

// Standard keying. A run of spaces is one word gap; a word gap also ends the
// message, so the last character is followed by its gap as on the air.
// "<AR>": the letters between angle brackets are keyed as one character,
// without gaps between them; a "<" with no such letters and ">" before it is
// an illegal character, like any other outside the table.
KeyingPlan standardPlan(const QString& message, const StandardTiming& timing);

// Classic keying as the output sounds it: the pause before every position,
// each element its table length, the pauses of the table. Back-to-back
// elements start as far apart as the output places them: after the tone's
// own fade and the short gap the output leaves.
constexpr double kClassicElementSeparationMs = 5;
// The rise and fall of a Classic element in a file: the output's own fade,
// a raised cosine of 4 ms, which takes 2.36 ms from 10 % to 90 %.
constexpr double kClassicRiseMs = 2.36;
KeyingPlan classicPlan(const QString& message, const MorseTiming& timing);

} // namespace tonara
