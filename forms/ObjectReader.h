#pragma once

#include "forms/ObjectTree.h"

#include <string>

namespace pembrill {

// Reads the first object of a text form file into the tree as a new
// top-level item, with every object nested in it. Lines are told apart by
// their first token: "object", "inherited" and "inline" open a nested block,
// "end" closes the innermost one, anything else is a property line of the
// innermost open object; so is every line of a collection value ("Panels =
// <" to "end>"). A line of one token is an entry of its own. A file that
// ends early leaves the open objects with what was read; nesting depth is not
// limited. Messages go through ShowMessage; a file that cannot be
// opened or is not a text form file adds nothing.
void ReadTextFormFile(const std::string& path, ObjectTree& tree);

} // namespace pembrill
