#pragma once

#include <string>
#include <vector>

namespace pembrill {

// The collation of every sorted list of the program: ascending, ignoring the
// case of A to Z, so that a blank sorts before digits and letters.
// Negative, zero or positive like strcmp.
int CompareListEntries(const std::string& a, const std::string& b);

// A list of byte strings with a selection, as the program's list boxes hold
// them. The windows implement it over their list boxes, tests and the plain
// logic over MemoryStringList, so that the logic that fills and walks the
// lists exists once.
class StringList {
public:
    virtual ~StringList() = default;
    virtual int Count() const = 0;
    virtual std::string Item(int index) const = 0;
    // A sorted list puts the item in its sorted place (after equal items);
    // an unsorted one at its end. Gives the index of the new item.
    virtual int Add(const std::string& item) = 0;
    virtual void Delete(int index) = 0;
    virtual void Clear() = 0;
    virtual bool Selected(int index) const = 0;
    virtual void SetSelected(int index, bool selected) = 0;

    std::vector<std::string> Items() const;
};

// Where a sorted list puts a new item: after the last item that does not
// sort after it.
int SortedInsertPosition(const StringList& list, const std::string& item);

class MemoryStringList : public StringList {
public:
    explicit MemoryStringList(bool sorted) : Sorted(sorted) {}

    int Count() const override { return static_cast<int>(Entries.size()); }
    std::string Item(int index) const override { return Entries[index].Text; }
    int Add(const std::string& item) override;
    void Delete(int index) override;
    void Clear() override { Entries.clear(); }
    bool Selected(int index) const override { return Entries[index].IsSelected; }
    void SetSelected(int index, bool selected) override { Entries[index].IsSelected = selected; }

private:
    struct Entry {
        std::string Text;
        bool IsSelected = false;
    };
    bool Sorted;
    std::vector<Entry> Entries;
};

} // namespace pembrill
