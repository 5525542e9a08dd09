#pragma once

#include "forms/ObjectTree.h"

#include <string>

namespace pembrill {

class TParser;

// Reads one object block of a text form file into the tree, with every
// object nested in it, as the last child of `parent` (0 for a form's top
// object). The scanner stands just after the block's "object" or
// "inherited" token. Lines are told apart by their first token alone:
// "object" and "inherited" open a nested block, "end" closes the innermost
// one, anything else is a property line of the innermost open object. A
// file that ends early leaves the open objects with what was read.
// Nesting depth is not limited.
void ReadObject(TParser& parser, int parent, ObjectTree& tree);

// Reads the first object of a text form file into the tree as a new
// top-level item. Messages go through ShowMessage; a file that cannot be
// opened or is not a text form file adds nothing.
void ReadTextFormFile(const std::string& path, ObjectTree& tree);

} // namespace pembrill
