#pragma once

#include "report/LineSink.h"

#include <string>

namespace pembrill {

// Copies a source file into a section line for line, each optionally
// preceded by its number ("%4d: "). A file that cannot be opened gives its
// message and a three-line section that says so.
void WriteSourceListing(const std::string& path, bool lineNumbers, LineSink& sink);

} // namespace pembrill
