#include "ui/FilterForm.h"

#include "ui/Depfilt.h"
#include "ui/Objfilt.h"

#include <QApplication>
#include <QTest>
#include <QToolButton>

#include <gtest/gtest.h>

#include <memory>
#include <tuple>
#include <vector>

using namespace pembrill;

namespace {

// A filter dialog with its two lists, the left one always sorted.
struct FilterDialog {
    StringList* Left;
    StringList* Right;
    std::unique_ptr<TFilterForm> Form;
};

FilterDialog MakeUnitFilter() {
    auto form = std::make_unique<TDependencyFilterForm>();
    return {&form->SuppressStrings(), &form->ShowStrings(), std::move(form)};
}

FilterDialog MakeObjectTypeFilter() {
    auto form = std::make_unique<TObjectFilterForm>();
    return {&form->AvailableStrings(), &form->SelectedStrings(), std::move(form)};
}

// What sets the two dialogs apart.
struct FilterKind {
    const char* Name;
    FilterDialog (*Make)();
    const char* Caption;
    QSize Size;
    const char* SrcCaption;
    const char* DstCaption;
    const char* LeftList;
    const char* RightList;
    // An unsorted right list takes new items at its end.
    bool RightSorted;
    // The unit filter brings its buttons up to date when it comes up; the
    // object-type filter waits for Analyze to do it.
    bool ButtonsFollowWhenShown;
};

const FilterKind UnitFilter("Units", MakeUnitFilter, "Source Dependency Unit Filter",
                            QSize(346, 259), "Suppress Units:", "Show Units:", "SuppressList",
                            "ShowList", true, true);
const FilterKind ObjectTypeFilter("ObjectTypes", MakeObjectTypeFilter, "Objects Filter",
                                  QSize(347, 255), "Available Object Types:",
                                  "Selected Object Types:", "AvailableList", "SelectedList", false,
                                  false);

std::string Joined(const StringList& list) {
    std::string text;
    for (int i = 0; i < list.Count(); ++i)
        text += (list.Selected(i) ? "[*" : "[") + list.Item(i) + "]";
    return text;
}

class FilterFormTest : public testing::TestWithParam<FilterKind> {
protected:
    FilterFormTest() : Dialog(GetParam().Make()), Form(*Dialog.Form) {
        for (const char* name : {"Windows", "SysUtils", "classes", "Forms", "Dialogs"})
            Left().Add(name);
        Right().Add("Main");
        Form.SetButtons();
    }

    StringList& Left() { return *Dialog.Left; }
    StringList& Right() { return *Dialog.Right; }
    // The right list as the dialog of this kind holds it.
    std::string ByKind(const std::string& sorted, const std::string& unsorted) const {
        return GetParam().RightSorted ? sorted : unsorted;
    }

    QListWidget& List(const char* name) { return *Form.findChild<QListWidget*>(name); }
    QToolButton& Button(const char* name) { return *Form.findChild<QToolButton*>(name); }

    // Which of > >> < << are enabled, as "1100".
    std::string Enabled() {
        std::string flags;
        for (const char* name : {"IncludeBtn", "IncAllBtn", "ExcludeBtn", "ExAllBtn"})
            flags += Button(name).isEnabled() ? '1' : '0';
        return flags;
    }

    void ShowActive() {
        Form.show();
        QApplication::setActiveWindow(&Form);
        ASSERT_TRUE(QTest::qWaitFor([this] { return QApplication::activeWindow() == &Form; }));
    }

    void DoubleClick(QListWidget& list, int row) {
        const QPoint on = list.visualItemRect(list.item(row)).center();
        QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, on);
        QTest::mouseDClick(list.viewport(), Qt::LeftButton, {}, on);
    }

    FilterDialog Dialog;
    TFilterForm& Form;
};

} // namespace

TEST_P(FilterFormTest, SizeAndPlacesFollowTheLayout) {
    const FilterKind& kind = GetParam();
    EXPECT_EQ(Form.windowTitle(), kind.Caption);
    EXPECT_EQ(Form.size(), kind.Size);
    EXPECT_EQ(Form.minimumSize(), Form.maximumSize());
    const std::vector<std::tuple<const char*, QString, QRect>> places = {
        {"SrcLabel", kind.SrcCaption, {8, 8, 145, 16}},
        {"DstLabel", kind.DstCaption, {192, 8, 145, 16}},
        {kind.LeftList, "", {8, 24, 144, 185}},
        {kind.RightList, "", {192, 24, 144, 185}},
        {"IncludeBtn", ">", {160, 32, 24, 24}},
        {"IncAllBtn", ">>", {160, 64, 24, 24}},
        {"ExcludeBtn", "<", {160, 96, 24, 24}},
        {"ExAllBtn", "<<", {160, 128, 24, 24}},
        {"OKBtn", "OK", {136, 220, 77, 27}}};
    for (const auto& [name, text, place] : places) {
        SCOPED_TRACE(name);
        const QWidget* control = Form.findChild<QWidget*>(name);
        ASSERT_NE(control, nullptr);
        EXPECT_EQ(control->geometry(), place);
        if (const auto* label = qobject_cast<const QLabel*>(control))
            EXPECT_EQ(label->text(), text);
        else if (const auto* button = qobject_cast<const QAbstractButton*>(control))
            EXPECT_EQ(button->text(), text);
    }
    for (const char* name : {"IncludeBtn", "IncAllBtn", "ExcludeBtn", "ExAllBtn"}) {
        EXPECT_TRUE(Button(name).font().bold()) << name;
        EXPECT_EQ(Button(name).font().pointSize(), 8) << name;
    }
    EXPECT_EQ(List(kind.RightList).selectionMode(), QAbstractItemView::ExtendedSelection);
    EXPECT_TRUE(Form.findChild<QPushButton*>("OKBtn")->isDefault());
}

TEST_P(FilterFormTest, MovesToTheLeftAreDisabledAtFirst) {
    const FilterDialog fresh = GetParam().Make();
    EXPECT_FALSE(fresh.Form->findChild<QToolButton*>("ExcludeBtn")->isEnabled());
    EXPECT_FALSE(fresh.Form->findChild<QToolButton*>("ExAllBtn")->isEnabled());
}

TEST_P(FilterFormTest, MovingTheSelectionSelectsTheItemThatTookItsPlace) {
    Left().SetSelected(1, true);
    Left().SetSelected(3, true);
    Form.IncludeBtnClick();
    EXPECT_EQ(Joined(Left()), "[classes][*Forms][Windows]");
    // Moved from the bottom up.
    EXPECT_EQ(Joined(Right()), ByKind("[Dialogs][Main][SysUtils]", "[Main][SysUtils][Dialogs]"));

    // The last item moved: the new last item is selected.
    Left().SetSelected(1, false);
    Left().SetSelected(2, true);
    Form.IncludeBtnClick();
    EXPECT_EQ(Joined(Left()), "[classes][*Forms]");

    Right().SetSelected(0, true);
    Form.ExcludeBtnClick();
    EXPECT_EQ(Joined(Right()),
              ByKind("[*Main][SysUtils][Windows]", "[*SysUtils][Dialogs][Windows]"));
    EXPECT_EQ(Joined(Left()), ByKind("[classes][Dialogs][*Forms]", "[classes][*Forms][Main]"));
}

TEST_P(FilterFormTest, MoveWithNothingSelectedOnlySelectsTheFirstItem) {
    Form.IncludeBtnClick();
    EXPECT_EQ(Joined(Left()), "[*classes][Dialogs][Forms][SysUtils][Windows]");
    EXPECT_EQ(Joined(Right()), "[Main]");
}

TEST_P(FilterFormTest, MovingTheLastItemEmptiesTheListAndDisablesItsButtons) {
    Right().SetSelected(0, true);
    Form.ExcludeBtnClick();
    EXPECT_EQ(Joined(Right()), "");
    EXPECT_EQ(Enabled(), "1100");
    Form.IncAllBtnClick();
    EXPECT_EQ(Joined(Left()), "");
    EXPECT_EQ(Enabled(), "0011");
}

// All items arrive in the order of the list they leave.
TEST_P(FilterFormTest, AllAndBackAgainRestoresTheLists) {
    Form.ExcAllBtnClick();
    const std::string all = "[classes][Dialogs][Forms][Main][SysUtils][Windows]";
    EXPECT_EQ(Joined(Left()), all);
    Form.IncAllBtnClick();
    EXPECT_EQ(Joined(Right()), all);
    EXPECT_EQ(Enabled(), "0011");
    Form.ExcAllBtnClick();
    EXPECT_EQ(Joined(Left()), all);
    EXPECT_EQ(Joined(Right()), "");
    EXPECT_EQ(Enabled(), "1100");
}

TEST_P(FilterFormTest, NamesMoveAsBytes) {
    Left().Add("\xDC"
               "bersicht");
    Left().SetSelected(Left().Count() - 1, true);
    Form.IncludeBtnClick();
    EXPECT_EQ(Right().Item(Right().Count() - 1), "\xDC"
                                                 "bersicht");
}

TEST_P(FilterFormTest, DoubleClickMovesTheClickedItem) {
    ShowActive();
    QListWidget& left = List(GetParam().LeftList);
    DoubleClick(left, 2);
    EXPECT_EQ(Joined(Right()), ByKind("[Forms][Main]", "[Main][Forms]"));
    EXPECT_EQ(QApplication::focusWidget(), &left);

    const int main = GetParam().RightSorted ? 1 : 0;
    DoubleClick(List(GetParam().RightList), main);
    EXPECT_EQ(Joined(Right()), "[*Forms]");
}

TEST_P(FilterFormTest, OkHasTheFocusOnEveryOpening) {
    ShowActive();
    EXPECT_EQ(QApplication::focusWidget(), Form.findChild<QPushButton*>("OKBtn"));
    Form.IncludeBtnClick();
    Form.hide();
    QApplication::processEvents();
    ShowActive();
    EXPECT_EQ(QApplication::focusWidget(), Form.findChild<QPushButton*>("OKBtn"));
}

// Opening a project refills the unit lists behind the dialog's back; Analyze
// fills the type lists and sets their buttons itself.
TEST_P(FilterFormTest, ComingUpSetsTheButtonsOfTheUnitFilterOnly) {
    Left().Clear();
    EXPECT_EQ(Enabled(), "1111");
    ShowActive();
    EXPECT_EQ(Enabled(), GetParam().ButtonsFollowWhenShown ? "0011" : "1111");
    Form.SetButtons();
    EXPECT_EQ(Enabled(), "0011");
}

INSTANTIATE_TEST_SUITE_P(BothFilters, FilterFormTest, testing::Values(UnitFilter, ObjectTypeFilter),
                         [](const testing::TestParamInfo<FilterKind>& info) {
                             return std::string(info.param.Name);
                         });
