#include "NumberText.h"
#include "RuntimeError.h"

#include <cmath>
#include <limits>
#include <optional>

namespace tonara {

QString signedNumberText(qint64 value) {
    return value < 0 ? QString::number(value) : QStringLiteral(" ") + QString::number(value);
}

namespace {

bool isBlank(QChar c) { return c == ' ' || c == '\t'; }

// Length of the numeric prefix starting at pos: [sign] digits [. digits] [E|D [sign] digits].
// Requires at least one digit in the mantissa.
int numericPrefixLength(const QString& s, int pos) {
    int i = pos;
    const int n = int(s.size());
    if (i < n && (s[i] == '+' || s[i] == '-')) ++i;
    int digits = 0;
    while (i < n && s[i].isDigit() && s[i].unicode() < 128) { ++i; ++digits; }
    if (i < n && s[i] == '.') {
        ++i;
        while (i < n && s[i].isDigit() && s[i].unicode() < 128) { ++i; ++digits; }
    }
    if (digits == 0) return 0;
    if (i < n && (s[i] == 'e' || s[i] == 'E' || s[i] == 'd' || s[i] == 'D')) {
        int j = i + 1;
        if (j < n && (s[j] == '+' || s[j] == '-')) ++j;
        int expDigits = 0;
        while (j < n && s[j].isDigit() && s[j].unicode() < 128) { ++j; ++expDigits; }
        if (expDigits > 0) i = j;
    }
    return i - pos;
}

double parsePrefix(const QString& s, int pos, int len) {
    QString t = s.mid(pos, len);
    t.replace('d', 'e').replace('D', 'e');
    return t.toDouble();
}

std::optional<double> strictNumber(const QString& text) {
    int start = 0;
    const int n = int(text.size());
    while (start < n && isBlank(text[start])) ++start;
    const int len = numericPrefixLength(text, start);
    if (len == 0) return std::nullopt;
    int end = start + len;
    while (end < n && isBlank(text[end])) ++end;
    if (end != n) return std::nullopt;
    const double v = parsePrefix(text, start, len);
    if (!std::isfinite(v)) return std::nullopt;
    return v;
}

template <typename Int>
Int roundToInt(double value) {
    if (!std::isfinite(value)) raise(err::Overflow);
    const double r = std::nearbyint(value); // default rounding mode: halves to even
    if (r < double(std::numeric_limits<Int>::min()) || r > double(std::numeric_limits<Int>::max()))
        raise(err::Overflow);
    return static_cast<Int>(r);
}

} // namespace

double leadingNumberValue(const QString& text) {
    int start = 0;
    while (start < text.size() && isBlank(text[start])) ++start;
    const int len = numericPrefixLength(text, start);
    return len == 0 ? 0.0 : parsePrefix(text, start, len);
}

double toNumber(const QString& text) {
    const auto v = strictNumber(text);
    if (!v) raise(err::TypeMismatch);
    return *v;
}

double integerPart(const QString& text) { return std::floor(toNumber(text)); }

qint16 toInt16(double value) { return roundToInt<qint16>(value); }
qint32 toInt32(double value) { return roundToInt<qint32>(value); }

bool readsAsNumber(const QString& text) { return strictNumber(text).has_value(); }

} // namespace tonara
