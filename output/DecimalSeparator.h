#pragma once

namespace pembrill {

// The decimal separator of the user's locale, for the number fields the user
// types. A separator that is not one ASCII character gives '.'.
char LocaleDecimalSeparator();

} // namespace pembrill
