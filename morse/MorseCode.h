#pragma once
// International Morse code as the Morse tool keys it: the patterns of its 48
// characters ('.' a dot, '-' a dash) and the space, which has none.

#include <string_view>

namespace tonara {

// The pattern of an upper-case character; empty for the space and for any
// character outside the set.
std::string_view morsePattern(char32_t upper);

// The 48 characters with a pattern, and the space.
bool morseAccepts(char32_t upper);

// Upper-cases one character on its own, so that every character stays one.
char32_t morseUpper(char32_t c);

} // namespace tonara
