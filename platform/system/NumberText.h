#pragma once
// Number texts and conversions shared by every reader and writer.

#include <QString>
#include <cstdint>

namespace tonara {

// A blank before a number that is zero or positive, "-" before a negative one.
QString signedNumberText(qint64 value);

// The value of the longest prefix of text that reads as a number (leading
// blanks skipped); 0 when there is none. Never fails.
double leadingNumberValue(const QString& text);

// Strict reading of a whole text as a number (surrounding blanks allowed);
// raises Type mismatch (13) when the text is not one.
double toNumber(const QString& text);

// The integer part (floor) of a text read strictly as a number.
double integerPart(const QString& text);

// Rounding halves to even into 16- and 32-bit integers; Overflow (6) when
// the rounded value is out of range.
qint16 toInt16(double value);
qint32 toInt32(double value);

// True when text reads as a number (the key filter of the number boxes:
// a typed character passes when the text with it appended still does).
bool readsAsNumber(const QString& text);

} // namespace tonara
