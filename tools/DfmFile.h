#pragma once

#include <ostream>
#include <string>
#include <string_view>

namespace pembrill {

// Writes the text form of a form file's bytes. A binary form (the bare
// stream, or one behind a 16-bit resource header) is converted; a form that
// is already text is copied unchanged but for a leading UTF-8 byte-order
// mark, which is dropped. Anything else raises FormFormatError.
void ConvertForm(std::string_view form, std::ostream& text);

// The text form file's name for a form file: the name without its
// directory, with its extension replaced by ".txt" (or ".txt" appended when
// it has none). Unit1.dfm and forms/Unit1.dfm both give Unit1.txt.
std::string TextFileNameFor(const std::string& formPath);

// Converts the form file into the text form file. The text is written to a
// temporary file beside textPath and renamed over it only when complete, so
// on any failure an existing text form file is left as it was and nothing
// else is left behind. Raises FormFormatError or FileError.
void ConvertDfmFile(const std::string& formPath, const std::string& textPath);

} // namespace pembrill
