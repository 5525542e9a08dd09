#pragma once

#include <QComboBox>

namespace pembrill {

// A combo box that says when its list is about to drop down, so that its
// owner can refill the list first.
class DropDownComboBox : public QComboBox {
    Q_OBJECT

public:
    using QComboBox::QComboBox;

    void showPopup() override;

signals:
    void DroppingDown();
};

} // namespace pembrill
