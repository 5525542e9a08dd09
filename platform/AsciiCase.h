#pragma once

#include <string>
#include <string_view>

namespace pembrill {

// Windows compares file and registry names without regard to case. Our names
// are 8-bit bytes of unknown code page, so only A to Z fold.
bool EqualIgnoringAsciiCase(std::string_view a, std::string_view b);

bool StartsWithIgnoringAsciiCase(std::string_view text, std::string_view prefix);
// The text with A to Z turned into a to z, every other byte as it is.
std::string LowerAscii(std::string text);

} // namespace pembrill
