#include "report/ObjectsReport.h"

#include <gtest/gtest.h>

using namespace pembrill;

namespace {

// Form1: TForm1
//    Panel1: TPanel
//       Inner: TPanel
//          Deep: TLabel
//       Button2: TButton
//    Button1: TButton
// Form2: TForm2
//    Other: tbutton
class ObjectsReportTest : public testing::Test {
protected:
    ObjectsReportTest() {
        const int form1 = Add(0, "Form1:  TForm1", {"Left = 46", "Caption = 'Form1'"});
        const int panel = Add(form1, "Panel1:  TPanel", {"Align = alTop"});
        const int inner = Add(panel, "Inner:  TPanel", {"Top = 1"});
        Add(inner, "Deep:  TLabel", {"Caption = 'x'"});
        Add(panel, "Button2:  TButton", {"Left = 2"});
        Add(form1, "Button1:  TButton", {"Left = 8", "Caption = 'OK'"});
        const int form2 = Add(0, "Form2:  TForm2", {});
        Add(form2, "Other:  tbutton", {"Tag = 1"});
    }

    int Add(int parent, const std::string& text, std::vector<std::string> properties) {
        const int index = Tree.Add(parent, text);
        Tree.Properties(index) = std::move(properties);
        return index;
    }

    std::string Report(const ObjectsReportOptions& options) {
        StringLineSink sink;
        WriteObjectsReport(Tree, Selected, options, sink);
        return sink.Text;
    }

    ObjectTree Tree;
    MemoryStringList Selected{false};
};

} // namespace

TEST_F(ObjectsReportTest, AllWritesEveryItemIndentedByLevel) {
    EXPECT_EQ(Report({}), "Form1:  TForm1\r\n"
                          "   Panel1:  TPanel\r\n"
                          "      Inner:  TPanel\r\n"
                          "         Deep:  TLabel\r\n"
                          "      Button2:  TButton\r\n"
                          "   Button1:  TButton\r\n"
                          "Form2:  TForm2\r\n"
                          "   Other:  tbutton\r\n");
    ObjectsReportOptions withProperties;
    withProperties.Properties = true;
    const std::string start = "Form1:  TForm1\r\n"
                              "   Left = 46\r\n"
                              "   Caption = 'Form1'\r\n"
                              "   Panel1:  TPanel\r\n"
                              "      Align = alTop\r\n";
    EXPECT_EQ(Report(withProperties).substr(0, start.size()), start);
}

TEST_F(ObjectsReportTest, FilteredTypeFramesMatchesWithTheirAncestors) {
    Selected.Add("TBUTTON");
    ObjectsReportOptions options;
    options.Filtered = true;
    options.Properties = true;
    EXPECT_EQ(Report(options), "Form1:  TForm1\r\n"
                               "   Panel1:  TPanel\r\n"
                               "      Button2:  TButton\r\n"
                               "         Left = 2\r\n"
                               "   Button1:  TButton\r\n"
                               "      Left = 8\r\n"
                               "      Caption = 'OK'\r\n"
                               "Form2:  TForm2\r\n"
                               "   Other:  tbutton\r\n"
                               "      Tag = 1\r\n");
}

TEST_F(ObjectsReportTest, ComponentsStopAtTheFirstGrandchild) {
    Selected.Add("TForm1");
    ObjectsReportOptions options;
    options.Filtered = true;
    options.Components = true;
    EXPECT_EQ(Report(options), "Form1:  TForm1\r\n"
                               "   Panel1:  TPanel\r\n");
}

TEST_F(ObjectsReportTest, AllSubComponentsWriteTheSubtreeWithPropertiesOnlyForMatches) {
    Selected.Add("tpanel");
    ObjectsReportOptions options;
    options.Filtered = true;
    options.AllSubComponents = true;
    options.Properties = true;
    EXPECT_EQ(Report(options), "Form1:  TForm1\r\n"
                               "   Panel1:  TPanel\r\n"
                               "      Align = alTop\r\n"
                               "      Inner:  TPanel\r\n"
                               "         Top = 1\r\n"
                               "         Deep:  TLabel\r\n"
                               "      Button2:  TButton\r\n");
}

TEST_F(ObjectsReportTest, NoMatchGivesAnEmptySection) {
    Selected.Add("TMemo");
    ObjectsReportOptions options;
    options.Filtered = true;
    EXPECT_EQ(Report(options), "");
}

TEST(ObjectsReportLargeTreeTest, FlagsGrowWithTheTree) {
    ObjectTree tree;
    int parent = tree.Add(0, "Form1:  TForm1");
    for (int i = 0; i < 9000; ++i)
        tree.Add(parent, "B" + std::to_string(i) + ":  TButton");
    MemoryStringList selected(false);
    selected.Add("TButton");
    ObjectsReportOptions options;
    options.Filtered = true;
    StringLineSink sink;
    WriteObjectsReport(tree, selected, options, sink);
    EXPECT_NE(sink.Text.find("   B8999:  TButton\r\n"), std::string::npos);
}
