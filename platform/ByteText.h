#pragma once

#include <string>
#include <string_view>

namespace pembrill {

// The small helpers every reader of the program's bytes shares. Our texts
// are 8-bit bytes of unknown code page, so only A to Z fold, only 0 to 9 and
// A to F are digits, and only the space and the TAB are blanks.

// Windows compares file and registry names without regard to case.
constexpr char LowerAsciiChar(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c + ('a' - 'A')) : c;
}

bool EqualIgnoringAsciiCase(std::string_view a, std::string_view b);
bool StartsWithIgnoringAsciiCase(std::string_view text, std::string_view prefix);
// The text with A to Z turned into a to z, every other byte as it is.
std::string LowerAscii(std::string text);

// The value of a hexadecimal digit (either case); -1 for any other byte.
int HexDigitValue(char c);

bool IsBlank(char c);
// The text without the blanks at its ends.
std::string_view TrimmedBlanks(std::string_view text);

} // namespace pembrill
