#include "forms/ObjectTree.h"

#include <gtest/gtest.h>

#include <stdexcept>

using namespace pembrill;

namespace {

std::string Joined(const std::vector<int>& indices) {
    std::string text;
    for (const int index : indices)
        text += "[" + std::to_string(index) + "]";
    return text;
}

// Form1 (1) holds Panel1 (2) with Button1 (3), and Label1 (4); Form2 (5)
// follows as the second form.
ObjectTree TwoForms() {
    ObjectTree tree;
    const int form1 = tree.Add(0, "Form1:  TForm1");
    const int panel = tree.Add(form1, "Panel1:  TPanel");
    tree.Add(panel, "Button1:  TButton");
    tree.Add(form1, "Label1:  TLabel");
    tree.Add(0, "Form2:  TForm2");
    return tree;
}

} // namespace

TEST(ObjectTreeTest, NumbersItemsDepthFirstWithLevelsParentsAndChildren) {
    const ObjectTree tree = TwoForms();

    ASSERT_EQ(tree.Count(), 5);
    EXPECT_EQ(tree.Text(3), "Button1:  TButton");
    EXPECT_EQ(tree.Level(1), 1);
    EXPECT_EQ(tree.Level(3), 3);
    EXPECT_EQ(tree.Level(4), 2);
    EXPECT_EQ(tree.Level(5), 1);
    EXPECT_EQ(tree.Parent(1), 0);
    EXPECT_EQ(tree.Parent(3), 2);
    EXPECT_EQ(tree.Parent(4), 1);
    EXPECT_EQ(Joined(tree.Children(0)), "[1][5]");
    EXPECT_EQ(Joined(tree.Children(1)), "[2][4]");
    EXPECT_EQ(Joined(tree.Children(3)), "");
    EXPECT_TRUE(tree.HasChildren(2));
    EXPECT_FALSE(tree.HasChildren(4));
    EXPECT_FALSE(tree.HasChildren(5));
}

TEST(ObjectTreeTest, AddsOnlyAtTheEndOfTheDepthFirstOrder) {
    ObjectTree tree = TwoForms();

    // Below Panel1 or Label1 would have to go between existing items.
    EXPECT_THROW(tree.Add(2, "Late:  TLabel"), std::invalid_argument);
    EXPECT_THROW(tree.Add(4, "Late:  TLabel"), std::invalid_argument);
    EXPECT_THROW(tree.Add(6, "Late:  TLabel"), std::invalid_argument);
    EXPECT_THROW(tree.Add(-1, "Late:  TLabel"), std::invalid_argument);
    EXPECT_EQ(tree.Count(), 5);

    const int child = tree.Add(5, "Edit1:  TEdit");
    EXPECT_EQ(tree.Add(child, "Inner:  TInner"), 7);
    EXPECT_EQ(tree.Add(5, "Edit2:  TEdit"), 8);
    EXPECT_EQ(Joined(tree.Children(5)), "[6][8]");
}

TEST(ObjectTreeTest, PropertiesBelongToTheirItemAndClearEmptiesEverything) {
    ObjectTree tree = TwoForms();
    tree.Properties(3).push_back("Caption = 'OK'");

    EXPECT_EQ(tree.Properties(3).size(), 1u);
    EXPECT_TRUE(tree.Properties(2).empty());

    tree.Clear();
    EXPECT_EQ(tree.Count(), 0);
    EXPECT_EQ(Joined(tree.Children(0)), "");
    EXPECT_EQ(tree.Add(0, "Form3:  TForm3"), 1);
    EXPECT_TRUE(tree.Properties(1).empty());
    EXPECT_EQ(Joined(tree.Children(0)), "[1]");
}

TEST(ObjectTreeTest, ClassNameIsTheTrimmedTextAfterTheFirstColon) {
    ObjectTree tree;
    tree.Add(0, "Form1:  TForm1");
    tree.Add(0, "TButton");
    tree.Add(0, "\t TPanel \t");
    tree.Add(0, "Odd: Name: TThing ");
    tree.Add(0, "Empty:");

    EXPECT_EQ(tree.ClassName(1), "TForm1");
    EXPECT_EQ(tree.ClassName(2), "TButton");
    EXPECT_EQ(tree.ClassName(3), "TPanel");
    EXPECT_EQ(tree.ClassName(4), "Name: TThing");
    EXPECT_EQ(tree.ClassName(5), "");
}

TEST(ObjectTreeTest, ObjectTypesAddsEachNewClassNameOnce) {
    ObjectTree tree;
    const int form = tree.Add(0, "Form1:  TForm1");
    tree.Add(form, "Button1:  TButton");
    tree.Add(form, "Button2:  TButton");
    tree.Add(form, "Odd:  Tbutton");
    tree.Add(form, "Label1:  TLabel");
    MemoryStringList available(true);
    available.Add("TLabel");

    ObjectTypes(tree, available);

    const std::vector<std::string> expected{"TButton", "Tbutton", "TForm1", "TLabel"};
    EXPECT_EQ(available.Items(), expected);
}

TEST(ObjectTreeTest, HoldsAnyDepth) {
    ObjectTree tree;
    int parent = 0;
    for (int i = 0; i < 100000; ++i)
        parent = tree.Add(parent, "O: T");
    tree.Add(0, "Form2:  TForm2");

    EXPECT_EQ(tree.Level(100000), 100000);
    EXPECT_EQ(tree.Parent(100000), 99999);
    EXPECT_EQ(tree.Level(100001), 1);
    EXPECT_EQ(Joined(tree.Children(0)), "[1][100001]");
}
