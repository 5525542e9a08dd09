#pragma once

#include <cstdint>
#include <string>

namespace pembrill {

// Whole numbers as the dialogs accept them: optional leading spaces, then
// either an optional sign and decimal digits, or '$' and hexadecimal digits,
// and nothing after. Decimal must lie in the 32-bit signed range. Hex takes
// up to 32 significant bits as the bit pattern, so "$FFFFFFFF" gives -1 and
// "$100000000" fails. Leaves value alone on failure.
bool TryStrToInt(const std::string& text, int32_t& value);

// The decimal form alone: "$2" is no decimal integer.
bool TryDecimalStrToInt(const std::string& text, int32_t& value);

// Decimal numbers: optional spaces around, an optional sign, digits with at
// most one decimal separator, '.' or the locale's (at least one digit in
// all), an optional exponent ('E' or 'e', optional sign, digits). No
// thousands separators. '.' is always taken because the texts a user meets
// first are written with it, whatever the locale: the fields' own defaults
// ("0.1") and settings saved under another locale.
// A value beyond the range of double fails rather than becoming infinite.
// Leaves value alone on failure.
bool TryStrToFloat(const std::string& text, char localeSeparator, double& value);

} // namespace pembrill
