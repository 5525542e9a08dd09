#include "forms/PropertyLines.h"

#include <gtest/gtest.h>

using namespace pembrill;

namespace {

// What the lines hold under a name: its value, its list items joined by '|'
// or its data bytes.
std::string Held(const PropertyLines& lines, const std::string& name) {
    if (const auto value = lines.Values.find(name); value != lines.Values.end())
        return value->second;
    if (const auto data = lines.Data.find(name); data != lines.Data.end())
        return data->second;
    std::string joined;
    for (const auto& item : lines.Lists.at(name))
        joined += (joined.empty() ? "" : "|") + item;
    return joined;
}

struct LinesCase {
    // Entries as the object reader makes them from a form file's lines.
    std::vector<std::string> Entries;
    std::string Name;
    std::string Expected;
};

TEST(PropertyLinesTest, StringsListsAndDataReadBackAsTheFormFileWroteThem) {
    const LinesCase cases[] = {
        {{"Font .Color = clBlack"}, "Font.Color", "clBlack"},
        {{"Caption = 'It''s'#13#10'ok'"}, "Caption", "It's\r\nok"},
        {{"Hint = #$263A#65"},
         "Hint",
         "\xE2\x98\xBA"
         "A"},
        {{"Caption = 'open"}, "Caption", "open"},
        // Caption =
        //   'One ' +
        //   #13'two' +
        //   'three'
        {{"Caption =", "One  +", "# 13'two' +", "three"}, "Caption", "One \rtwothree"},
        // Items.Strings = (
        //   'One'
        //   'It''s' +
        //   'joined'
        //   'a'#9)
        {{"Items .Strings = (", "One", "It 's' +", "joined", "a #9)", "Tag = 1"},
         "Items.Strings",
         "One|It'sjoined|a\t"},
        {{"Items .Strings = (", "a #9)", "Tag = 1"}, "Tag", "1"},
        {{"Lines .Strings = (", "(x)", "end", "Last )"}, "Lines.Strings", "(x)|end|Last"},
        {{"TabStops = (", "8", "16 )"}, "TabStops", "8|16"},
        {{"Picture .Data = {", "07544269746 D6170", "ABCDEF }", "Stretch = True"},
         "Picture.Data",
         "\x07TBitmap\xAB\xCD\xEF"},
        {{"Picture .Data = {", "ABCDEF }", "Stretch = True"}, "Stretch", "True"},
        {{"Glyph .Data = {", "ABC }"}, "Glyph.Data", ""},
        {{"Glyph .Data = {", "AB CX }"}, "Glyph.Data", ""},
        // Collection lines stay out of the object's values.
        {{"Panels = <", "item", "Width = 60", "end >", "Width = 5"}, "Width", "5"},
    };
    for (const LinesCase& test : cases) {
        SCOPED_TRACE(test.Entries.front());
        EXPECT_EQ(Held(ReadPropertyLines(test.Entries), test.Name), test.Expected);
    }
}

} // namespace
