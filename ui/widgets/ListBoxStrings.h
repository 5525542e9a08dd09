#pragma once

#include "source/StringList.h"

class QListWidget;

namespace pembrill {

// A list box seen as a StringList, so that the plain logic fills and walks
// the very list the user sees. Each item keeps its bytes; the text shown is
// their display form. A sorted list box puts new items in the program's own
// collation, never Qt's.
class ListBoxStrings : public StringList {
public:
    ListBoxStrings(QListWidget& listBox, bool sorted) : ListBox(listBox), Sorted(sorted) {}

    int Count() const override;
    std::string Item(int index) const override;
    int Add(const std::string& item) override;
    void Delete(int index) override;
    void Clear() override;
    bool Selected(int index) const override;
    void SetSelected(int index, bool selected) override;

private:
    QListWidget& ListBox;
    bool Sorted;
};

} // namespace pembrill
