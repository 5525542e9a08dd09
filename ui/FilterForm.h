#pragma once

#include "ui/widgets/ListBoxStrings.h"

#include <QDialog>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QToolButton>

namespace pembrill {

// The twin layout and moves of the two filter dialogs: a list on the left, a
// list on the right, four move buttons between them and OK below. Other code
// fills and reads the lists; the dialog only moves names between them. Every
// move counts at once: how the dialog is closed is never looked at.
class TFilterForm : public QDialog {
    Q_OBJECT

public:
    // Move the selected items, or all items, from one list to the other.
    void IncludeBtnClick();
    void ExcludeBtnClick();
    void IncAllBtnClick();
    void ExcAllBtnClick();
    // A button is enabled exactly when the list it moves from is not empty.
    void SetButtons();

protected:
    struct Setup {
        const char* FormName;
        const char* Caption;
        int ClientWidth;
        int ClientHeight;
        const char* SrcCaption;
        const char* DstCaption;
        const char* LeftListName;
        const char* RightListName;
        bool RightSorted;
    };

    TFilterForm(const Setup& setup, QWidget* parent);

    StringList& LeftStrings() { return LeftItems; }
    StringList& RightStrings() { return RightItems; }

    void showEvent(QShowEvent* event) override;

private:
    void PlaceControls();
    void ConnectHandlers();
    void MoveSelection(QListWidget& sourceBox, StringList& source, StringList& target);
    void MoveAll(QListWidget& sourceBox, StringList& source, StringList& target);
    static int GetFirstSelection(const StringList& list);
    static void MoveSelected(StringList& source, StringList& target);
    void SetItem(QListWidget& list, int index);

    QLabel* SrcLabel = new QLabel(this);
    QLabel* DstLabel = new QLabel(this);
    QListWidget* LeftList = new QListWidget(this);
    QListWidget* RightList = new QListWidget(this);
    QToolButton* IncludeBtn = new QToolButton(this);
    QToolButton* IncAllBtn = new QToolButton(this);
    QToolButton* ExcludeBtn = new QToolButton(this);
    QToolButton* ExAllBtn = new QToolButton(this);
    QPushButton* OKBtn = new QPushButton(this);
    ListBoxStrings LeftItems{*LeftList, true};
    ListBoxStrings RightItems;
};

} // namespace pembrill
