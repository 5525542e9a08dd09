#pragma once

#include <QComboBox>
#include <QPoint>
#include <QRect>
#include <QString>
#include <QStringList>

class QAction;
class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QMenu;
class QMenuBar;
class QPushButton;
class QRadioButton;
class QWidget;

namespace pembrill {

// The makers of every window's controls. Each control gets its name as its
// object name, so that code and tests find it by the name the program gives
// it; a control with an empty name is one nobody looks for.

QLabel* MakeLabel(QWidget& parent, const char* name, const QString& text, QRect geometry);
// A label sized to its text.
QLabel* MakeLabel(QWidget& parent, const char* name, const QString& text, QPoint at);
// No button takes Enter from the fields: the windows have no default action
// but where they say so.
QPushButton* MakeButton(QWidget& parent, const char* name, const QString& text, QRect geometry,
                        const QString& hint = {});
QCheckBox* MakeCheckBox(QWidget& parent, const char* name, const QString& text, QRect geometry,
                        bool checked, const QString& hint = {});
QRadioButton* MakeRadio(QWidget& parent, const char* name, const QString& text, QRect geometry,
                        bool checked = false);
QLineEdit* MakeEdit(QWidget& parent, const char* name, const QString& text, QRect geometry,
                    const QString& hint);
QGroupBox* MakeGroup(QWidget& parent, const char* name, const QString& title, QRect geometry);
QMenu* MakeMenu(QMenuBar& bar, const char* name, const QString& caption);
// A progress window's two centred lines and its Cancel below them, laid out
// in the window.
struct ProgressControls {
    QLabel* Upper;
    QLabel* Lower;
    QPushButton* Cancel;
};
ProgressControls MakeProgressControls(QWidget& window, const char* upperName,
                                      const char* lowerName);
QAction* MakeMenuItem(QMenu& menu, const char* name, const QString& caption);

// An editable combo box. Typed text is taken as it stands: never completed
// from the list, never added to it.
template <typename ComboBox>
ComboBox* MakeComboBox(QWidget& parent, const char* name, const QStringList& items,
                       const QString& text, QRect geometry) {
    auto* box = new ComboBox(&parent);
    box->setObjectName(name);
    box->setEditable(true);
    box->setCompleter(nullptr);
    box->setInsertPolicy(QComboBox::NoInsert);
    box->addItems(items);
    box->setEditText(text);
    box->setGeometry(geometry);
    return box;
}

// The sizes a font size box offers.
const QStringList& FontSizeItems();

// A font box's list, refilled from the printer's fonts each time it drops
// down; the box's text stays as it was.
void RefillFontBox(QComboBox& box);

// The number boxes' check: the text of an edit field or combo box converts
// to a whole number (decimal, or '$' and hexadecimal digits).
bool HoldsWholeNumber(const QWidget& field);

} // namespace pembrill
