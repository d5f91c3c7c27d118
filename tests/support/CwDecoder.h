#pragma once
// Morse heard by an outside decoder: multimon-ng's MORSE_CW demodulator, set
// to the dot length as a standard keyer's listener would be.

#include <QString>
#include <cstdint>
#include <vector>

namespace tonara::test {

struct CwDecoding {
    QString text;  // what it printed, its line breaks removed; empty on failure
    QString error; // why it could not run
};

// Mono 16-bit samples at rate, resampled by sox to the demodulator's 22050 Hz.
CwDecoding decodeCw(const std::vector<std::int16_t>& samples, int rate, double dotMs);
// A sound file (any format sox reads).
CwDecoding decodeCwFile(const QString& path, double dotMs);

// The text as the decoder spells it: upper case, runs of blanks as one,
// without leading or trailing blanks.
QString cwNormalised(const QString& text);

} // namespace tonara::test
