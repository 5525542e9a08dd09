#pragma once

#include <functional>
#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace pembrill {

using PropertyValues = std::map<std::string, std::string, std::less<>>;

// The property entries of one object item read back into values. The object
// reader keeps a line as its first token, one blank and the rest, a string
// token without its quotes (docs/ARCHITECTURE.md); so
//
//     Font .Color = clBlack            Values["Font.Color"]    clBlack
//     Caption = 'It''s'#13#10          Values["Caption"]       It's CR LF
//     Caption = / Two  + / lines       Values["Caption"]       Two lines
//     Items .Strings = ( / A / B )     Lists["Items.Strings"]  A, B
//     Panels = < / item / Width = 60 / end >
//                                      Collections["Panels"]   {Width: 60}
//     Picture .Data = { / 0A0B / 0C }  Data["Picture.Data"]    the bytes 0A 0B 0C
//
// Strings are decoded to their bytes (a #code above 255 as UTF-8); any other
// value stays as written. A collection item keeps its plain values only. Hex
// data with a byte that is no hex digit, or an odd count of digits, gives no
// bytes. Lines of one token outside these blocks are passed over.
struct PropertyLines {
    PropertyValues Values;
    std::map<std::string, std::vector<std::string>, std::less<>> Lists;
    std::map<std::string, std::vector<PropertyValues>, std::less<>> Collections;
    std::map<std::string, std::string, std::less<>> Data;
};

PropertyLines ReadPropertyLines(const std::vector<std::string>& entries);

} // namespace pembrill
