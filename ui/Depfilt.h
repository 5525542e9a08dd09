#pragma once

#include "ui/FilterForm.h"

namespace pembrill {

// Divides unit names between SuppressList and ShowList; the dependency
// report shows only units of ShowList. Both lists are sorted.
class TDependencyFilterForm : public TFilterForm {
    Q_OBJECT

public:
    explicit TDependencyFilterForm(QWidget* parent = nullptr);

    StringList& SuppressStrings() { return LeftStrings(); }
    StringList& ShowStrings() { return RightStrings(); }

    void FormActivate();

protected:
    bool event(QEvent* event) override;
};

extern TDependencyFilterForm* DependencyFilterForm;

} // namespace pembrill
