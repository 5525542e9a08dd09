#include "platform/AsciiCase.h"

#include <algorithm>

namespace pembrill {

namespace {

char LowerAsciiChar(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c + ('a' - 'A')) : c;
}

} // namespace

bool EqualIgnoringAsciiCase(std::string_view a, std::string_view b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                      [](char x, char y) { return LowerAsciiChar(x) == LowerAsciiChar(y); });
}

bool StartsWithIgnoringAsciiCase(std::string_view text, std::string_view prefix) {
    return text.size() >= prefix.size() &&
           EqualIgnoringAsciiCase(text.substr(0, prefix.size()), prefix);
}

std::string LowerAscii(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(), LowerAsciiChar);
    return text;
}

} // namespace pembrill
