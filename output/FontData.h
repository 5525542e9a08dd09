#pragma once

#include <string>

class QRawFont;

namespace pembrill {

// Whether a PDF file can carry the font: its data holds TrueType or CFF
// outlines in an sfnt (a Type 1 font, or one of bitmaps only, does not).
bool HasEmbeddableOutlines(const QRawFont& font);

// The font's data as an sfnt file made of the tables the font gives, those
// a PDF file's subset of it needs: Qt gives a font's tables, not its file.
std::string SfntOf(const QRawFont& font);

} // namespace pembrill
