#include "ui/Objfilt.h"

namespace pembrill {

TObjectFilterForm* ObjectFilterForm = nullptr;

TObjectFilterForm::TObjectFilterForm(QWidget* parent)
    : TFilterForm({"ObjectFilterForm", "Objects Filter", 347, 255, "Available Object Types:",
                   "Selected Object Types:", "AvailableList", "SelectedList", false},
                  parent) {}

} // namespace pembrill
