#include "source/StringList.h"

#include "platform/ByteText.h"

#include <algorithm>

namespace pembrill {

int CompareListEntries(const std::string& a, const std::string& b) {
    const size_t common = std::min(a.size(), b.size());
    for (size_t i = 0; i < common; ++i) {
        const auto ca = static_cast<unsigned char>(LowerAsciiChar(a[i]));
        const auto cb = static_cast<unsigned char>(LowerAsciiChar(b[i]));
        if (ca != cb)
            return ca < cb ? -1 : 1;
    }
    if (a.size() == b.size())
        return 0;
    return a.size() < b.size() ? -1 : 1;
}

std::vector<std::string> StringList::Items() const {
    std::vector<std::string> items;
    items.reserve(Count());
    for (int i = 0; i < Count(); ++i)
        items.push_back(Item(i));
    return items;
}

int SortedInsertPosition(const StringList& list, const std::string& item) {
    int low = 0;
    int high = list.Count();
    while (low < high) {
        const int middle = low + (high - low) / 2;
        if (CompareListEntries(list.Item(middle), item) <= 0)
            low = middle + 1;
        else
            high = middle;
    }
    return low;
}

int MemoryStringList::Add(const std::string& item) {
    const int position = Sorted ? SortedInsertPosition(*this, item) : Count();
    Entries.insert(Entries.begin() + position, Entry{item, false});
    return position;
}

void MemoryStringList::Delete(int index) {
    Entries.erase(Entries.begin() + index);
}

} // namespace pembrill
