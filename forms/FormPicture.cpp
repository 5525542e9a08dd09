#include "forms/FormPicture.h"

#include "forms/PictureClasses.h"
#include "forms/PictureValues.h"
#include "forms/PropertyLines.h"
#include "platform/ByteText.h"

#include <algorithm>

namespace pembrill {

namespace {

// The designer's square for a component, icon and frame.
constexpr int ComponentSquare = 28;
// A sunken edge, as Ctl3D draws BorderStyle bsSingle.
constexpr int SunkenEdge = 2;
// A Windows 95 menu bar, its line below included.
constexpr int MenuBarHeight = 19;

//     Form1:  TForm1   ->   Form1
std::string ObjectName(const std::string& itemText) {
    const size_t colon = itemText.find(':');
    if (colon == std::string::npos)
        return {};
    return std::string(TrimmedBlanks(std::string_view(itemText).substr(0, colon)));
}

std::string ValueOr(const PropertyValues& values, std::string_view name,
                    std::string fallback = {}) {
    const auto found = values.find(name);
    return found == values.end() ? fallback : found->second;
}

PictureRect Inset(const PictureRect& rect, int left, int top, int right, int bottom) {
    return {ClampCoordinate(int64_t{rect.Left} + left), ClampCoordinate(int64_t{rect.Top} + top),
            ClampCoordinate(std::max<int64_t>(0, int64_t{rect.Width} - left - right)),
            ClampCoordinate(std::max<int64_t>(0, int64_t{rect.Height} - top - bottom))};
}

bool HasTabs(PictureKind kind) {
    return kind == PictureKind::PageControl || kind == PictureKind::TabbedNotebook ||
           kind == PictureKind::TabControl;
}

bool HostsPages(PictureKind kind) {
    return kind == PictureKind::PageControl || kind == PictureKind::TabbedNotebook ||
           kind == PictureKind::Notebook;
}

bool IsPage(PictureKind kind) {
    return kind == PictureKind::TabSheet || kind == PictureKind::NotebookPage;
}

// Below a Windows 95 row of tabs in the control's font.
PictureRect TabbedArea(const PictureRect& client) {
    return Inset(client, 4, 24, 4, 4);
}

// The cell height of a Windows font: its internal leading is about a fifth
// of the character height.
int TextHeight(const PictureFont& font) {
    return font.Height > 0 ? font.Height : -font.Height * 6 / 5;
}

BevelCut ReadBevel(const PropertyValues& values, std::string_view name, BevelCut fallback) {
    const std::string value = ValueOr(values, name);
    if (value == "bvNone")
        return BevelCut::None;
    if (value == "bvLowered")
        return BevelCut::Lowered;
    if (value == "bvRaised")
        return BevelCut::Raised;
    return fallback;
}

// Where aligned children go: a panel keeps its bevels and border width free,
// a group box its caption and edge (as the designer's AlignControls does).
PictureRect AlignArea(const PictureElement& parent, const PropertyValues& values) {
    switch (parent.Kind) {
    case PictureKind::Panel: {
        const int bevelWidth =
            std::clamp(ReadCoordinate(values, "BevelWidth").value_or(1), 0, CoordinateLimit);
        const int bevels =
            (parent.BevelOuter != BevelCut::None) + (parent.BevelInner != BevelCut::None);
        const int inset =
            std::clamp(ReadCoordinate(values, "BorderWidth").value_or(0), 0, CoordinateLimit) +
            bevels * bevelWidth;
        return Inset(parent.Client, inset, inset, inset, inset);
    }
    case PictureKind::GroupBox:
    case PictureKind::RadioGroup:
    case PictureKind::DBRadioGroup:
        return Inset(parent.Client, 2, TextHeight(parent.Font) + 2, 2, 2);
    default:
        return HasTabs(parent.Kind) ? TabbedArea(parent.Client) : parent.Client;
    }
}

enum class Align { None, Top, Bottom, Left, Right, Client };

Align ReadAlign(const PropertyValues& values) {
    static constexpr std::pair<std::string_view, Align> Aligns[] = {
        {"alTop", Align::Top},     {"alBottom", Align::Bottom}, {"alLeft", Align::Left},
        {"alRight", Align::Right}, {"alClient", Align::Client},
    };
    const std::string value = ValueOr(values, "Align");
    for (const auto& [name, align] : Aligns)
        if (value == name)
            return align;
    return Align::None;
}

// A child as its parent lays it out.
struct Placement {
    DrawLayer Layer = DrawLayer::Windowed;
    Align Alignment = Align::None;
    // Left, Top, Width and Height from the form file, relative to the
    // parent's client area.
    PictureRect Given;
};

// The designer's order within one alignment: alTop by Top, alBottom from the
// lowest bottom up, and so on; equal ones keep their order in the file.
bool ComesBefore(Align align, const PictureRect& a, const PictureRect& b) {
    switch (align) {
    case Align::Top:
        return a.Top < b.Top;
    case Align::Bottom:
        return a.Bottom() > b.Bottom();
    case Align::Left:
        return a.Left < b.Left;
    case Align::Right:
        return a.Right() > b.Right();
    default:
        return false;
    }
}

// The rest of the parent's area as aligned children take their part of it.
struct FreeArea {
    int64_t Left, Top, Right, Bottom;
};

// Places one aligned child as the designer does and takes its part from
// the free area: a top or bottom child keeps its height, a left or right
// one its width, a client child takes what is left.
PictureRect TakeArea(Align align, const PictureRect& given, FreeArea& free) {
    int64_t width = free.Right - free.Left;
    int64_t height = free.Bottom - free.Top;
    if (width < 0 || align == Align::Left || align == Align::Right)
        width = given.Width;
    if (height < 0 || align == Align::Top || align == Align::Bottom)
        height = given.Height;
    int64_t left = free.Left;
    int64_t top = free.Top;
    switch (align) {
    case Align::Top:
        free.Top += height;
        break;
    case Align::Bottom:
        free.Bottom -= height;
        top = free.Bottom;
        break;
    case Align::Left:
        free.Left += width;
        break;
    case Align::Right:
        free.Right -= width;
        left = free.Right;
        break;
    default:
        break;
    }
    return {ClampCoordinate(left), ClampCoordinate(top), ClampCoordinate(width),
            ClampCoordinate(height)};
}

void AlignChildren(const PictureRect& area, std::vector<PictureElement>& children,
                   const std::vector<Placement>& placements) {
    FreeArea free{area.Left, area.Top, area.Right(), area.Bottom()};
    for (Align align : {Align::Top, Align::Bottom, Align::Left, Align::Right, Align::Client}) {
        std::vector<size_t> order;
        for (size_t i = 0; i < children.size(); ++i)
            if (placements[i].Alignment == align)
                order.push_back(i);
        std::stable_sort(order.begin(), order.end(), [&](size_t a, size_t b) {
            return ComesBefore(align, placements[a].Given, placements[b].Given);
        });
        for (size_t i : order)
            children[i].Bounds = TakeArea(align, placements[i].Given, free);
    }
}

PictureRect GivenBounds(const PropertyValues& values, bool component) {
    PictureRect given{ReadCoordinate(values, "Left").value_or(0),
                      ReadCoordinate(values, "Top").value_or(0)};
    if (component)
        return {given.Left, given.Top, ComponentSquare, ComponentSquare};
    given.Width = std::max(0, ReadCoordinate(values, "Width").value_or(0));
    given.Height = std::max(0, ReadCoordinate(values, "Height").value_or(0));
    return given;
}

PictureRect Offset(const PictureRect& rect, const PictureRect& origin) {
    return {ClampCoordinate(int64_t{origin.Left} + rect.Left),
            ClampCoordinate(int64_t{origin.Top} + rect.Top), rect.Width, rect.Height};
}

std::optional<PictureImage> ReadImage(const PropertyLines& lines) {
    if (const auto data = lines.Data.find("Picture.Data"); data != lines.Data.end())
        return ReadPictureData(data->second);
    if (const auto data = lines.Data.find("Glyph.Data");
        data != lines.Data.end() && !data->second.empty())
        return ReadGraphic("TBitmap", data->second);
    if (const auto data = lines.Data.find("Icon.Data");
        data != lines.Data.end() && !data->second.empty())
        return ReadGraphic("TIcon", data->second);
    return std::nullopt;
}

//     Columns = <  item  Title.Caption = 'Name'  Width = 120  end >
std::vector<PictureColumn> ReadColumns(const PropertyLines& lines, PictureKind kind) {
    // Grids fall back on their DefaultColWidth, the common controls on 50.
    const int defaultWidth = kind == PictureKind::DBGrid ? 64 : 50;
    std::vector<PictureColumn> columns;
    for (std::string_view name : {"Columns", "Panels", "Sections"}) {
        const auto found = lines.Collections.find(name);
        if (found == lines.Collections.end())
            continue;
        for (const PropertyValues& item : found->second) {
            std::string text =
                ValueOr(item, "Title.Caption", ValueOr(item, "Caption", ValueOr(item, "Text")));
            if (text.empty())
                text = ValueOr(item, "FieldName");
            columns.push_back({std::move(text),
                               std::max(0, ReadCoordinate(item, "Width").value_or(defaultWidth))});
        }
    }
    return columns;
}

PictureColor ReadOwnColor(const PropertyValues& values, DefaultColor fallback,
                          PictureColor parentColor) {
    if (ReadBoolean(values, "ParentColor").value_or(false))
        return parentColor;
    if (const auto color = values.find("Color"); color != values.end())
        if (const auto own = ReadColor(color->second))
            return *own;
    switch (fallback) {
    case DefaultColor::Window:
        return WindowColor;
    case DefaultColor::ButtonFace:
        return ButtonFaceColor;
    default:
        return parentColor;
    }
}

bool ReadBorder(const PropertyValues& values, bool fallback) {
    const std::string style = ValueOr(values, "BorderStyle");
    if (style == "bsSingle")
        return true;
    if (style == "bsNone")
        return false;
    return fallback;
}

// A child of the object being laid out, read.
struct Child {
    int Item = 0;
    const ClassTraits* Traits = nullptr;
    PropertyLines Lines;
};

// Which page of a page control or notebook is in front: PageIndex, else the
// page ActivePage names (by name or, for notebooks, caption), else the
// first.
size_t ActivePage(const PropertyValues& host, const std::vector<std::string>& names,
                  const std::vector<std::string>& captions) {
    const int index = ReadCoordinate(host, "PageIndex").value_or(-1);
    if (index >= 0 && static_cast<size_t>(index) < names.size())
        return static_cast<size_t>(index);
    const std::string active = ValueOr(host, "ActivePage");
    for (size_t i = 0; i < names.size(); ++i)
        if (!active.empty() && (EqualIgnoringAsciiCase(names[i], active) || captions[i] == active))
            return i;
    return 0;
}

struct WindowMetrics {
    std::string_view Style;
    FormBorder Border;
    int Frame;
    // The caption bar with the line below it.
    int Caption;
};

// Windows 95's frames and caption bars.
constexpr WindowMetrics Windows[] = {
    {"bsSizeable", FormBorder::Sizeable, 4, 19},
    {"bsDialog", FormBorder::Dialog, 3, 19},
    {"bsSingle", FormBorder::Single, 3, 19},
    {"bsNone", FormBorder::None, 0, 0},
    {"bsToolWindow", FormBorder::ToolWindow, 3, 15},
    {"bsSizeToolWin", FormBorder::SizeToolWin, 4, 15},
};

const WindowMetrics& ReadWindowMetrics(const PropertyValues& values) {
    const std::string style = ValueOr(values, "BorderStyle");
    for (const auto& metrics : Windows)
        if (style == metrics.Style)
            return metrics;
    return Windows[0];
}

// Only forms are written with these; a frame has a tab order or holds
// controls, a data module neither.
PictureKind RootKind(const ObjectTree& tree, int item, const PropertyValues& values) {
    for (std::string_view name :
         {"PixelsPerInch", "TextHeight", "ClientWidth", "ClientHeight", "Caption"})
        if (values.contains(name))
            return PictureKind::Form;
    if (values.contains("TabOrder") || HoldsControls(tree, item))
        return PictureKind::Frame;
    return PictureKind::DataModule;
}

class PictureBuilder {
public:
    PictureBuilder(const ObjectTree& tree, FormPicture& picture) : Tree(tree), Picture(picture) {}

    void AddForm(int item) {
        const PropertyLines lines = ReadPropertyLines(Tree.Properties(item));
        PixelsPerInch = std::clamp(ReadCoordinate(lines.Values, "PixelsPerInch").value_or(96), 1,
                                   CoordinateLimit);
        PictureElement form;
        form.Item = item;
        form.Kind = RootKind(Tree, item, lines.Values);
        form.Name = ObjectName(Tree.Text(item));
        form.ClassName = Tree.ClassName(item);
        form.Text =
            form.Kind == PictureKind::DataModule ? form.Name : ValueOr(lines.Values, "Caption");
        ReadFont(lines.Values, PixelsPerInch, form.Font);
        form.Color = ReadOwnColor(lines.Values, DefaultColor::ButtonFace, ButtonFaceColor);
        form.Enabled = ReadBoolean(lines.Values, "Enabled").value_or(true);
        form.Image = ReadImage(lines);
        PlaceForm(item, lines.Values, form);
        Picture.Elements.push_back(std::move(form));
        Placements.push_back({});
    }

    // Elements are added behind the ones being laid out, so one pass over
    // the growing list reaches every depth without recursion.
    void AddAllChildren() {
        for (size_t e = 0; e < Picture.Elements.size(); ++e)
            AddChildren(e);
    }

    // From the order they were laid out in (level by level) to the order
    // they are drawn in: each element's subtree before its next sibling.
    void OrderForPainting() {
        const size_t count = Picture.Elements.size();
        std::vector<std::vector<size_t>> children(count);
        for (size_t i = 1; i < count; ++i)
            children[static_cast<size_t>(Picture.Elements[i].Parent)].push_back(i);
        std::vector<PictureElement> ordered;
        std::vector<int> newIndex(count, -1);
        std::vector<size_t> pending{0};
        while (!pending.empty()) {
            const size_t old = pending.back();
            pending.pop_back();
            newIndex[old] = static_cast<int>(ordered.size());
            ordered.push_back(std::move(Picture.Elements[old]));
            if (ordered.back().Parent >= 0)
                ordered.back().Parent = newIndex[static_cast<size_t>(ordered.back().Parent)];
            std::vector<size_t>& next = children[old];
            std::stable_sort(next.begin(), next.end(), [&](size_t a, size_t b) {
                return Placements[a].Layer < Placements[b].Layer;
            });
            pending.insert(pending.end(), next.rbegin(), next.rend());
        }
        Picture.Elements = std::move(ordered);
    }

private:
    void PlaceForm(int item, const PropertyValues& values, PictureElement& form) {
        const int width = std::max(0, ReadCoordinate(values, "Width").value_or(0));
        const int height = std::max(0, ReadCoordinate(values, "Height").value_or(0));
        if (form.Kind == PictureKind::Frame) {
            Picture.Border = FormBorder::None;
            form.Bounds = form.Client = {0, 0, width, height};
            return;
        }
        const WindowMetrics& metrics = ReadWindowMetrics(values);
        Picture.Border = metrics.Border;
        Picture.MenuItems = MenuItems(item, ValueOr(values, "Menu"));
        const int menu = Picture.MenuItems.empty() ? 0 : MenuBarHeight;
        const int frame = metrics.Frame;
        const int clientWidth = ReadCoordinate(values, "ClientWidth").value_or(width - 2 * frame);
        const int clientHeight = ReadCoordinate(values, "ClientHeight")
                                     .value_or(height - 2 * frame - metrics.Caption - menu);
        form.Client = {frame, frame + metrics.Caption + menu, std::max(0, clientWidth),
                       std::max(0, clientHeight)};
        form.Bounds = {0, 0, ClampCoordinate(int64_t{form.Client.Width} + 2 * frame),
                       ClampCoordinate(int64_t{form.Client.Bottom()} + frame)};
        if (metrics.Caption > 0)
            Picture.CaptionBar = {frame, frame, form.Client.Width, metrics.Caption - 1};
        if (menu > 0)
            Picture.MenuBar = {frame, frame + metrics.Caption, form.Client.Width, menu - 1};
    }

    // The visible top-level items of the main menu the form names.
    std::vector<std::string> MenuItems(int form, const std::string& menuName) {
        std::vector<std::string> captions;
        if (menuName.empty())
            return captions;
        for (int child : Tree.Children(form)) {
            if (!EqualIgnoringAsciiCase(ObjectName(Tree.Text(child)), menuName))
                continue;
            for (int menuItem : Tree.Children(child)) {
                const PropertyLines lines = ReadPropertyLines(Tree.Properties(menuItem));
                if (ReadBoolean(lines.Values, "Visible").value_or(true))
                    captions.push_back(ValueOr(lines.Values, "Caption"));
            }
            break;
        }
        return captions;
    }

    void AddChildren(size_t parentIndex) {
        const int item = Picture.Elements[parentIndex].Item;
        if (Placements[parentIndex].Layer == DrawLayer::Component || !Tree.HasChildren(item))
            return;
        const PropertyValues parentValues = ReadPropertyLines(Tree.Properties(item)).Values;
        std::vector<Child> children = ReadChildren(item);
        if (HostsPages(Picture.Elements[parentIndex].Kind))
            KeepActivePage(parentValues, Picture.Elements[parentIndex], children);
        const PictureElement& parent = Picture.Elements[parentIndex];
        std::vector<PictureElement> elements;
        std::vector<Placement> placements;
        for (const Child& child : children) {
            elements.push_back(MakeElement(child, parent, static_cast<int>(parentIndex)));
            placements.push_back(Place(child, parent, elements.back()));
        }
        AlignChildren(AlignArea(parent, parentValues), elements, placements);
        for (PictureElement& element : elements) {
            const int edge = element.Border ? SunkenEdge : 0;
            element.Client = Inset(element.Bounds, edge, edge, edge, edge);
        }
        std::move(elements.begin(), elements.end(), std::back_inserter(Picture.Elements));
        Placements.insert(Placements.end(), placements.begin(), placements.end());
    }

    std::vector<Child> ReadChildren(int item) const {
        std::vector<Child> children;
        for (int index : Tree.Children(item)) {
            Child child{index, nullptr, ReadPropertyLines(Tree.Properties(index))};
            child.Traits = FindClassTraits(Tree, index, child.Lines.Values);
            if (child.Traits)
                children.push_back(std::move(child));
        }
        return children;
    }

    // Names the tabs of a page control or notebook and drops every page
    // but the one in front.
    void KeepActivePage(const PropertyValues& hostValues, PictureElement& host,
                        std::vector<Child>& children) const {
        std::vector<std::string> names;
        std::vector<std::string> captions;
        for (const Child& child : children) {
            if (!IsPage(child.Traits->Kind))
                continue;
            names.push_back(ObjectName(Tree.Text(child.Item)));
            captions.push_back(ValueOr(child.Lines.Values, "Caption"));
        }
        if (names.empty())
            return;
        const size_t active = ActivePage(hostValues, names, captions);
        if (HasTabs(host.Kind)) {
            host.Items = captions;
            host.ActiveTab = static_cast<int>(active);
        }
        std::vector<Child> kept;
        size_t page = 0;
        for (Child& child : children)
            if (!IsPage(child.Traits->Kind) || page++ == active)
                kept.push_back(std::move(child));
        children = std::move(kept);
    }

    PictureElement MakeElement(const Child& child, const PictureElement& parent,
                               int parentIndex) const {
        const ClassTraits& traits = *child.Traits;
        const PropertyValues& values = child.Lines.Values;
        PictureElement element;
        element.Item = child.Item;
        element.Parent = parentIndex;
        element.Kind = traits.Kind;
        element.Name = ObjectName(Tree.Text(child.Item));
        element.ClassName = Tree.ClassName(child.Item);
        element.Font = parent.Font;
        if (!ReadBoolean(values, "ParentFont").value_or(false))
            ReadFont(values, PixelsPerInch, element.Font);
        element.Color = ReadOwnColor(values, traits.Color, parent.Color);
        element.Visible = ReadBoolean(values, "Visible").value_or(true);
        element.Enabled = ReadBoolean(values, "Enabled").value_or(true);
        element.Border = ReadBorder(values, traits.Border);
        if (!traits.TextProperty.empty())
            element.Text = ValueOr(values, traits.TextProperty);
        if (const auto items = child.Lines.Lists.find(traits.ItemsProperty);
            items != child.Lines.Lists.end())
            element.Items = items->second;
        if (traits.Kind == PictureKind::TabControl)
            element.ActiveTab = ReadCoordinate(values, "TabIndex").value_or(-1);
        if (traits.Kind == PictureKind::RadioGroup || traits.Kind == PictureKind::DBRadioGroup)
            element.ActiveTab = ReadCoordinate(values, "ItemIndex").value_or(-1);
        element.Checked = ReadBoolean(values, "Checked").value_or(false) ||
                          ValueOr(values, "State") == "cbChecked";
        if (traits.Kind == PictureKind::Panel) {
            element.BevelOuter = ReadBevel(values, "BevelOuter", BevelCut::Raised);
            element.BevelInner = ReadBevel(values, "BevelInner", BevelCut::None);
        }
        element.Columns = ReadColumns(child.Lines, traits.Kind);
        element.Image = ReadImage(child.Lines);
        return element;
    }

    // Sets the element's Bounds; aligned children are moved afterwards, all
    // together.
    Placement Place(const Child& child, const PictureElement& parent,
                    PictureElement& element) const {
        const bool component = child.Traits->Layer == DrawLayer::Component;
        Placement placement{child.Traits->Layer, Align::None,
                            GivenBounds(child.Lines.Values, component)};
        if (IsPage(element.Kind) && HostsPages(parent.Kind)) {
            element.Bounds = HasTabs(parent.Kind) ? TabbedArea(parent.Client) : parent.Client;
            return placement;
        }
        placement.Alignment = component ? Align::None : ReadAlign(child.Lines.Values);
        element.Bounds = Offset(placement.Given, parent.Client);
        return placement;
    }

    const ObjectTree& Tree;
    FormPicture& Picture;
    // One for each element, by index.
    std::vector<Placement> Placements;
    int PixelsPerInch = 96;
};

} // namespace

bool IsFormItem(const ObjectTree& tree, int item) {
    return item >= 1 && item <= tree.Count() && tree.Level(item) == 1;
}

FormPicture BuildFormPicture(const ObjectTree& tree, int item) {
    FormPicture picture;
    PictureBuilder builder(tree, picture);
    builder.AddForm(item);
    builder.AddAllChildren();
    builder.OrderForPainting();
    return picture;
}

namespace {

bool Holds(const PictureRect& rect, int x, int y) {
    return x >= rect.Left && x < rect.Right() && y >= rect.Top && y < rect.Bottom();
}

} // namespace

// A parent comes before its children, so each element's parents have been
// seen when it is: whether a point lies in every client area above it is
// known from its parent's entry.
int ElementAt(const FormPicture& picture, int x, int y) {
    const auto& elements = picture.Elements;
    std::vector<bool> reachable(elements.size(), false);
    int found = -1;
    for (size_t i = 0; i < elements.size(); ++i) {
        const int parent = elements[i].Parent;
        const bool parentReachable =
            parent < 0 || (reachable[static_cast<size_t>(parent)] &&
                           Holds(elements[static_cast<size_t>(parent)].Client, x, y));
        reachable[i] = parentReachable && Holds(elements[i].Bounds, x, y);
        if (reachable[i])
            found = static_cast<int>(i);
    }
    return found;
}

int FormItemOf(const ObjectTree& tree, int item) {
    for (int at = item; at > 0; at = tree.Parent(at)) {
        if (IsFormItem(tree, at))
            return at;
    }
    return 0;
}

int ElementOfItem(const FormPicture& picture, const ObjectTree& tree, int item) {
    for (int at = item; at > 0; at = tree.Parent(at)) {
        for (size_t i = 0; i < picture.Elements.size(); ++i) {
            if (picture.Elements[i].Item == at)
                return static_cast<int>(i);
        }
    }
    return -1;
}

} // namespace pembrill
