#include "MorseCode.h"

#include <QChar>

namespace tonara {

namespace {

struct Code {
    char32_t character;
    std::string_view pattern;
};

constexpr Code kCodes[] = {
    {U'A', ".-"},     {U'B', "-..."},   {U'C', "-.-."},   {U'D', "-.."},    {U'E', "."},      {U'F', "..-."},
    {U'G', "--."},    {U'H', "...."},   {U'I', ".."},     {U'J', ".---"},   {U'K', "-.-"},    {U'L', ".-.."},
    {U'M', "--"},     {U'N', "-."},     {U'O', "---"},    {U'P', ".--."},   {U'Q', "--.-"},   {U'R', ".-."},
    {U'S', "..."},    {U'T', "-"},      {U'U', "..-"},    {U'V', "...-"},   {U'W', ".--"},    {U'X', "-..-"},
    {U'Y', "-.--"},   {U'Z', "--.."},   {U'0', "-----"},  {U'1', ".----"},  {U'2', "..---"},  {U'3', "...--"},
    {U'4', "....-"},  {U'5', "....."},  {U'6', "-...."},  {U'7', "--..."},  {U'8', "---.."},  {U'9', "----."},
    {U'.', ".-.-.-"}, {U',', "--..--"}, {U'?', "..--.."}, {U':', "---..."}, {U'-', "-....-"}, {U'/', "-..-."},
    {U'\'', ".----."}, {U')', "-.--.-"}, {U';', "-.-.-."}, {U'(', "-.--."}, {U'=', "-...-"}, {U'@', ".--.-."},
};

} // namespace

std::string_view morsePattern(char32_t upper) {
    for (const Code& code : kCodes)
        if (code.character == upper) return code.pattern;
    return {};
}

bool morseAccepts(char32_t upper) { return upper == U' ' || !morsePattern(upper).empty(); }

char32_t morseUpper(char32_t c) { return QChar::toUpper(c); }

} // namespace tonara
