#include "forms/FormPicture.h"

#include "forms/ObjectReader.h"
#include "forms/PictureValues.h"
#include "platform/MessageBox.h"
#include "tests/FormBytes.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <initializer_list>
#include <optional>
#include <ostream>
#include <stdexcept>
#include <utility>

namespace pembrill {

void PrintTo(const PictureRect& rect, std::ostream* out) {
    *out << "{" << rect.Left << ", " << rect.Top << ", " << rect.Width << ", " << rect.Height
         << "}";
}

} // namespace pembrill

using namespace pembrill;
using pembrill::test::TempDir;

namespace {

// A text form file read as Analyze reads it, and the picture of its form.
struct PictureOf {
    explicit PictureOf(const std::string& text) {
        TempDir dir;
        RecordingMessageSink messages;
        ScopedMessageSink install(messages);
        ReadTextFormFile(dir.Write("Unit1.txt", text), Tree);
        Picture = BuildFormPicture(Tree, 1);
    }

    const PictureElement& Element(const std::string& name) const {
        for (const auto& element : Picture.Elements)
            if (element.Name == name)
                return element;
        throw std::runtime_error("no element " + name);
    }

    ObjectTree Tree;
    FormPicture Picture;
};

// Items joined by '|', the tab in front marked with '*'; then the columns.
std::string Joined(const PictureElement& element) {
    std::string text;
    for (size_t i = 0; i < element.Items.size(); ++i)
        text += (i ? "|" : "") + std::string(static_cast<int>(i) == element.ActiveTab ? "*" : "") +
                element.Items[i];
    for (const auto& column : element.Columns)
        text += (text.empty() ? "" : "|") + column.Text + ":" + std::to_string(column.Width);
    return text;
}

struct ExpectedElement {
    std::string Name;
    PictureKind Kind;
    // Relative to the parent's client area; not compared when absent.
    std::optional<PictureRect> Bounds;
    std::string Text = {};
    std::string Items = {};
};

struct FormCase {
    std::string Title;
    std::string Form;
    PictureKind RootKind;
    // Every element after the form's own, in the order they are drawn.
    std::vector<ExpectedElement> Elements;
};

void PrintTo(const FormCase& form, std::ostream* out) {
    *out << form.Title;
}

using enum PictureKind;

const FormCase FormCases[] = {
    {"aligned panels take their parts in the designer's order, graphic controls lie below",
     R"(object Form1: TForm1
  ClientWidth = 300
  ClientHeight = 200
  object Bottom1: TPanel
    Top = 170
    Height = 30
    Align = alBottom
  end
  object Top2: TPanel
    Top = 40
    Height = 20
    Align = alTop
  end
  object Top1: TPanel
    Height = 40
    Align = alTop
  end
  object Right1: TPanel
    Width = 60
    Align = alRight
  end
  object Left1: TPanel
    Width = 50
    Align = alLeft
  end
  object Client1: TPanel
    Align = alClient
    Caption = 'Work'
    object Memo1: TMemo
      Align = alClient
    end
  end
  object Label1: TLabel
    Left = 5
    Top = 6
    Width = 30
    Height = 13
    Caption = '&Name'
  end
end
)",
     Form,
     {{"Label1", Label, PictureRect{5, 6, 30, 13}, "&Name"},
      {"Bottom1", Panel, PictureRect{0, 170, 300, 30}},
      {"Top2", Panel, PictureRect{0, 40, 300, 20}},
      {"Top1", Panel, PictureRect{0, 0, 300, 40}},
      {"Right1", Panel, PictureRect{240, 60, 60, 110}},
      {"Left1", Panel, PictureRect{0, 60, 50, 110}},
      {"Client1", Panel, PictureRect{50, 60, 190, 110}, "Work"},
      // Inside the panel's raised bevel.
      {"Memo1", Memo, PictureRect{1, 1, 188, 108}}}},

    {"nested group boxes count from their parent's corner",
     R"(object Form1: TForm1
  ClientHeight = 300
  ClientWidth = 400
  Caption = 'Boxes'
  object GroupBox1: TGroupBox
    Left = 8
    Top = 8
    Width = 200
    Height = 150
    Caption = 'Outer'
    object GroupBox2: TGroupBox
      Left = 10
      Top = 20
      Width = 100
      Height = 80
      Caption = 'Inner'
      object CheckBox1: TCheckBox
        Left = 5
        Top = 15
        Width = 80
        Height = 17
        Caption = 'It''s on'
      end
    end
  end
  object Edit1: TEdit
    Left = 220
    Top = 8
    Width = 121
    Height = 21
    Text = 'Hello'
  end
end
)",
     Form,
     {{"GroupBox1", GroupBox, PictureRect{8, 8, 200, 150}, "Outer"},
      {"GroupBox2", GroupBox, PictureRect{10, 20, 100, 80}, "Inner"},
      {"CheckBox1", CheckBox, PictureRect{5, 15, 80, 17}, "It's on"},
      {"Edit1", Edit, PictureRect{220, 8, 121, 21}, "Hello"}}},

    {"a page control shows its active sheet and names every tab",
     R"(object Form1: TForm1
  ClientHeight = 300
  ClientWidth = 400
  PixelsPerInch = 96
  object PageControl1: TPageControl
    Width = 300
    Height = 200
    ActivePage = TabSheet2
    object TabSheet1: TTabSheet
      Caption = 'First'
      object Button1: TButton
        Caption = 'Hidden away'
      end
    end
    object TabSheet2: TTabSheet
      Caption = 'Second'
      object Memo1: TMemo
        Left = 8
        Top = 8
        Width = 100
        Height = 50
        Lines.Strings = (
          'one'
          'two, '#13#10'three')
      end
    end
  end
end
)",
     Form,
     {{"PageControl1", PageControl, PictureRect{0, 0, 300, 200}, "", "First|*Second"},
      {"TabSheet2", TabSheet, std::nullopt, "Second"},
      {"Memo1", Memo, PictureRect{8, 8, 100, 50}, "", "one|two, \r\nthree"}}},

    {"notebooks show the page PageIndex or ActivePage names",
     R"(object Form1: TForm1
  ClientHeight = 300
  ClientWidth = 400
  TextHeight = 13
  object Notebook1: TNotebook
    Width = 100
    Height = 100
    PageIndex = 1
    object TPage
      Caption = 'Default'
    end
    object TPage
      Caption = 'Other'
    end
  end
  object TabbedNotebook1: TTabbedNotebook
    Width = 100
    Height = 100
    ActivePage = 'Two'
    object TTabPage
      Caption = 'One'
    end
    object TTabPage
      Caption = 'Two'
    end
  end
  object TabControl1: TTabControl
    Tabs.Strings = (
      'Mon'
      'Tue')
    TabIndex = 1
  end
end
)",
     Form,
     {{"Notebook1", Notebook, PictureRect{0, 0, 100, 100}},
      {"", NotebookPage, PictureRect{0, 0, 100, 100}, "Other"},
      {"TabbedNotebook1", TabbedNotebook, PictureRect{0, 0, 100, 100}, "", "One|*Two"},
      {"", NotebookPage, std::nullopt, "Two"},
      {"TabControl1", TabControl, PictureRect{0, 0, 0, 0}, "", "Mon|*Tue"}}},

    {"columns, panels and sections keep their texts and widths, nothing nested in them",
     R"(object Form1: TForm1
  ClientHeight = 300
  ClientWidth = 400
  Caption = 'Lists'
  object StatusBar1: TStatusBar
    Panels = <
      item
        Text = 'Ready'
        Width = 100
      end
      item
      end>
  end
  object DBGrid1: TDBGrid
    Columns = <
      item
        FieldName = 'CustNo'
        PickList.Strings = (
          'Width = 1')
      end
      item
        Title.Caption = 'Name'
        Width = 150
        Items = <
          item
            Width = 2
          end>
      end>
  end
  object ListView1: TListView
    Columns = <
      item
        Caption = 'File'
        Width = 120
      end>
  end
end
)",
     Form,
     {{"StatusBar1", StatusBar, std::nullopt, "", "Ready:100|:50"},
      {"DBGrid1", DBGrid, std::nullopt, "", "CustNo:64|Name:150"},
      {"ListView1", ListView, std::nullopt, "", "File:120"}}},

    {"components are squares; unknown classes are boxes or squares by what they have",
     R"(object DataModule1: TDataModule1
  Left = 200
  Width = 200
  Height = 150
  object Table1: TTable
    Left = 16
    Top = 24
    object Table1Name: TStringField
      FieldName = 'Name'
    end
  end
  object Grid1: TSuperGrid
    Left = 60
    Top = 4
    Width = 90
    Height = 40
    object Inner1: TButton
      Left = 1
    end
  end
  object Logger1: TLogger
    Left = 100
    Top = 80
  end
  object Action1: TAction
    Caption = 'Go'
  end
  inline Frame11: TFrame1
    Left = 8
    inherited Label1: TLabel
      Caption = 'Customer'
    end
  end
end
)",
     DataModule,
     {{"Grid1", LabelledBox, PictureRect{60, 4, 90, 40}},
      {"Inner1", Button, PictureRect{1, 0, 0, 0}},
      {"Frame11", LabelledBox, PictureRect{8, 0, 0, 0}},
      {"Label1", Label, PictureRect{0, 0, 0, 0}, "Customer"},
      {"Table1", NonVisual, PictureRect{16, 24, 28, 28}},
      {"Logger1", NonVisual, PictureRect{100, 80, 28, 28}}}},

    {"a frame is its client area alone",
     R"(object Frame1: TFrame1
  Width = 320
  Height = 240
  object Label1: TLabel
    Caption = 
      'A caption long enough to be ' +
      'cut in two'
  end
end
)",
     Frame,
     {{"Label1", Label, PictureRect{0, 0, 0, 0}, "A caption long enough to be cut in two"}}},
};

class FormPictureCases : public testing::TestWithParam<FormCase> {};

TEST_P(FormPictureCases, GivesEachObjectItsKindPlaceAndTexts) {
    const FormCase& form = GetParam();
    const PictureOf picture(form.Form);
    const auto& elements = picture.Picture.Elements;
    ASSERT_EQ(elements.size(), form.Elements.size() + 1);
    EXPECT_EQ(elements[0].Kind, form.RootKind);
    EXPECT_EQ(elements[0].Item, 1);
    for (size_t i = 0; i < form.Elements.size(); ++i) {
        const ExpectedElement& expected = form.Elements[i];
        const PictureElement& element = elements[i + 1];
        SCOPED_TRACE(expected.Name);
        EXPECT_EQ(element.Name, expected.Name);
        EXPECT_EQ(element.Kind, expected.Kind);
        EXPECT_TRUE(picture.Tree.Text(element.Item).starts_with(expected.Name));
        ASSERT_GE(element.Parent, 0);
        ASSERT_LT(element.Parent, static_cast<int>(i + 1));
        const PictureRect& client = elements[static_cast<size_t>(element.Parent)].Client;
        if (expected.Bounds) {
            const PictureRect& relative = *expected.Bounds;
            EXPECT_EQ(element.Bounds,
                      (PictureRect{relative.Left + client.Left, relative.Top + client.Top,
                                   relative.Width, relative.Height}));
        }
        const PictureRect& parent = elements[static_cast<size_t>(element.Parent)].Bounds;
        EXPECT_TRUE(element.Bounds.Left >= parent.Left && element.Bounds.Top >= parent.Top &&
                    element.Bounds.Right() <= parent.Right() &&
                    element.Bounds.Bottom() <= parent.Bottom())
            << "outside its parent";
        EXPECT_EQ(element.Text, expected.Text);
        EXPECT_EQ(Joined(element), expected.Items);
    }
}

INSTANTIATE_TEST_SUITE_P(Forms, FormPictureCases, testing::ValuesIn(FormCases));

TEST(FormPictureTest, CaptionAndMenuBarStandAboveTheClientArea) {
    const PictureOf editor(R"(object Form1: TForm1
  Width = 400
  Height = 300
  Caption = 'Editor'
  Menu = MainMenu1
  object Memo1: TMemo
    Align = alClient
  end
  object MainMenu1: TMainMenu
    object File1: TMenuItem
      Caption = '&File'
      object Open1: TMenuItem
        Caption = '&Open'
      end
    end
    object Hidden1: TMenuItem
      Caption = 'Hidden'
      Visible = False
    end
    object Help1: TMenuItem
      Caption = '&Help'
    end
  end
end
)");
    EXPECT_TRUE(IsFormItem(editor.Tree, 1));
    EXPECT_FALSE(IsFormItem(editor.Tree, 2));
    EXPECT_FALSE(IsFormItem(editor.Tree, 0));
    const FormPicture& picture = editor.Picture;
    const PictureElement& form = picture.Elements[0];
    EXPECT_EQ(form.Bounds, (PictureRect{0, 0, 400, 300}));
    EXPECT_EQ(form.Text, "Editor");
    EXPECT_EQ(picture.MenuItems, (std::vector<std::string>{"&File", "&Help"}));
    EXPECT_GT(picture.CaptionBar.Height, 0);
    EXPECT_LE(picture.CaptionBar.Bottom(), picture.MenuBar.Top);
    EXPECT_GT(picture.MenuBar.Height, 0);
    EXPECT_LE(picture.MenuBar.Bottom(), form.Client.Top);
    EXPECT_LT(form.Client.Bottom(), form.Bounds.Bottom());
    EXPECT_EQ(editor.Element("Memo1").Bounds, form.Client);

    const PictureOf dialog(R"(object Form2: TForm2
  BorderStyle = bsDialog
  ClientWidth = 250
  ClientHeight = 120
  Menu = Elsewhere1
end
)");
    EXPECT_EQ(dialog.Picture.Border, FormBorder::Dialog);
    EXPECT_EQ(dialog.Picture.Elements[0].Client.Width, 250);
    EXPECT_EQ(dialog.Picture.Elements[0].Client.Height, 120);
    EXPECT_EQ(dialog.Picture.MenuBar, PictureRect{});
    EXPECT_LE(dialog.Picture.CaptionBar.Bottom(), dialog.Picture.Elements[0].Client.Top);

    const PictureOf bare(R"(object Form3: TForm3
  BorderStyle = bsNone
  Width = 50
  Height = 40
end
)");
    EXPECT_EQ(bare.Picture.CaptionBar, PictureRect{});
    EXPECT_EQ(bare.Picture.Elements[0].Client, (PictureRect{0, 0, 50, 40}));
}

TEST(FormPictureTest, FontsAndColoursComeFromTheObjectOrItsParent) {
    const PictureOf form(R"(object Form1: TForm1
  ClientHeight = 300
  ClientWidth = 400
  Color = clWhite
  Font.Color = clWindowText
  Font.Height = -11
  Font.Name = 'MS Sans Serif'
  Font.Style = []
  object Panel1: TPanel
    Width = 100
    Color = $000000FF
    Font.Color = clRed
    Font.Name = 'Arial'
    Font.Size = 12
    Font.Style = [fsBold, fsItalic]
    ParentFont = False
    BevelOuter = bvLowered
    BorderStyle = bsSingle
    object Label1: TLabel
    end
    object Label2: TLabel
      Font.Color = clBlue
      ParentFont = False
    end
    object Edit1: TEdit
    end
    object Edit2: TEdit
      ParentColor = True
    end
  end
  object CheckBox1: TCheckBox
    Visible = False
    Enabled = False
  end
  object Label3: TLabel
    Color = 16711680
  end
  object Label4: TLabel
    Color = clNone
  end
  object Button1: TButton
    Color = -2147483634
  end
end
)");
    const PictureElement& panel = form.Element("Panel1");
    EXPECT_EQ(panel.Color, 0xFF0000u);
    EXPECT_EQ(panel.Font.Name, "Arial");
    EXPECT_EQ(panel.Font.Height, -16);
    EXPECT_TRUE(panel.Font.Bold && panel.Font.Italic && !panel.Font.Underline);
    EXPECT_EQ(panel.BevelOuter, BevelCut::Lowered);
    // Children count from inside the sunken edge.
    EXPECT_TRUE(panel.Border);
    EXPECT_GT(panel.Client.Left, panel.Bounds.Left);
    EXPECT_LT(panel.Client.Width, panel.Bounds.Width);

    const PictureElement& label1 = form.Element("Label1");
    EXPECT_EQ(label1.Font.Name, "Arial");
    EXPECT_EQ(label1.Font.Color, 0xFF0000u);
    EXPECT_EQ(label1.Color, panel.Color);
    EXPECT_EQ(form.Element("Label2").Font.Color, 0x0000FFu);
    EXPECT_TRUE(form.Element("Label2").Font.Bold);
    EXPECT_EQ(form.Element("Edit1").Color, 0xFFFFFFu);
    EXPECT_EQ(form.Element("Edit2").Color, panel.Color);
    EXPECT_EQ(form.Element("CheckBox1").Color, 0xFFFFFFu);
    EXPECT_FALSE(form.Element("CheckBox1").Visible);
    EXPECT_FALSE(form.Element("CheckBox1").Enabled);
    EXPECT_EQ(form.Element("Label3").Color, 0x0000FFu);
    EXPECT_EQ(form.Element("Label4").Color, 0xFFFFFFu);
    // clHighlightText by its number.
    EXPECT_EQ(form.Element("Button1").Color, 0xFFFFFFu);
    EXPECT_EQ(form.Element("Button1").Font.Name, "MS Sans Serif");
}

// A form whose Image1 holds the data, in hex as Delphi writes it: 32 bytes
// a line, the brace after the last.
std::string ImageForm(const std::string& property, const std::string& bytes) {
    static const char Digits[] = "0123456789ABCDEF";
    std::string text = "object Form1: TForm1\n  object Image1: TImage\n    " + property + " = {";
    for (size_t i = 0; i < bytes.size(); ++i) {
        if (i % 32 == 0)
            text += "\n      ";
        text += Digits[static_cast<uint8_t>(bytes[i]) >> 4];
        text += Digits[static_cast<uint8_t>(bytes[i]) & 15];
    }
    return text + "}\n  end\nend\n";
}

// Little-endian fields of the given sizes, byte by byte.
std::string Fields(std::initializer_list<std::pair<uint64_t, int>> fields) {
    FormBytes bytes;
    for (const auto& [value, size] : fields)
        bytes.Little(value, size);
    return bytes.Bytes();
}

// A 1 by 1 pixel, 24-bit BMP file: file header, info header, one red pixel.
const std::string TinyBitmap = "BM" + Fields({{58, 4},
                                              {0, 4},
                                              {54, 4},
                                              {40, 4},
                                              {1, 4},
                                              {1, 4},
                                              {1, 2},
                                              {24, 2},
                                              {0, 4},
                                              {4, 4},
                                              {0, 8},
                                              {0, 8},
                                              {0x0000FF, 4}});

const std::string PngSignature("\x89PNG\r\n\x1a\n", 8);

// An icon directory of one 1 by 1 image, stored as PNG.
const std::string TinyIcon =
    Fields({{0, 2}, {1, 2}, {1, 2}, {0x0101, 2}, {0, 2}, {1, 2}, {32, 2}, {8, 4}, {22, 4}}) +
    PngSignature;

std::string SizePrefixed(const std::string& file) {
    return FormBytes().Little(file.size(), 4).Raw(file).Bytes();
}

std::string ClassNamed(const std::string& name) {
    return FormBytes().ShortString(name).Bytes();
}

struct ImageCase {
    std::string Property;
    std::string Data;
    std::string ClassName;
    ImageFormat Format;
    std::string File;
};

TEST(FormPictureTest, ImagesKeepTheFileTheirClassStores) {
    const std::string& bitmap = TinyBitmap;
    const std::string jpeg("\xFF\xD8\xFF\xD9", 4);
    const std::string wmf = Fields({{0x9AC6CDD7, 4}, {0, 8}, {0, 8}, {0, 2}});
    const ImageCase cases[] = {
        {"Picture.Data", ClassNamed("TBitmap") + SizePrefixed(bitmap), "TBitmap",
         ImageFormat::Bitmap, bitmap},
        {"Picture.Data", ClassNamed("TIcon") + TinyIcon, "TIcon", ImageFormat::Icon, TinyIcon},
        {"Picture.Data", ClassNamed("TPngImage") + PngSignature, "TPngImage", ImageFormat::Png,
         PngSignature},
        {"Picture.Data", ClassNamed("TJPEGImage") + SizePrefixed(jpeg), "TJPEGImage",
         ImageFormat::Jpeg, jpeg},
        {"Picture.Data", ClassNamed("TMetafile") + SizePrefixed(wmf), "TMetafile",
         ImageFormat::Metafile, wmf},
        {"Picture.Data", ClassNamed("TGIFImage") + "GIF89a", "TGIFImage", ImageFormat::Unknown,
         "GIF89a"},
        {"Glyph.Data", SizePrefixed(bitmap), "TBitmap", ImageFormat::Bitmap, bitmap},
        {"Icon.Data", TinyIcon, "TIcon", ImageFormat::Icon, TinyIcon},
    };
    for (const ImageCase& image : cases) {
        SCOPED_TRACE(image.ClassName + " in " + image.Property);
        const PictureOf form(ImageForm(image.Property, image.Data));
        const auto& found = form.Element("Image1").Image;
        ASSERT_TRUE(found.has_value());
        EXPECT_EQ(found->ClassName, image.ClassName);
        EXPECT_EQ(found->Format, image.Format);
        EXPECT_EQ(found->Bytes, image.File);
    }
}

// Hostile values give no crash, no unbounded memory and nothing beyond the
// coordinate bound; what else they give is not promised.
TEST(FormPictureTest, HostileFormsGiveBoundedPictures) {
    const std::string& bitmap = TinyBitmap;
    std::vector<std::string> forms = {
        ImageForm("Picture.Data", ClassNamed("TBitmap").substr(0, 4)),
        ImageForm("Picture.Data",
                  ClassNamed("TBitmap") + FormBytes().Little(0xFFFFFFFF, 4).Raw("BM").Bytes()),
        // A bitmap header that claims 2 billion by 2 billion pixels.
        ImageForm("Picture.Data",
                  ClassNamed("TBitmap") +
                      SizePrefixed(bitmap.substr(0, 18) +
                                   FormBytes().Little(0x7FFFFFFF7FFFFFFF, 8).Bytes())),
        R"(object Form1: TForm1
  ClientHeight = 300
  ClientWidth = 400
  object Image1: TImage
    Picture.Data = {
      0754426
      ZZ}
  end
  object Image2: TImage
    Glyph.Data = {
      07544)",
        R"(object Form1: TForm1
  Width = 2147483647
  Height = -7
  ClientHeight = 99999999999
  Font.Size = 2147483647
  object Panel1: TPanel
    Left = 2147483647
    Width = 2147483647
    BevelWidth = 2147483647
    BorderWidth = 2147483647
    object Panel2: TPanel
      Align = alClient
    end
    Items.Strings = (
      'open
    Caption = 
      'a' +)",
    };
    std::string deep = "object Form1: TForm1\n";
    for (int level = 0; level < 20000; ++level)
        deep += "object P: TPanel\nLeft = 30000\nHeight = 30000\nAlign = alTop\n";
    forms.push_back(deep);
    std::string wide = "object Form1: TForm1\n";
    for (int child = 0; child < 2000; ++child)
        wide += "object P: TPanel\nHeight = 32767\nAlign = alBottom\nend\n";
    forms.push_back(wide);

    for (const std::string& text : forms) {
        const PictureOf form(text);
        const auto& elements = form.Picture.Elements;
        EXPECT_LE(elements.size(), static_cast<size_t>(form.Tree.Count()));
        for (const auto& element : elements) {
            for (const PictureRect& rect : {element.Bounds, element.Client}) {
                EXPECT_LE(std::abs(rect.Left), CoordinateLimit);
                EXPECT_LE(std::abs(rect.Top), CoordinateLimit);
                EXPECT_TRUE(rect.Width >= 0 && rect.Width <= CoordinateLimit);
                EXPECT_TRUE(rect.Height >= 0 && rect.Height <= CoordinateLimit);
            }
            if (element.Image) {
                EXPECT_LE(element.Image->Bytes.size(), text.size() / 2);
            }
        }
    }
}

} // namespace
