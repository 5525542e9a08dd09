#include "forms/PictureClasses.h"

#include "platform/ByteText.h"

namespace pembrill {

namespace {

constexpr ClassTraits Control(std::string_view className, PictureKind kind, DrawLayer layer,
                              DefaultColor color, std::string_view textProperty = {},
                              std::string_view itemsProperty = {}, bool border = false) {
    return {className, kind, layer, color, textProperty, itemsProperty, border};
}

constexpr ClassTraits NonVisualClass(std::string_view className) {
    return Control(className, PictureKind::NonVisual, DrawLayer::Component, DefaultColor::OfParent);
}

const ClassTraits* FindClass(std::string_view className) {
    using enum PictureKind;
    using enum DrawLayer;
    using enum DefaultColor;
    static constexpr ClassTraits Classes[] = {
        Control("TLabel", Label, Graphic, OfParent, "Caption"),
        Control("TEdit", Edit, Windowed, Window, "Text", "", true),
        Control("TMemo", Memo, Windowed, Window, "", "Lines.Strings", true),
        Control("TButton", Button, Windowed, ButtonFace, "Caption"),
        Control("TCheckBox", CheckBox, Windowed, OfParent, "Caption"),
        Control("TRadioButton", RadioButton, Windowed, OfParent, "Caption"),
        Control("TListBox", ListBox, Windowed, Window, "", "Items.Strings", true),
        Control("TComboBox", ComboBox, Windowed, Window, "Text", "Items.Strings", true),
        Control("TScrollBar", ScrollBar, Windowed, ButtonFace),
        Control("TGroupBox", GroupBox, Windowed, OfParent, "Caption"),
        Control("TRadioGroup", RadioGroup, Windowed, OfParent, "Caption", "Items.Strings"),
        Control("TPanel", Panel, Windowed, ButtonFace, "Caption"),
        Control("TBitBtn", BitButton, Windowed, ButtonFace, "Caption"),
        Control("TSpeedButton", SpeedButton, Graphic, ButtonFace, "Caption"),
        Control("TMaskEdit", MaskEdit, Windowed, Window, "Text", "", true),
        Control("TStringGrid", StringGrid, Windowed, Window, "", "", true),
        Control("TDrawGrid", DrawGrid, Windowed, Window, "", "", true),
        Control("TImage", Image, Graphic, OfParent),
        Control("TShape", Shape, Graphic, OfParent),
        Control("TBevel", Bevel, Graphic, OfParent),
        Control("TScrollBox", ScrollBox, Windowed, OfParent, "", "", true),
        Control("TTabControl", TabControl, Windowed, ButtonFace, "", "Tabs.Strings"),
        Control("TPageControl", PageControl, Windowed, ButtonFace),
        Control("TTabSheet", TabSheet, Windowed, ButtonFace, "Caption"),
        Control("TTreeView", TreeView, Windowed, Window, "", "", true),
        Control("TListView", ListView, Windowed, Window, "", "", true),
        Control("THeaderControl", HeaderControl, Windowed, ButtonFace),
        Control("TStatusBar", StatusBar, Windowed, ButtonFace),
        Control("TTrackBar", TrackBar, Windowed, ButtonFace),
        Control("TProgressBar", ProgressBar, Windowed, ButtonFace),
        Control("TUpDown", UpDown, Windowed, ButtonFace),
        Control("TRichEdit", RichEdit, Windowed, Window, "", "Lines.Strings", true),
        Control("TDBGrid", DBGrid, Windowed, Window, "", "", true),
        Control("TDBNavigator", DBNavigator, Windowed, ButtonFace),
        Control("TDBText", DBText, Graphic, OfParent),
        Control("TDBEdit", DBEdit, Windowed, Window, "", "", true),
        Control("TDBMemo", DBMemo, Windowed, Window, "", "", true),
        Control("TDBImage", DBImage, Windowed, Window, "", "", true),
        Control("TDBListBox", DBListBox, Windowed, Window, "", "Items.Strings", true),
        Control("TDBLookupListBox", DBListBox, Windowed, Window, "", "", true),
        Control("TDBComboBox", DBComboBox, Windowed, Window, "", "Items.Strings", true),
        Control("TDBLookupComboBox", DBComboBox, Windowed, Window, "", "", true),
        Control("TDBCheckBox", DBCheckBox, Windowed, OfParent, "Caption"),
        Control("TDBRadioGroup", DBRadioGroup, Windowed, OfParent, "Caption", "Items.Strings"),
        Control("TNotebook", Notebook, Windowed, OfParent),
        Control("TPage", NotebookPage, Windowed, OfParent, "Caption"),
        Control("TTabbedNotebook", TabbedNotebook, Windowed, ButtonFace),
        Control("TTabPage", NotebookPage, Windowed, ButtonFace, "Caption"),
        Control("TOutline", Outline, Windowed, Window, "", "Lines.Strings", true),
        NonVisualClass("TMainMenu"),
        NonVisualClass("TPopupMenu"),
        NonVisualClass("TImageList"),
        NonVisualClass("TDataSource"),
        NonVisualClass("TTable"),
        NonVisualClass("TQuery"),
        NonVisualClass("TStoredProc"),
        NonVisualClass("TDatabase"),
        NonVisualClass("TSession"),
        NonVisualClass("TBatchMove"),
        NonVisualClass("TUpdateSQL"),
        NonVisualClass("TOpenDialog"),
        NonVisualClass("TSaveDialog"),
        NonVisualClass("TFontDialog"),
        NonVisualClass("TColorDialog"),
        NonVisualClass("TPrintDialog"),
        NonVisualClass("TPrinterSetupDialog"),
        NonVisualClass("TFindDialog"),
        NonVisualClass("TReplaceDialog"),
        NonVisualClass("TTimer"),
        NonVisualClass("TDdeClientConv"),
        NonVisualClass("TDdeClientItem"),
        NonVisualClass("TDdeServerConv"),
        NonVisualClass("TDdeServerItem"),
    };
    for (const auto& traits : Classes)
        if (EqualIgnoringAsciiCase(className, traits.ClassName))
            return &traits;
    return nullptr;
}

// A class the table does not know: a control when it has a size or holds
// controls, a component when it has only a place, a control again when it
// holds anything else; with none of these (a field, a menu item) it is not
// drawn.
const ClassTraits* GuessClass(const ObjectTree& tree, int item, const PropertyValues& values) {
    static constexpr ClassTraits Box =
        Control("", PictureKind::LabelledBox, DrawLayer::Windowed, DefaultColor::OfParent);
    static constexpr ClassTraits Square = NonVisualClass("");
    if (values.contains("Width") || values.contains("Height") || HoldsControls(tree, item))
        return &Box;
    if (values.contains("Left") || values.contains("Top"))
        return &Square;
    return tree.HasChildren(item) ? &Box : nullptr;
}

} // namespace

bool HoldsControls(const ObjectTree& tree, int item) {
    for (int child : tree.Children(item)) {
        const ClassTraits* traits = FindClass(tree.ClassName(child));
        if (traits && traits->Layer != DrawLayer::Component)
            return true;
    }
    return false;
}

const ClassTraits* FindClassTraits(const ObjectTree& tree, int item, const PropertyValues& values) {
    if (const ClassTraits* traits = FindClass(tree.ClassName(item)))
        return traits;
    return GuessClass(tree, item, values);
}

} // namespace pembrill
