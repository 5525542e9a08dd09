#include "ui/Objfilt.h"

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

class ObjfiltTest : public testing::Test {
protected:
    ObjfiltTest() {
        for (const char* type : {"TPanel", "TButton", "TLabel", "TForm", "TEdit"})
            Form.AvailableStrings().Add(type);
        Form.SelectedStrings().Add("TMemo");
        Form.SetButtons();
    }

    bool Enabled(const char* name) { return Form.findChild<QToolButton*>(name)->isEnabled(); }

    TObjectFilterForm Form;
};

} // namespace

TEST_F(ObjfiltTest, Layout) {
    EXPECT_EQ(Form.windowTitle(), "Objects Filter");
    EXPECT_EQ(Form.size(), QSize(347, 255));
    EXPECT_EQ(Form.findChild<QLabel*>("SrcLabel")->text(), "Available Object Types:");
    EXPECT_EQ(Form.findChild<QLabel*>("DstLabel")->text(), "Selected Object Types:");
    EXPECT_EQ(Form.findChild<QListWidget*>("AvailableList")->geometry(), QRect(8, 24, 144, 185));
    EXPECT_EQ(Form.findChild<QListWidget*>("SelectedList")->geometry(), QRect(192, 24, 144, 185));
    EXPECT_EQ(Form.findChild<QPushButton*>("OKBtn")->geometry(), QRect(136, 220, 77, 27));
}

TEST_F(ObjfiltTest, SelectedTypesArriveAtTheEndBottomOneFirst) {
    EXPECT_EQ(Joined(Form.AvailableStrings()), "[TButton][TEdit][TForm][TLabel][TPanel]");
    for (const int index : {0, 2, 4})
        Form.AvailableStrings().SetSelected(index, true);
    Form.IncludeBtnClick();
    EXPECT_EQ(Joined(Form.SelectedStrings()), "[TMemo][TPanel][TForm][TButton]");
    EXPECT_EQ(Joined(Form.AvailableStrings()), "[*TEdit][TLabel]");
}

TEST_F(ObjfiltTest, AllTypesArriveInTheirAvailableOrder) {
    Form.IncAllBtnClick();
    EXPECT_EQ(Joined(Form.SelectedStrings()), "[TMemo][TButton][TEdit][TForm][TLabel][TPanel]");
    EXPECT_EQ(Joined(Form.AvailableStrings()), "");
    EXPECT_FALSE(Enabled("IncludeBtn"));
    EXPECT_FALSE(Enabled("IncAllBtn"));
}

TEST_F(ObjfiltTest, TypesMovedBackTakeTheirSortedPlaces) {
    Form.IncAllBtnClick();
    Form.SelectedStrings().SetSelected(0, true);
    Form.SelectedStrings().SetSelected(4, true);
    Form.ExcludeBtnClick();
    EXPECT_EQ(Joined(Form.AvailableStrings()), "[TLabel][TMemo]");
    EXPECT_EQ(Joined(Form.SelectedStrings()), "[*TButton][TEdit][TForm][TPanel]");
    Form.ExcAllBtnClick();
    EXPECT_EQ(Joined(Form.AvailableStrings()), "[TButton][TEdit][TForm][TLabel][TMemo][TPanel]");
    EXPECT_FALSE(Enabled("ExcludeBtn"));
    EXPECT_FALSE(Enabled("ExAllBtn"));
}

// Analyze fills the lists and then sets the buttons itself; coming up does
// not.
TEST_F(ObjfiltTest, ButtonsChangeOnlyWhenTold) {
    Form.SelectedStrings().Clear();
    Form.show();
    QApplication::setActiveWindow(&Form);
    ASSERT_TRUE(QTest::qWaitFor([this] { return QApplication::activeWindow() == &Form; }));
    EXPECT_TRUE(Enabled("ExcludeBtn"));
    Form.SetButtons();
    EXPECT_FALSE(Enabled("ExcludeBtn"));
    EXPECT_TRUE(Enabled("IncludeBtn"));
}
