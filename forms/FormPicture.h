#pragma once

#include "forms/ObjectTree.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace pembrill {

// What a form looked like in the designer, read from its object tree alone:
// a plain model that the paint function draws. Coordinates are pixels of the
// picture: (0, 0) is the top left corner of the window's outer frame.

// The controls that have a drawing of their own. Any other class of control is
// a LabelledBox (name and class); components that are no controls are the
// designer's small NonVisual squares.
enum class PictureKind {
    Form,
    Frame,
    DataModule,
    // Standard
    Label,
    Edit,
    Memo,
    Button,
    CheckBox,
    RadioButton,
    ListBox,
    ComboBox,
    ScrollBar,
    GroupBox,
    RadioGroup,
    Panel,
    // Additional
    BitButton,
    SpeedButton,
    MaskEdit,
    StringGrid,
    DrawGrid,
    Image,
    Shape,
    Bevel,
    ScrollBox,
    // Win95
    TabControl,
    PageControl,
    TabSheet,
    TreeView,
    ListView,
    HeaderControl,
    StatusBar,
    TrackBar,
    ProgressBar,
    UpDown,
    RichEdit,
    // Data controls
    DBGrid,
    DBNavigator,
    DBText,
    DBEdit,
    DBMemo,
    DBImage,
    DBListBox,
    DBComboBox,
    DBCheckBox,
    DBRadioGroup,
    // The older pages
    Notebook,
    NotebookPage,
    TabbedNotebook,
    Outline,
    LabelledBox,
    NonVisual,
};

struct PictureRect {
    int Left = 0;
    int Top = 0;
    int Width = 0;
    int Height = 0;

    int Right() const { return Left + Width; }
    int Bottom() const { return Top + Height; }
    bool operator==(const PictureRect&) const = default;
};

// Colours are 0xRRGGBB, system colours as Windows 95's standard scheme shows
// them.
using PictureColor = uint32_t;

// Windows 95's standard scheme: the colours a control shows when its own are
// not given, and the faces its drawing is made of.
inline constexpr PictureColor ButtonFaceColor = 0xC0C0C0;
inline constexpr PictureColor WindowColor = 0xFFFFFF;

struct PictureFont {
    std::string Name = "MS Sans Serif";
    // As Delphi keeps it: negative, the character height in pixels; positive,
    // the cell height.
    int Height = -11;
    bool Bold = false;
    bool Italic = false;
    bool Underline = false;
    bool StrikeOut = false;
    PictureColor Color = 0x000000;
};

// A column of a grid or list view, a panel of a status bar, a section of a
// header.
struct PictureColumn {
    std::string Text;
    int Width = 0;
};

enum class ImageFormat { Bitmap, Icon, Metafile, Jpeg, Png, Unknown };

// An image as the form file stores it, not decoded: Bytes is a whole file of
// its Format (a BMP, ICO, WMF or EMF, JPEG or PNG file), or for Unknown the
// stream as it was.
struct PictureImage {
    // The graphic class the form file names ("TBitmap", "TJPEGImage"...).
    std::string ClassName;
    ImageFormat Format = ImageFormat::Unknown;
    std::string Bytes;
};

enum class BevelCut { None, Lowered, Raised };

struct PictureElement {
    // The object's item in the tree.
    int Item = 0;
    // The element whose client area holds this one; -1 for the form.
    int Parent = -1;
    PictureKind Kind = PictureKind::LabelledBox;
    std::string Name;
    std::string ClassName;
    PictureRect Bounds;
    // Where Left and Top of its children count from: Bounds without the
    // window's border.
    PictureRect Client;
    // The caption or text the control shows.
    std::string Text;
    // List items, memo lines, or the tab names of a tabbed control.
    std::vector<std::string> Items;
    // The index in Items of the tab in front, or of a radio group's checked
    // button; -1 for none.
    int ActiveTab = -1;
    std::vector<PictureColumn> Columns;
    PictureFont Font;
    PictureColor Color = ButtonFaceColor;
    bool Visible = true;
    bool Enabled = true;
    // A check box or radio button that is checked.
    bool Checked = false;
    // BorderStyle bsSingle: a sunken edge around the control.
    bool Border = false;
    // A panel's bevels.
    BevelCut BevelOuter = BevelCut::None;
    BevelCut BevelInner = BevelCut::None;
    std::optional<PictureImage> Image;
};

enum class FormBorder { Sizeable, Dialog, Single, None, ToolWindow, SizeToolWin };

struct FormPicture {
    // Empty when the window has none.
    PictureRect CaptionBar;
    PictureRect MenuBar;
    // The captions of the main menu's top-level items.
    std::vector<std::string> MenuItems;
    FormBorder Border = FormBorder::Sizeable;
    // Elements[0] is the form itself, its Bounds the whole window. They
    // come in the order they are drawn: a parent before its children, each
    // child with everything in it before its next sibling, and siblings as
    // the designer stacks them: graphic controls, then windowed ones, then
    // the squares of components.
    std::vector<PictureElement> Elements;
};

// True for the top object of a form file: a form, frame or data module.
bool IsFormItem(const ObjectTree& tree, int item);

// The top object of the form that holds `item`: the item itself or its
// nearest ancestor for which IsFormItem holds; 0 for none.
int FormItemOf(const ObjectTree& tree, int item);

// The picture of the form whose top object is `item`. Values it cannot use
// are passed over; every number is held within a bound, so no input makes it
// fail or grow beyond the size of the tree.
FormPicture BuildFormPicture(const ObjectTree& tree, int item);

// The element drawn topmost at the point (form pixels): the last in drawing
// order whose rectangle holds it, within its parents' client areas; -1 for
// none.
int ElementAt(const FormPicture& picture, int x, int y);

// The element of tree item `item`, or of its nearest ancestor that has one;
// -1 when the item is not in the picture's form.
int ElementOfItem(const FormPicture& picture, const ObjectTree& tree, int item);

} // namespace pembrill
