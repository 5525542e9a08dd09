#include "source/StringList.h"

#include <gtest/gtest.h>

using namespace pembrill;

namespace {

std::string Joined(const StringList& list) {
    std::string text;
    for (const auto& item : list.Items())
        text += "[" + item + "]";
    return text;
}

} // namespace

TEST(StringListTest, SortedListIgnoresCaseAndPutsBlanksFirst) {
    MemoryStringList list(true);
    for (const char* item : {"Form2  b.pas", "                    z.pas", "form1  a.pas",
                             "                    Project1.dpr", "_under", "9lives"})
        list.Add(item);
    EXPECT_EQ(Joined(list), "[                    Project1.dpr][                    z.pas]"
                            "[9lives][_under][form1  a.pas][Form2  b.pas]");
}

TEST(StringListTest, EqualItemsKeepTheirOrderOfAdding) {
    MemoryStringList list(true);
    list.Add("Beta");
    list.Add("alpha");
    list.Add("BETA");
    list.Add("ALPHA");
    EXPECT_EQ(Joined(list), "[alpha][ALPHA][Beta][BETA]");
}

TEST(StringListTest, UnsortedListAppendsAndSelectionFollowsItems) {
    MemoryStringList list(false);
    list.Add("b");
    list.Add("a");
    list.SetSelected(1, true);
    list.Delete(0);
    EXPECT_EQ(Joined(list), "[a]");
    EXPECT_TRUE(list.Selected(0));
}

TEST(StringListTest, BytesAboveAsciiSortAfterLetters) {
    EXPECT_LT(CompareListEntries("zeta", "\xC9tude"), 0);
    EXPECT_EQ(CompareListEntries("ABC", "abc"), 0);
    EXPECT_LT(CompareListEntries("ab", "abc"), 0);
}
