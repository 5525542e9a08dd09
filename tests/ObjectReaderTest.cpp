#include "forms/ObjectReader.h"

#include "platform/MessageBox.h"
#include "tests/support/TempDir.h"
#include "tests/support/TreeDump.h"

#include <gtest/gtest.h>

using namespace pembrill;
using pembrill::test::CrLf;
using pembrill::test::TempDir;
using pembrill::test::TreeDump;

namespace {

// A text form file read into a fresh tree, with the messages it gave.
struct ReadForm {
    explicit ReadForm(const std::string& text) {
        const std::string path = Dir.Write("Unit1.txt", text);
        ScopedMessageSink install(Messages);
        ReadTextFormFile(path, Tree);
    }

    std::string Dump() const { return TreeDump(Tree); }

    TempDir Dir;
    ObjectTree Tree;
    RecordingMessageSink Messages;
};

} // namespace

TEST(ObjectReaderTest, ReadsObjectsAndTheirPropertyLines) {
    ReadForm form(CrLf({
        "object Form1: TForm1",
        "  Left = 46",
        "  Caption = 'Form1'",
        "  Font.Color = clBlack",
        "  'quoted' = first",
        "  Hint = \t ends with blanks \t ",
        "  object Panel1: TPanel",
        "    object Button1: TButton",
        "      Caption = 'OK'",
        "    end",
        "    Align = alTop",
        "  end",
        "  object ListBox1: TListBox",
        "    Items.Strings = (",
        "      'One'",
        "      'Two'",
        "      'Three')",
        "  end",
        "end",
    }));

    EXPECT_EQ(form.Messages.Transcript(), "");
    EXPECT_EQ(form.Dump(), "1 1 Form1:  TForm1\n"
                           "\tLeft = 46\n"
                           "\tCaption = 'Form1'\n"
                           "\tFont .Color = clBlack\n"
                           "\tquoted = first\n"
                           "\tHint = \t ends with blanks\n"
                           "2 2 Panel1:  TPanel\n"
                           "\tAlign = alTop\n"
                           "3 3 Button1:  TButton\n"
                           "\tCaption = 'OK'\n"
                           "4 2 ListBox1:  TListBox\n"
                           "\tItems .Strings = (\n"
                           "\tOne\n"
                           "\tTwo\n"
                           "\tThree )\n");
    EXPECT_EQ(form.Tree.Parent(3), 2);
    EXPECT_EQ(form.Tree.Parent(4), 1);
    EXPECT_EQ(form.Tree.ClassName(1), "TForm1");
}

TEST(ObjectReaderTest, ObjectLinesKeepTheirTextAfterTheFirstColon) {
    ReadForm form(CrLf({
        "inherited Form2: TForm2",
        "  object TTimer",
        "  end",
        "  inline Frame1: TFrame1",
        "    inherited Label1: TLabel",
        "    end",
        "  end",
        "  inherited Button1:TButton [0]",
        "  end",
        "  object A: B: C",
        "  end",
        "end",
    }));

    EXPECT_EQ(form.Dump(), "1 1 Form2:  TForm2\n"
                           "2 2 TTimer\n"
                           "3 2 Frame1:  TFrame1\n"
                           "4 3 Label1:  TLabel\n"
                           "5 2 Button1: TButton [0]\n"
                           "6 2 A:  B: C\n");
    EXPECT_EQ(form.Tree.ClassName(2), "TTimer");
}

// Inside a collection value every line belongs to its owner, "item" and
// "end" included; words of object blocks count only where they stand bare.
TEST(ObjectReaderTest, CollectionsStringItemsAndOneTokenLinesStayWithTheirObject) {
    ReadForm collection(CrLf({
        "object Form1: TForm1",
        "  object StatusBar1: TStatusBar",
        "    Panels = <",
        "      item",
        "        Items = <>",
        "        Sub = <",
        "          item",
        "            object = 1",
        "          end>",
        "      end>",
        "    SimplePanel = False",
        "  end",
        "  object Memo1: TMemo",
        "    Lines.Strings = (",
        "      'end'",
        "      'object'",
        "      'Last')",
        "    Picture.Data = {",
        "      ABCDEF}",
        "    Tag",
        "  end",
        "  Left = 2",
        "end",
        "object Ignored: TForm",
        "end",
    }));
    EXPECT_EQ(collection.Dump(), "1 1 Form1:  TForm1\n"
                                 "\tLeft = 2\n"
                                 "2 2 StatusBar1:  TStatusBar\n"
                                 "\tPanels = <\n"
                                 "\titem\n"
                                 "\tItems = <>\n"
                                 "\tSub = <\n"
                                 "\titem\n"
                                 "\tobject = 1\n"
                                 "\tend >\n"
                                 "\tend >\n"
                                 "\tSimplePanel = False\n"
                                 "3 2 Memo1:  TMemo\n"
                                 "\tLines .Strings = (\n"
                                 "\tend\n"
                                 "\tobject\n"
                                 "\tLast )\n"
                                 "\tPicture .Data = {\n"
                                 "\tABCDEF }\n"
                                 "\tTag\n");
}

TEST(ObjectReaderTest, FileEndingEarlyKeepsWhatWasRead) {
    ReadForm noBreak("object Form1: TForm1\r\n  Left = 1\r\nend");
    EXPECT_EQ(noBreak.Dump(), "1 1 Form1:  TForm1\n\tLeft = 1\n");

    ReadForm truncated(
        CrLf({"object Form1: TForm1", "  object Panel1: TPanel", "    Left = 1", "    Tag"}));
    EXPECT_EQ(truncated.Messages.Transcript(), "");
    EXPECT_EQ(truncated.Dump(), "1 1 Form1:  TForm1\n2 2 Panel1:  TPanel\n\tLeft = 1\n\tTag\n");

    // A collection cut off keeps its lines with its owner.
    ReadForm openCollection(CrLf({"object Form1: TForm1", "  Panels = <", "    item", "    end"}));
    EXPECT_EQ(openCollection.Dump(), "1 1 Form1:  TForm1\n\tPanels = <\n\titem\n\tend\n");

    ReadForm unix("object Form1: TForm1\n  Top = 2\n  object B: TButton\n  end\nend\n");
    EXPECT_EQ(unix.Dump(), "1 1 Form1:  TForm1\n\tTop = 2\n2 2 B:  TButton\n");
}

TEST(ObjectReaderTest, UnrecognizedAndMissingFilesAddNothing) {
    for (const std::string& text :
         {std::string(), std::string(" \r\n\t\r\n"), CrLf({"Object Form1: TForm1", "end"}),
          CrLf({"unit Unit1;", "interface"})}) {
        ReadForm form(text);
        EXPECT_EQ(form.Tree.Count(), 0);
        EXPECT_EQ(form.Messages.Transcript(),
                  "Error: File " + form.Dir / "Unit1.txt" + " has unrecognized format.\n");
    }

    TempDir dir;
    ObjectTree tree;
    RecordingMessageSink messages;
    ScopedMessageSink install(messages);
    ReadTextFormFile(dir / "Missing.txt", tree);
    EXPECT_EQ(tree.Count(), 0);
    EXPECT_EQ(messages.Transcript(),
              "Error: Can not open file:\\n\\r" + dir / "Missing.txt" + "\n");
}

// Names from project files may be written with backslashes and in another
// case than the file system holds them; messages name the file as written.
TEST(ObjectReaderTest, FindsFilesNamedWithBackslashesAndOtherCase) {
    TempDir dir;
    dir.Write("Forms/Unit1.txt", CrLf({"object Form1: TForm1", "end"}));
    ObjectTree tree;
    tree.Add(0, "Earlier:  TForm");
    RecordingMessageSink messages;
    ScopedMessageSink install(messages);

    ReadTextFormFile(dir.Path + "\\forms\\UNIT1.TXT", tree);

    EXPECT_EQ(messages.Transcript(), "");
    EXPECT_EQ(TreeDump(tree), "1 1 Earlier:  TForm\n2 1 Form1:  TForm1\n");
}

TEST(ObjectReaderTest, ReadsAnyNestingDepth) {
    constexpr int Depth = 100000;
    std::string text;
    for (int i = 0; i < Depth; ++i)
        text += "object O" + std::to_string(i + 1) + ": T\r\n";
    text += "Deepest = True\r\n";
    for (int i = 0; i < Depth; ++i)
        text += "end\r\n";

    ReadForm form(text);

    ASSERT_EQ(form.Tree.Count(), Depth);
    EXPECT_EQ(form.Tree.Level(Depth), Depth);
    EXPECT_EQ(form.Tree.Text(Depth), "O100000:  T");
    EXPECT_EQ(form.Tree.Properties(Depth), std::vector<std::string>{"Deepest = True"});
    EXPECT_TRUE(form.Tree.Properties(Depth - 1).empty());
}
