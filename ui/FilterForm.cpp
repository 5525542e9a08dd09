#include "ui/FilterForm.h"

#include "ui/widgets/CenterOnScreen.h"

#include <QFont>

namespace pembrill {

namespace {

QFont SmallBoldFont() {
    return QFont("MS Sans Serif", 8, QFont::Bold);
}

void PlaceLabel(QLabel& label, const char* name, const char* text, int left) {
    label.setObjectName(name);
    label.setText(text);
    label.setFont(SmallBoldFont());
    label.setGeometry(left, 8, 145, 16);
}

void PlaceList(QListWidget& list, const char* name, int left) {
    list.setObjectName(name);
    list.setSelectionMode(QAbstractItemView::ExtendedSelection);
    list.setGeometry(left, 24, 144, 185);
}

// Like a speed button: it never takes the focus from the lists.
void PlaceMoveButton(QToolButton& button, const char* name, const char* text, int top) {
    button.setObjectName(name);
    button.setText(text);
    button.setFont(SmallBoldFont());
    button.setAutoRaise(true);
    button.setFocusPolicy(Qt::NoFocus);
    button.setGeometry(160, top, 24, 24);
}

} // namespace

TFilterForm::TFilterForm(const Setup& setup, QWidget* parent)
    : QDialog(parent), RightItems(*RightList, setup.RightSorted) {
    setObjectName(setup.FormName);
    setWindowTitle(setup.Caption);
    setFixedSize(setup.ClientWidth, setup.ClientHeight);
    setFont(QFont("System", 10, QFont::Bold));
    PlaceLabel(*SrcLabel, "SrcLabel", setup.SrcCaption, 8);
    PlaceLabel(*DstLabel, "DstLabel", setup.DstCaption, 192);
    PlaceList(*LeftList, setup.LeftListName, 8);
    PlaceList(*RightList, setup.RightListName, 192);
    PlaceControls();
    ConnectHandlers();
}

void TFilterForm::PlaceControls() {
    PlaceMoveButton(*IncludeBtn, "IncludeBtn", ">", 32);
    PlaceMoveButton(*IncAllBtn, "IncAllBtn", ">>", 64);
    PlaceMoveButton(*ExcludeBtn, "ExcludeBtn", "<", 96);
    PlaceMoveButton(*ExAllBtn, "ExAllBtn", "<<", 128);
    ExcludeBtn->setEnabled(false);
    ExAllBtn->setEnabled(false);
    OKBtn->setObjectName("OKBtn");
    OKBtn->setText("OK");
    OKBtn->setDefault(true);
    OKBtn->setGeometry(136, 220, 77, 27);
}

void TFilterForm::ConnectHandlers() {
    connect(IncludeBtn, &QToolButton::clicked, this, &TFilterForm::IncludeBtnClick);
    connect(IncAllBtn, &QToolButton::clicked, this, &TFilterForm::IncAllBtnClick);
    connect(ExcludeBtn, &QToolButton::clicked, this, &TFilterForm::ExcludeBtnClick);
    connect(ExAllBtn, &QToolButton::clicked, this, &TFilterForm::ExcAllBtnClick);
    connect(LeftList, &QListWidget::itemDoubleClicked, this, &TFilterForm::IncludeBtnClick);
    connect(RightList, &QListWidget::itemDoubleClicked, this, &TFilterForm::ExcludeBtnClick);
    connect(OKBtn, &QPushButton::clicked, this, &QDialog::accept);
}

void TFilterForm::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    CenterOnScreen(*this);
    OKBtn->setFocus();
}

void TFilterForm::IncludeBtnClick() {
    MoveSelection(*LeftList, LeftItems, RightItems);
}

void TFilterForm::ExcludeBtnClick() {
    MoveSelection(*RightList, RightItems, LeftItems);
}

void TFilterForm::IncAllBtnClick() {
    MoveAll(*LeftList, LeftItems, RightItems);
}

void TFilterForm::ExcAllBtnClick() {
    MoveAll(*RightList, RightItems, LeftItems);
}

// The item that takes the place of the first moved one is selected
// afterwards, ready for the next move.
void TFilterForm::MoveSelection(QListWidget& sourceBox, StringList& source, StringList& target) {
    const int first = GetFirstSelection(source);
    MoveSelected(source, target);
    SetItem(sourceBox, first);
}

void TFilterForm::MoveAll(QListWidget& sourceBox, StringList& source, StringList& target) {
    for (int i = 0; i < source.Count(); ++i)
        target.Add(source.Item(i));
    source.Clear();
    SetItem(sourceBox, 0);
}

int TFilterForm::GetFirstSelection(const StringList& list) {
    for (int i = 0; i < list.Count(); ++i) {
        if (list.Selected(i))
            return i;
    }
    return -1;
}

// From the last item up, so that deleting does not shift the items still
// to be visited; an unsorted target thus receives them bottom one first.
void TFilterForm::MoveSelected(StringList& source, StringList& target) {
    for (int i = source.Count() - 1; i >= 0; --i) {
        if (!source.Selected(i))
            continue;
        target.Add(source.Item(i));
        source.Delete(i);
    }
}

void TFilterForm::SetItem(QListWidget& list, int index) {
    list.setFocus();
    const int last = list.count() - 1;
    if (index == -1)
        index = 0;
    else if (index > last)
        index = last;
    if (index >= 0)
        list.setCurrentRow(index, QItemSelectionModel::ClearAndSelect);
    SetButtons();
}

void TFilterForm::SetButtons() {
    const bool canInclude = LeftItems.Count() > 0;
    const bool canExclude = RightItems.Count() > 0;
    IncludeBtn->setEnabled(canInclude);
    IncAllBtn->setEnabled(canInclude);
    ExcludeBtn->setEnabled(canExclude);
    ExAllBtn->setEnabled(canExclude);
}

} // namespace pembrill
