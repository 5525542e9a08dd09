#pragma once

#include <string_view>

namespace pembrill {

// Windows compares file and registry names without regard to case. Our names
// are 8-bit bytes of unknown code page, so only A to Z fold.
bool EqualIgnoringAsciiCase(std::string_view a, std::string_view b);

bool StartsWithIgnoringAsciiCase(std::string_view text, std::string_view prefix);

} // namespace pembrill
