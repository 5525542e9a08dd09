#include "ui/Depfilt.h"

#include <QEvent>

namespace pembrill {

TDependencyFilterForm* DependencyFilterForm = nullptr;

TDependencyFilterForm::TDependencyFilterForm(QWidget* parent)
    : TFilterForm({"DependencyFilterForm", "Source Dependency Unit Filter", 346, 259,
                   "Suppress Units:", "Show Units:", "SuppressList", "ShowList", true},
                  parent) {}

// Opening a project refills the lists without touching the buttons, so they
// are brought up to date whenever the dialog comes up.
void TDependencyFilterForm::FormActivate() {
    SetButtons();
}

bool TDependencyFilterForm::event(QEvent* event) {
    if (event->type() == QEvent::WindowActivate)
        FormActivate();
    return TFilterForm::event(event);
}

} // namespace pembrill
