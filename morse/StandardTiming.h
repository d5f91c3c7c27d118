#pragma once
// Keying as operators count it: a dot is one unit of 1200 / WPM ms at the
// character speed, a dash three, one unit between the elements of a
// character, three between characters, seven between words (PARIS, with
// its word gap, is 50 units). Below the character speed the gaps between
// characters and words are stretched (Farnsworth spacing) so that words
// still come at the overall speed.

namespace tonara {

constexpr int kLowestWpm = 5;
constexpr int kHighestWpm = 60;
constexpr int kDefaultWpm = 20;
constexpr int kLowestRiseMs = 1;
constexpr int kHighestRiseMs = 10;
constexpr int kDefaultRiseMs = 5;

struct StandardSpeed {
    int wpm = kDefaultWpm;          // overall
    int characterWpm = kDefaultWpm; // each character's own; not below wpm
    bool operator==(const StandardSpeed&) const = default;
};

// Both speeds within 5..60 and the character speed not below the overall
// one, so that every figure below is positive and finite.
StandardSpeed clampedSpeed(StandardSpeed speed);

struct StandardTiming {
    double unitMs = 0;      // a dot, and the gap between elements
    double letterGapMs = 0; // between two characters of a word
    double wordGapMs = 0;   // between two words
};

StandardTiming standardTiming(StandardSpeed speed); // the speed is clamped first

} // namespace tonara
