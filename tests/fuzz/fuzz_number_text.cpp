// The number texts: strict reading agrees with the key filter, integer parts
// and rounding stay where they belong, and signed texts read back.
#include "NumberText.h"
#include "RuntimeError.h"
#include "TextFile.h"

#include <cmath>
#include <cstdlib>
#include <cstring>

namespace {
void check(bool condition) {
    if (!condition) std::abort();
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace tonara;
    const QString text = decodeAnsi(QByteArray(reinterpret_cast<const char*>(data), qsizetype(size)));
    double value = 0;
    bool strict = true;
    try {
        value = toNumber(text);
    } catch (const RuntimeError& failure) {
        check(failure.number() == err::TypeMismatch);
        strict = false;
    }
    check(strict == readsAsNumber(text));
    if (strict) {
        check(std::isfinite(value));
        const double whole = integerPart(text);
        check(whole <= value && value - whole <= 1);
        check(leadingNumberValue(text) == value);
        for (auto round : {+[](double v) { return double(toInt16(v)); }, +[](double v) { return double(toInt32(v)); }}) {
            try {
                check(std::fabs(round(value) - value) <= 0.5);
            } catch (const RuntimeError& failure) {
                check(failure.number() == err::Overflow);
            }
        }
    }
    qint64 number = 0;
    std::memcpy(&number, data, std::min(size, sizeof number));
    if (number != std::numeric_limits<qint64>::min() && std::llabs(number) < (qint64(1) << 53))
        check(toNumber(signedNumberText(number)) == double(number));
    return 0;
}
