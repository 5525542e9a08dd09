#include "app/DialogControls.h"

#include "platform/DisplayText.h"
#include "platform/NumberText.h"
#include "platform/Printer.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>

namespace pembrill {

QLabel* MakeLabel(QWidget& parent, const char* name, const QString& text, QRect geometry) {
    auto* label = new QLabel(text, &parent);
    label->setObjectName(name);
    label->setGeometry(geometry);
    return label;
}

QLabel* MakeLabel(QWidget& parent, const char* name, const QString& text, QPoint at) {
    auto* label = new QLabel(text, &parent);
    label->setObjectName(name);
    label->move(at);
    label->adjustSize();
    return label;
}

QPushButton* MakeButton(QWidget& parent, const char* name, const QString& text, QRect geometry,
                        const QString& hint) {
    auto* button = new QPushButton(text, &parent);
    button->setObjectName(name);
    button->setToolTip(hint);
    button->setAutoDefault(false);
    button->setGeometry(geometry);
    return button;
}

QCheckBox* MakeCheckBox(QWidget& parent, const char* name, const QString& text, QRect geometry,
                        bool checked, const QString& hint) {
    auto* box = new QCheckBox(text, &parent);
    box->setObjectName(name);
    box->setToolTip(hint);
    box->setChecked(checked);
    box->setGeometry(geometry);
    return box;
}

QRadioButton* MakeRadio(QWidget& parent, const char* name, const QString& text, QRect geometry) {
    auto* radio = new QRadioButton(text, &parent);
    radio->setObjectName(name);
    radio->setGeometry(geometry);
    return radio;
}

QGroupBox* MakeGroup(QWidget& parent, const char* name, const QString& title, QRect geometry) {
    auto* group = new QGroupBox(title, &parent);
    group->setObjectName(name);
    group->setGeometry(geometry);
    return group;
}

QMenu* MakeMenu(QMenuBar& bar, const char* name, const QString& caption) {
    QMenu* menu = bar.addMenu(caption);
    menu->setObjectName(name);
    return menu;
}

QAction* MakeMenuItem(QMenu& menu, const char* name, const QString& caption) {
    QAction* item = menu.addAction(caption);
    item->setObjectName(name);
    return item;
}

const QStringList& FontSizeItems() {
    static const QStringList sizes = {"6", "8", "10", "12", "14", "16", "20"};
    return sizes;
}

void RefillFontBox(QComboBox& box) {
    const QString text = box.currentText();
    box.clear();
    box.addItems(PrinterFontNames());
    box.setCurrentIndex(box.findText(text, Qt::MatchExactly | Qt::MatchCaseSensitive));
    box.setEditText(text);
}

bool HoldsWholeNumber(const QWidget& field) {
    const auto* box = qobject_cast<const QComboBox*>(&field);
    const QString text = box ? box->currentText() : qobject_cast<const QLineEdit*>(&field)->text();
    int32_t value = 0;
    return TryStrToInt(FromDisplay(text), value);
}

} // namespace pembrill
