#pragma once

#include <string>

namespace pembrill {

// The form converter's full path from the Delphi 2 installation's Rootdir
// (HKEY_LOCAL_MACHINE first, then HKEY_CURRENT_USER), or "" when neither
// root names one.
void FindConverter(std::string& Path);

// The start-up check: a path that is empty or names no file is reported
// once with a warning and becomes "".
void CheckConverter(std::string& Path);

} // namespace pembrill
