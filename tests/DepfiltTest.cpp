#include "ui/Depfilt.h"

#include <QApplication>
#include <QTest>
#include <QToolButton>

#include <gtest/gtest.h>

using namespace pembrill;

namespace {

std::string Joined(const StringList& list) {
    std::string text;
    for (int i = 0; i < list.Count(); ++i)
        text += (list.Selected(i) ? "[*" : "[") + list.Item(i) + "]";
    return text;
}

class DepfiltTest : public testing::Test {
protected:
    DepfiltTest() {
        for (const char* unit : {"Windows", "SysUtils", "classes", "Forms", "Dialogs"})
            Form.SuppressStrings().Add(unit);
        for (const char* unit : {"Main", "about"})
            Form.ShowStrings().Add(unit);
        Form.SetButtons();
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

    TDependencyFilterForm Form;
};

} // namespace

TEST_F(DepfiltTest, Layout) {
    EXPECT_EQ(Form.windowTitle(), "Source Dependency Unit Filter");
    EXPECT_EQ(Form.size(), QSize(346, 259));
    EXPECT_EQ(Form.minimumSize(), Form.maximumSize());
    const std::vector<std::pair<const char*, QRect>> places = {
        {"SrcLabel", {8, 8, 145, 16}},       {"DstLabel", {192, 8, 145, 16}},
        {"SuppressList", {8, 24, 144, 185}}, {"ShowList", {192, 24, 144, 185}},
        {"IncludeBtn", {160, 32, 24, 24}},   {"IncAllBtn", {160, 64, 24, 24}},
        {"ExcludeBtn", {160, 96, 24, 24}},   {"ExAllBtn", {160, 128, 24, 24}},
        {"OKBtn", {136, 220, 77, 27}}};
    for (const auto& [name, place] : places) {
        const QWidget* control = Form.findChild<QWidget*>(name);
        ASSERT_NE(control, nullptr) << name;
        EXPECT_EQ(control->geometry(), place) << name;
    }
    EXPECT_EQ(Form.findChild<QLabel*>("SrcLabel")->text(), "Suppress Units:");
    EXPECT_EQ(Form.findChild<QLabel*>("DstLabel")->text(), "Show Units:");
    for (const char* name : {"IncludeBtn", "IncAllBtn", "ExcludeBtn", "ExAllBtn"}) {
        EXPECT_TRUE(Button(name).font().bold()) << name;
        EXPECT_EQ(Button(name).font().pointSize(), 8) << name;
    }
    EXPECT_EQ(Button("IncAllBtn").text(), ">>");
    EXPECT_EQ(List("ShowList").selectionMode(), QAbstractItemView::ExtendedSelection);
    EXPECT_TRUE(Form.findChild<QPushButton*>("OKBtn")->isDefault());
}

TEST(DepfiltFreshTest, MoveFromTheRightIsDisabledAtFirst) {
    TDependencyFilterForm form;
    EXPECT_FALSE(form.findChild<QToolButton*>("ExcludeBtn")->isEnabled());
    EXPECT_FALSE(form.findChild<QToolButton*>("ExAllBtn")->isEnabled());
}

TEST_F(DepfiltTest, BothListsKeepTheirOwnCollation) {
    EXPECT_EQ(Joined(Form.SuppressStrings()), "[classes][Dialogs][Forms][SysUtils][Windows]");
    EXPECT_EQ(Joined(Form.ShowStrings()), "[about][Main]");
}

TEST_F(DepfiltTest, MovingTheSelectionSelectsTheItemThatTookItsPlace) {
    Form.SuppressStrings().SetSelected(1, true);
    Form.SuppressStrings().SetSelected(3, true);
    Form.IncludeBtnClick();
    EXPECT_EQ(Joined(Form.SuppressStrings()), "[classes][*Forms][Windows]");
    EXPECT_EQ(Joined(Form.ShowStrings()), "[about][Dialogs][Main][SysUtils]");

    // The last item moved: the new last item is selected.
    Form.SuppressStrings().SetSelected(1, false);
    Form.SuppressStrings().SetSelected(2, true);
    Form.IncludeBtnClick();
    EXPECT_EQ(Joined(Form.SuppressStrings()), "[classes][*Forms]");

    Form.ShowStrings().SetSelected(0, true);
    Form.ExcludeBtnClick();
    EXPECT_EQ(Joined(Form.ShowStrings()), "[*Dialogs][Main][SysUtils][Windows]");
    EXPECT_EQ(Joined(Form.SuppressStrings()), "[about][classes][*Forms]");
}

TEST_F(DepfiltTest, MoveWithNothingSelectedOnlySelectsTheFirstItem) {
    Form.IncludeBtnClick();
    EXPECT_EQ(Joined(Form.SuppressStrings()), "[*classes][Dialogs][Forms][SysUtils][Windows]");
    EXPECT_EQ(Joined(Form.ShowStrings()), "[about][Main]");
}

TEST_F(DepfiltTest, MovingTheLastItemEmptiesTheListAndDisablesItsButtons) {
    Form.ShowStrings().SetSelected(0, true);
    Form.ShowStrings().SetSelected(1, true);
    Form.ExcludeBtnClick();
    EXPECT_EQ(Joined(Form.ShowStrings()), "");
    EXPECT_EQ(Enabled(), "1100");
    Form.IncAllBtnClick();
    EXPECT_EQ(Joined(Form.SuppressStrings()), "");
    EXPECT_EQ(Enabled(), "0011");
}

TEST_F(DepfiltTest, AllAndBackAgainRestoresTheLists) {
    Form.ExcAllBtnClick();
    const std::string allSuppressed = Joined(Form.SuppressStrings());
    EXPECT_EQ(allSuppressed, "[about][classes][Dialogs][Forms][Main][SysUtils][Windows]");
    Form.IncAllBtnClick();
    EXPECT_EQ(Joined(Form.ShowStrings()),
              "[about][classes][Dialogs][Forms][Main][SysUtils][Windows]");
    EXPECT_EQ(Enabled(), "0011");
    Form.ExcAllBtnClick();
    EXPECT_EQ(Joined(Form.SuppressStrings()), allSuppressed);
    EXPECT_EQ(Joined(Form.ShowStrings()), "");
    EXPECT_EQ(Enabled(), "1100");
}

TEST_F(DepfiltTest, NamesMoveAsBytes) {
    Form.SuppressStrings().Add("\xDC"
                               "bersicht");
    Form.SuppressStrings().SetSelected(Form.SuppressStrings().Count() - 1, true);
    Form.IncludeBtnClick();
    EXPECT_EQ(Form.ShowStrings().Item(Form.ShowStrings().Count() - 1), "\xDC"
                                                                       "bersicht");
}

TEST_F(DepfiltTest, DoubleClickMovesTheClickedItem) {
    ShowActive();
    QListWidget& suppress = List("SuppressList");
    const QPoint onForms = suppress.visualItemRect(suppress.item(2)).center();
    QTest::mouseClick(suppress.viewport(), Qt::LeftButton, {}, onForms);
    QTest::mouseDClick(suppress.viewport(), Qt::LeftButton, {}, onForms);
    EXPECT_EQ(Joined(Form.ShowStrings()), "[about][Forms][Main]");
    EXPECT_EQ(QApplication::focusWidget(), &suppress);

    QListWidget& show = List("ShowList");
    const QPoint onMain = show.visualItemRect(show.item(2)).center();
    QTest::mouseClick(show.viewport(), Qt::LeftButton, {}, onMain);
    QTest::mouseDClick(show.viewport(), Qt::LeftButton, {}, onMain);
    EXPECT_EQ(Joined(Form.ShowStrings()), "[about][*Forms]");
}

// Opening a project refills the lists behind the dialog's back.
TEST_F(DepfiltTest, ButtonsFollowTheListsWhenTheDialogComesUp) {
    Form.ShowStrings().Clear();
    Form.SuppressStrings().Clear();
    Form.ShowStrings().Add("Main");
    EXPECT_EQ(Enabled(), "1111");
    ShowActive();
    EXPECT_EQ(Enabled(), "0011");
}

TEST_F(DepfiltTest, OkHasTheFocusOnEveryOpening) {
    ShowActive();
    EXPECT_EQ(QApplication::focusWidget(), Form.findChild<QPushButton*>("OKBtn"));
    Form.IncludeBtnClick();
    Form.hide();
    QApplication::processEvents();
    ShowActive();
    EXPECT_EQ(QApplication::focusWidget(), Form.findChild<QPushButton*>("OKBtn"));
}
