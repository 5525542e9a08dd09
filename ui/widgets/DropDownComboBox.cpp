#include "ui/widgets/DropDownComboBox.h"

namespace pembrill {

void DropDownComboBox::showPopup() {
    emit DroppingDown();
    QComboBox::showPopup();
}

} // namespace pembrill
