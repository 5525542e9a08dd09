#pragma once

#include <QComboBox>
#include <QRect>
#include <QStringList>

namespace pembrill {

// An editable combo box of a dialog. Typed text is taken as it stands: never
// completed from the list, never added to it.
template <typename ComboBox>
ComboBox* MakeComboBox(QWidget& group, const char* name, const QStringList& items, const char* text,
                       QRect geometry) {
    auto* box = new ComboBox(&group);
    box->setObjectName(name);
    box->setEditable(true);
    box->setCompleter(nullptr);
    box->setInsertPolicy(QComboBox::NoInsert);
    box->addItems(items);
    box->setEditText(text);
    box->setGeometry(geometry);
    return box;
}

} // namespace pembrill
