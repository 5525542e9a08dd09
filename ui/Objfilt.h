#pragma once

#include "ui/FilterForm.h"

namespace pembrill {

// Divides the object types found by Analyze between AvailableList (sorted)
// and SelectedList (in the order of moving); the objects report prints the
// objects of the selected types. Analyze calls SetButtons after filling.
class TObjectFilterForm : public TFilterForm {
    Q_OBJECT

public:
    explicit TObjectFilterForm(QWidget* parent = nullptr);

    StringList& AvailableStrings() { return LeftStrings(); }
    StringList& SelectedStrings() { return RightStrings(); }
};

extern TObjectFilterForm* ObjectFilterForm;

} // namespace pembrill
