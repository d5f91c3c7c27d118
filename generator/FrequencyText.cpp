#include "FrequencyText.h"

#include <QRegularExpression>
#include <cmath>

namespace tonara {

namespace {

constexpr double kA4 = 440.0;
constexpr int kA4Number = 57; // semitones above C0
constexpr double kMostCents = 100.0;
const char* const kNames[] = {"C", "C#", "D", "D#", "E", "F", "F#", "G", "G#", "A", "A#", "B"};

QString rangeProblem(double hertz, double highest) {
    if (hertz < 1.0) return QStringLiteral("The frequency must be at least 1 Hz.");
    if (hertz > highest)
        return QStringLiteral("%1 Hz is above the highest frequency this output can play (%2 Hz).")
            .arg(hertzText(hertz), hertzText(highest));
    return {};
}

FrequencyReading checked(double hertz, double highest) {
    const QString problem = rangeProblem(hertz, highest);
    if (!problem.isEmpty()) return {std::nullopt, problem};
    return {hertz, {}};
}

std::optional<double> noteSemitones(const QString& text) {
    static const QRegularExpression note(
        QStringLiteral("^([A-Ga-g])(#|b|\u266F|\u266D)?(-?\\d)\\s*(?:([+-]\\s*\\d+(?:[.,]\\d+)?)\\s*(?:c|cents?)?)?$"),
        QRegularExpression::CaseInsensitiveOption);
    const auto match = note.match(text);
    if (!match.hasMatch()) return std::nullopt;
    static const int steps[] = {9, 11, 0, 2, 4, 5, 7}; // A..G above C
    int number = steps[match.captured(1).toUpper().at(0).unicode() - 'A'];
    const QString accidental = match.captured(2);
    if (accidental == "#" || accidental == QStringLiteral("\u266F")) ++number;
    if (accidental == "b" || accidental == QStringLiteral("\u266D")) --number;
    number += 12 * match.captured(3).toInt();
    double cents = 0.0;
    if (!match.captured(4).isEmpty()) {
        QString digits = match.captured(4).remove(' ').replace(',', '.');
        cents = digits.toDouble();
        if (std::abs(cents) > kMostCents) return std::nullopt;
    }
    return number - kA4Number + cents / 100.0;
}

} // namespace

FrequencyReading readFrequency(const QString& typed, double highest) {
    const QString text = typed.trimmed();
    if (text.isEmpty())
        return {std::nullopt, QStringLiteral("Type a frequency in hertz (such as 440 or 1.5 kHz) or a note (such as A4 or C#5).")};
    static const QRegularExpression hertz(QStringLiteral("^(\\d{1,9}(?:[.,]\\d{0,9})?|[.,]\\d{1,9})\\s*(hz|khz)?$"),
                                          QRegularExpression::CaseInsensitiveOption);
    if (const auto match = hertz.match(text); match.hasMatch()) {
        double value = QString(match.captured(1)).replace(',', '.').toDouble();
        if (match.captured(2).compare("khz", Qt::CaseInsensitive) == 0) value *= 1000.0;
        return checked(value, highest);
    }
    if (text.startsWith('-')) return {std::nullopt, QStringLiteral("A frequency cannot be negative.")};
    if (const auto semitones = noteSemitones(text)) return checked(noteFrequency(*semitones), highest);
    return {std::nullopt, QStringLiteral("\"%1\" is not a frequency: type hertz (such as 440.25 or 1.5 kHz) or a note "
                                         "from C0 to B9 (such as A4, C#5, Bb3 or A4+25c).")
                              .arg(text.left(40))};
}

double noteFrequency(double semitones) { return kA4 * std::pow(2.0, semitones / 12.0); }

NearestNote nearestNote(double hertz) {
    if (!(hertz > 0)) return {};
    const double fromC0 = kA4Number + 12.0 * std::log2(hertz / kA4);
    const long number = std::lround(fromC0);
    const long octave = long(std::floor(double(number) / 12.0));
    const long within = number - 12 * octave;
    return {QString::fromLatin1(kNames[within]) + QString::number(octave), (fromC0 - double(number)) * 100.0};
}

QString noteText(double hertz) {
    const NearestNote note = nearestNote(hertz);
    if (note.name.isEmpty()) return {};
    const double cents = std::abs(note.cents) < 0.05 ? 0.0 : note.cents;
    return QStringLiteral("%1 %2%3 cents").arg(note.name, cents < 0 ? QStringLiteral("\u2212") : QStringLiteral("+"),
                                              QString::number(std::abs(cents), 'f', 1));
}

QString hertzText(double hertz) {
    QString text = QString::number(hertz, 'f', 2);
    while (text.endsWith('0')) text.chop(1);
    if (text.endsWith('.')) text.chop(1);
    return text;
}

} // namespace tonara
