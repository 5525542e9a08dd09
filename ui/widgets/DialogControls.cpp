#include "ui/widgets/DialogControls.h"

#include "output/DisplayText.h"
#include "output/Printer.h"
#include "platform/NumberText.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace pembrill {

namespace {

template <typename Control> Control* Placed(Control* control, const char* name, QRect geometry) {
    control->setObjectName(name);
    control->setGeometry(geometry);
    return control;
}

} // namespace

QLabel* MakeLabel(QWidget& parent, const char* name, const QString& text, QRect geometry) {
    return Placed(new QLabel(text, &parent), name, geometry);
}

QLabel* MakeLabel(QWidget& parent, const char* name, const QString& text, QPoint at) {
    QLabel* label = Placed(new QLabel(text, &parent), name, QRect(at, QSize()));
    label->adjustSize();
    return label;
}

QPushButton* MakeButton(QWidget& parent, const char* name, const QString& text, QRect geometry,
                        const QString& hint) {
    QPushButton* button = Placed(new QPushButton(text, &parent), name, geometry);
    button->setToolTip(hint);
    button->setAutoDefault(false);
    return button;
}

QCheckBox* MakeCheckBox(QWidget& parent, const char* name, const QString& text, QRect geometry,
                        bool checked, const QString& hint) {
    QCheckBox* box = Placed(new QCheckBox(text, &parent), name, geometry);
    box->setToolTip(hint);
    box->setChecked(checked);
    return box;
}

QRadioButton* MakeRadio(QWidget& parent, const char* name, const QString& text, QRect geometry,
                        bool checked) {
    QRadioButton* radio = Placed(new QRadioButton(text, &parent), name, geometry);
    radio->setChecked(checked);
    return radio;
}

QLineEdit* MakeEdit(QWidget& parent, const char* name, const QString& text, QRect geometry,
                    const QString& hint) {
    QLineEdit* edit = Placed(new QLineEdit(text, &parent), name, geometry);
    edit->setToolTip(hint);
    return edit;
}

QGroupBox* MakeGroup(QWidget& parent, const char* name, const QString& title, QRect geometry) {
    return Placed(new QGroupBox(title, &parent), name, geometry);
}

ProgressControls MakeProgressControls(QWidget& window, const char* upperName,
                                      const char* lowerName) {
    auto* layout = new QVBoxLayout(&window);
    ProgressControls controls{new QLabel(&window), new QLabel(&window),
                              new QPushButton("&Cancel", &window)};
    controls.Upper->setObjectName(upperName);
    controls.Lower->setObjectName(lowerName);
    controls.Cancel->setObjectName("CancelButton");
    for (QLabel* label : {controls.Upper, controls.Lower}) {
        label->setAlignment(Qt::AlignCenter);
        layout->addWidget(label);
    }
    layout->addWidget(controls.Cancel, 0, Qt::AlignHCenter);
    return controls;
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
