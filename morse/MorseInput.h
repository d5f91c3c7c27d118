#pragma once
// The speed and pitch a Morse run takes from its boxes. A value out of range
// is replaced, with a message, and the replacement goes back into the box.

#include <QString>
#include <optional>

namespace tonara {

struct BoxCorrection {
    QString message; // shown with the exclamation icon
    QString title;
    QString boxText;
};

struct BoxReading {
    qint16 value;
    std::optional<BoxCorrection> correction;
};

// Above 500 the speed is 0; there is no lower bound.
BoxReading readSpeedBox(const QString& text);
// Below 50 or above 32000 the pitch is 700.
BoxReading readPitchBox(const QString& text);

} // namespace tonara
