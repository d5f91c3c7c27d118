#pragma once
// Frequencies as a person types them: hertz with decimals ("440",
// "440.25", "1.5 kHz") or a note in scientific pitch notation ("A4", "C#5",
// "Bb3", "A4+25c"; A4 = 440 Hz). What cannot be read gets a message that
// says why, and no value.

#include <QString>
#include <optional>

namespace tonara {

struct FrequencyReading {
    std::optional<double> hertz;
    QString problem; // why there is no value
};

// highest: the highest frequency accepted (the output's band top).
FrequencyReading readFrequency(const QString& text, double highest);

struct NearestNote {
    QString name; // "A4", "C#5"
    double cents = 0.0; // how far the frequency lies above it
};
NearestNote nearestNote(double hertz);
// "A4 +25.0 cents"
QString noteText(double hertz);
// Hz of a note `semitones` above A4.
double noteFrequency(double semitones);
// Hertz as the box shows them: up to two decimals, no trailing zeros.
QString hertzText(double hertz);

} // namespace tonara
