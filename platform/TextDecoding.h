#pragma once

#include <string>

namespace pembrill {

// The one way bytes read from project, unit, form and print files become
// display text: valid UTF-8 (a leading BOM dropped) is taken as UTF-8,
// anything else as Windows-1252. The result is UTF-8.
std::string DecodeForDisplay(const std::string& bytes);

} // namespace pembrill
