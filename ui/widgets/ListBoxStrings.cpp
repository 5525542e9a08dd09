#include "ui/widgets/ListBoxStrings.h"

#include "output/DisplayText.h"

#include <QListWidget>

namespace pembrill {

namespace {

constexpr int BytesRole = Qt::UserRole;

} // namespace

int ListBoxStrings::Count() const {
    return ListBox.count();
}

std::string ListBoxStrings::Item(int index) const {
    return ListBox.item(index)->data(BytesRole).toByteArray().toStdString();
}

int ListBoxStrings::Add(const std::string& item) {
    const int position = Sorted ? SortedInsertPosition(*this, item) : Count();
    auto* listItem = new QListWidgetItem(ToDisplay(item));
    listItem->setData(BytesRole, QByteArray::fromStdString(item));
    ListBox.insertItem(position, listItem);
    return position;
}

void ListBoxStrings::Delete(int index) {
    delete ListBox.takeItem(index);
}

void ListBoxStrings::Clear() {
    ListBox.clear();
}

bool ListBoxStrings::Selected(int index) const {
    return ListBox.item(index)->isSelected();
}

void ListBoxStrings::SetSelected(int index, bool selected) {
    ListBox.item(index)->setSelected(selected);
}

} // namespace pembrill
