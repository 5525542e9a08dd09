#pragma once

#include "forms/FormPicture.h"
#include "forms/PropertyLines.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace pembrill {

// The property values a form picture reads, each a value it cannot use
// giving nothing.

// Windows 95 drew in 16-bit coordinates: nothing of a form lay further out.
constexpr int CoordinateLimit = 32767;

int ClampCoordinate(int64_t value);

// A whole number, held within CoordinateLimit.
std::optional<int> ReadCoordinate(const PropertyValues& values, std::string_view name);

// True or False, either case.
std::optional<bool> ReadBoolean(const PropertyValues& values, std::string_view name);

// A clXxx name, a $00BBGGRR number or its decimal value, a system colour's
// number ($80000000 and its index).
std::optional<PictureColor> ReadColor(std::string_view value);

// Lays the object's own Font.Name, .Size, .Height, .Style and .Color over
// `font`; Size counts points of `pixelsPerInch`.
void ReadFont(const PropertyValues& values, int pixelsPerInch, PictureFont& font);

// Picture.Data: the graphic's class name as a short string, then its stream.
std::optional<PictureImage> ReadPictureData(std::string_view data);

// Glyph.Data, Icon.Data and the stream of Picture.Data: a file, or a file
// after its 4-byte length.
PictureImage ReadGraphic(std::string className, std::string_view stream);

} // namespace pembrill
