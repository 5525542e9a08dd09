#pragma once

namespace pembrill {

// Before the QApplication of a program that runs the windows hidden
// (pembrill-cli, the long run): Qt's offscreen platform unless the caller
// chose one, and only Qt's critical notes on stderr, which otherwise carries
// the program's own lines that tests and people read.
void PrepareHeadlessQt();

} // namespace pembrill
