#include "output/PaintPicture.h"

#include "output/PictureCanvas.h"

#include <algorithm>
#include <string>
#include <vector>

namespace pembrill {

namespace {

// Windows 95's standard scheme.
constexpr PictureColor Shadow = 0x808080;
constexpr PictureColor DarkShadow = 0x000000;
constexpr PictureColor Highlight = 0xFFFFFF;
constexpr PictureColor Light = 0xDFDFDF;
constexpr PictureColor ActiveCaption = 0x000080;
constexpr PictureColor Black = 0x000000;

// The sizes Windows 95 gave its parts, in pixels.
constexpr int CheckSize = 13;
constexpr int ArrowButton = 16;
constexpr int TabRow = 20;
constexpr int GridColumn = 64;
constexpr int GridRow = 24;
constexpr int DBGridRow = 18;
constexpr int CaptionButtonWidth = 16;
constexpr int CaptionButtonHeight = 14;
constexpr int NavigatorButtons = 10;
constexpr double CoordinateReach = 32767;

QRectF RectOf(const PictureRect& rect) {
    return QRectF(rect.Left, rect.Top, rect.Width, rect.Height);
}

QRectF Inset(const QRectF& rect, double by) {
    return rect.adjusted(by, by, -by, -by);
}

PictureFont SystemFont(bool bold) {
    PictureFont font;
    font.Bold = bold;
    return font;
}

class Painter {
public:
    Painter(PictureCanvas& canvas, const FormPicture& picture) : Canvas(canvas), Picture(picture) {}

    void Paint() {
        std::vector<int> clips;
        for (size_t i = 0; i < Picture.Elements.size(); ++i) {
            const PictureElement& element = Picture.Elements[i];
            while (!clips.empty() && clips.back() != element.Parent) {
                Canvas.EndClip();
                clips.pop_back();
            }
            if (i == 0)
                PaintWindow(element);
            else
                PaintElement(element);
            if (i + 1 < Picture.Elements.size() &&
                Picture.Elements[i + 1].Parent == static_cast<int>(i)) {
                Canvas.Clip(RectOf(element.Client));
                clips.push_back(static_cast<int>(i));
            }
        }
        for (; !clips.empty(); clips.pop_back())
            Canvas.EndClip();
    }

private:
    // The lines of a rectangle's edges: top and left in one colour, bottom
    // and right in the other.
    // A gap in the top edge leaves room for a caption there.
    void Frame(const QRectF& rect, PictureColor topLeft, PictureColor bottomRight,
               double gapFrom = 0, double gapTo = 0) {
        if (rect.width() < 1 || rect.height() < 1)
            return;
        const double right = rect.right() - 1;
        const double bottom = rect.bottom() - 1;
        if (gapTo > gapFrom) {
            Canvas.Line({rect.left(), rect.top()}, {gapFrom - 1, rect.top()}, topLeft);
            if (gapTo < right - 1)
                Canvas.Line({gapTo, rect.top()}, {right - 1, rect.top()}, topLeft);
        } else {
            Canvas.Line({rect.left(), rect.top()}, {right - 1, rect.top()}, topLeft);
        }
        Canvas.Line({rect.left(), rect.top()}, {rect.left(), bottom - 1}, topLeft);
        Canvas.Line({rect.left(), bottom}, {right, bottom}, bottomRight);
        Canvas.Line({right, rect.top()}, {right, bottom}, bottomRight);
    }

    void DashedFrame(const QRectF& rect, PictureColor colour) {
        const double right = rect.right() - 1;
        const double bottom = rect.bottom() - 1;
        Canvas.Line(rect.topLeft(), {right, rect.top()}, colour, true);
        Canvas.Line(rect.topLeft(), {rect.left(), bottom}, colour, true);
        Canvas.Line({rect.left(), bottom}, {right, bottom}, colour, true);
        Canvas.Line({right, rect.top()}, {right, bottom}, colour, true);
    }

    void Raised(const QRectF& rect) {
        Frame(rect, Light, DarkShadow);
        Frame(Inset(rect, 1), Highlight, Shadow);
    }

    void Sunken(const QRectF& rect) {
        Frame(rect, Shadow, Highlight);
        Frame(Inset(rect, 1), DarkShadow, Light);
    }

    void Etched(const QRectF& rect, double gapFrom, double gapTo) {
        Frame(rect, Shadow, Highlight, gapFrom, gapTo);
        Frame(Inset(rect, 1), Highlight, Shadow, gapFrom, gapTo);
    }

    void Button(const QRectF& rect) {
        Canvas.Fill(rect, ButtonFaceColor);
        Raised(rect);
    }

    PictureColor TextColour(const PictureElement& element) const {
        return element.Enabled ? element.Font.Color : Shadow;
    }

    double Text(const QRectF& box, TextPlace place, const PictureElement& element,
                const std::string& text) {
        return Canvas.Text(box, place, element.Font, TextColour(element), text);
    }

    // A small triangle pointing up, down, left or right, centred in the box.
    void Arrow(const QRectF& box, char direction, PictureColor colour = Black) {
        const QPointF c = box.center();
        const double s = std::max(2.0, std::min(box.width(), box.height()) / 5);
        switch (direction) {
        case 'u':
            Canvas.Polygon(
                {{c.x() - s, c.y() + s / 2}, {c.x() + s, c.y() + s / 2}, {c.x(), c.y() - s / 2}},
                colour);
            return;
        case 'd':
            Canvas.Polygon(
                {{c.x() - s, c.y() - s / 2}, {c.x() + s, c.y() - s / 2}, {c.x(), c.y() + s / 2}},
                colour);
            return;
        case 'l':
            Canvas.Polygon(
                {{c.x() + s / 2, c.y() - s}, {c.x() + s / 2, c.y() + s}, {c.x() - s / 2, c.y()}},
                colour);
            return;
        default:
            Canvas.Polygon(
                {{c.x() - s / 2, c.y() - s}, {c.x() - s / 2, c.y() + s}, {c.x() + s / 2, c.y()}},
                colour);
            return;
        }
    }

    void PaintWindow(const PictureElement& form) {
        const QRectF bounds = RectOf(form.Bounds);
        if (form.Kind != PictureKind::Form) {
            Canvas.Fill(bounds, form.Kind == PictureKind::DataModule ? WindowColor : form.Color);
            Frame(bounds, Shadow, Shadow);
            return;
        }
        Canvas.Fill(bounds, ButtonFaceColor);
        if (Picture.Border != FormBorder::None)
            Raised(bounds);
        Canvas.Fill(RectOf(form.Client), form.Color);
        PaintCaptionBar(form);
        PaintMenuBar();
        PaintImage(form, RectOf(form.Client));
    }

    void PaintCaptionBar(const PictureElement& form) {
        const QRectF bar = RectOf(Picture.CaptionBar);
        if (bar.isEmpty())
            return;
        Canvas.Fill(bar, ActiveCaption);
        const bool tool =
            Picture.Border == FormBorder::ToolWindow || Picture.Border == FormBorder::SizeToolWin;
        const int buttons = Picture.Border == FormBorder::Sizeable ? 3 : 1;
        const double buttonTop = bar.top() + (bar.height() - CaptionButtonHeight) / 2;
        double left = bar.right() - 2 - buttons * CaptionButtonWidth;
        for (int i = 0; i < buttons; ++i) {
            const double gap = i == buttons - 1 && buttons > 1 ? 2 : 0;
            const QRectF button(left + i * CaptionButtonWidth + gap, buttonTop,
                                CaptionButtonWidth - 2, CaptionButtonHeight);
            Button(button);
            CaptionSymbol(button, buttons == 1 ? 2 : i);
        }
        const QRectF title(bar.left() + (tool ? 2 : 20), bar.top(),
                           left - bar.left() - (tool ? 4 : 22), bar.height());
        Canvas.Text(title, TextPlace::MiddleLeft, SystemFont(true), Highlight, form.Text);
        if (!tool)
            Canvas.Fill(QRectF(bar.left() + 2, bar.top() + 1, 16, bar.height() - 2),
                        ButtonFaceColor);
    }

    // Minimise, maximise and close.
    void CaptionSymbol(const QRectF& button, int which) {
        const QRectF inner = Inset(button, 3);
        if (which == 0) {
            Canvas.Fill(QRectF(inner.left() + 1, inner.bottom() - 2, 6, 2), Black);
        } else if (which == 1) {
            Frame(QRectF(inner.left(), inner.top(), 9, 8), Black, Black);
            Canvas.Line({inner.left(), inner.top() + 1}, {inner.left() + 8, inner.top() + 1},
                        Black);
        } else {
            const QPointF a = inner.topLeft() + QPointF(1, 0);
            Canvas.Line(a, a + QPointF(6, 6), Black);
            Canvas.Line(a + QPointF(1, 0), a + QPointF(7, 6), Black);
            Canvas.Line(a + QPointF(6, 0), a + QPointF(0, 6), Black);
            Canvas.Line(a + QPointF(7, 0), a + QPointF(1, 6), Black);
        }
    }

    void PaintMenuBar() {
        const QRectF bar = RectOf(Picture.MenuBar);
        if (bar.isEmpty())
            return;
        Canvas.Fill(bar, ButtonFaceColor);
        double left = bar.left() + 6;
        for (const std::string& caption : Picture.MenuItems) {
            const QRectF box(left, bar.top(), std::max(0.0, bar.right() - left), bar.height());
            left += Canvas.Text(box, TextPlace::MiddleLeft, SystemFont(false), Black,
                                MenuText(caption)) +
                    12;
            if (left >= bar.right())
                break;
        }
    }

    // A caption's '&' marks the next letter as the menu's key; "&&" is an
    // ampersand.
    static std::string MenuText(const std::string& caption) {
        std::string text;
        for (size_t i = 0; i < caption.size(); ++i) {
            if (caption[i] == '&' && i + 1 < caption.size())
                ++i;
            text += caption[i];
        }
        return text;
    }

    void PaintElement(const PictureElement& element) {
        const QRectF rect = RectOf(element.Bounds);
        if (!element.Visible) {
            DashedFrame(rect, Shadow);
            Text(Inset(rect, 2), TextPlace::Centre, element, element.Name);
            return;
        }
        PaintControl(element, rect);
    }

    void PaintControl(const PictureElement& e, const QRectF& rect) {
        switch (e.Kind) {
        case PictureKind::Label:
        case PictureKind::DBText:
            // A label sizes itself to its caption in Delphi's font; the
            // caption is never cut off by a font here that runs wider.
            Canvas.Fill(rect, e.Color);
            Text(QRectF(rect.left(), rect.top(), CoordinateReach, rect.height()),
                 TextPlace::TopLeft, e, e.Text.empty() ? e.Name : e.Text);
            return;
        case PictureKind::Edit:
        case PictureKind::MaskEdit:
        case PictureKind::DBEdit:
            Field(e, rect);
            Text(Inset(FieldInside(e, rect), 1), TextPlace::MiddleLeft, e,
                 e.Kind == PictureKind::DBEdit ? e.Name : e.Text);
            return;
        case PictureKind::ComboBox:
        case PictureKind::DBComboBox:
            PaintComboBox(e, rect);
            return;
        case PictureKind::Memo:
        case PictureKind::RichEdit:
        case PictureKind::DBMemo:
        case PictureKind::ListBox:
        case PictureKind::DBListBox:
        case PictureKind::TreeView:
        case PictureKind::Outline:
            Field(e, rect);
            Lines(e, Inset(FieldInside(e, rect), 1));
            return;
        case PictureKind::Button:
            Button(rect);
            Frame(rect, Black, Black);
            Raised(Inset(rect, 1));
            Text(rect, TextPlace::Centre, e, MenuText(e.Text));
            return;
        case PictureKind::BitButton:
        case PictureKind::SpeedButton:
            PaintGlyphButton(e, rect);
            return;
        case PictureKind::CheckBox:
        case PictureKind::DBCheckBox:
        case PictureKind::RadioButton:
            PaintCheck(e, rect);
            return;
        case PictureKind::ScrollBar:
            PaintScrollBar(rect);
            return;
        case PictureKind::GroupBox:
        case PictureKind::RadioGroup:
        case PictureKind::DBRadioGroup:
            PaintGroup(e, rect);
            return;
        case PictureKind::Panel:
            PaintPanel(e, rect);
            return;
        case PictureKind::StringGrid:
        case PictureKind::DrawGrid:
        case PictureKind::DBGrid:
            PaintGrid(e, rect);
            return;
        case PictureKind::Image:
        case PictureKind::DBImage:
            PaintImageControl(e, rect);
            return;
        case PictureKind::Shape:
            Canvas.Fill(rect, WindowColor);
            Frame(rect, Black, Black);
            return;
        case PictureKind::Bevel:
            Frame(rect, Shadow, Highlight);
            return;
        case PictureKind::ScrollBox:
        case PictureKind::TabSheet:
        case PictureKind::Notebook:
        case PictureKind::NotebookPage:
            Canvas.Fill(rect, e.Color);
            if (e.Border)
                Sunken(rect);
            return;
        case PictureKind::TabControl:
        case PictureKind::PageControl:
        case PictureKind::TabbedNotebook:
            PaintTabs(e, rect);
            return;
        case PictureKind::ListView:
        case PictureKind::HeaderControl:
            PaintHeaderList(e, rect);
            return;
        case PictureKind::StatusBar:
            PaintStatusBar(e, rect);
            return;
        case PictureKind::TrackBar:
            PaintTrackBar(rect);
            return;
        case PictureKind::ProgressBar:
            Canvas.Fill(rect, ButtonFaceColor);
            Frame(rect, Shadow, Highlight);
            return;
        case PictureKind::UpDown:
            PaintUpDown(rect);
            return;
        case PictureKind::DBNavigator:
            PaintNavigator(rect);
            return;
        case PictureKind::NonVisual:
            PaintComponent(e, rect);
            return;
        case PictureKind::Form:
        case PictureKind::Frame:
        case PictureKind::DataModule:
        case PictureKind::LabelledBox:
            break;
        }
        PaintLabelledBox(e, rect);
    }

    void Field(const PictureElement& e, const QRectF& rect) {
        Canvas.Fill(rect, e.Color);
        if (e.Border)
            Sunken(rect);
    }

    static QRectF FieldInside(const PictureElement& e, const QRectF& rect) {
        return e.Border ? Inset(rect, 2) : rect;
    }

    // A list's items, a memo's lines, one under another.
    void Lines(const PictureElement& e, const QRectF& box) {
        const double height = PicturePixelSize(e.Font) * 4 / 3.0 + 1;
        double top = box.top();
        const std::vector<std::string> single{e.Text};
        const std::vector<std::string>& lines = e.Items.empty() ? single : e.Items;
        for (const std::string& line : lines) {
            if (top >= box.bottom())
                return;
            Text(QRectF(box.left() + 1, top, box.width() - 1, std::min(height, box.bottom() - top)),
                 TextPlace::TopLeft, e, line);
            top += height;
        }
    }

    void PaintComboBox(const PictureElement& e, const QRectF& rect) {
        Canvas.Fill(rect, e.Color);
        Sunken(rect);
        const QRectF inside = Inset(rect, 2);
        const QRectF button(inside.right() - ArrowButton, inside.top(), ArrowButton,
                            inside.height());
        Button(button);
        Arrow(button, 'd');
        Text(QRectF(inside.left() + 1, inside.top(), inside.width() - ArrowButton - 2,
                    inside.height()),
             TextPlace::MiddleLeft, e, e.Kind == PictureKind::DBComboBox ? e.Name : e.Text);
    }

    void PaintGlyphButton(const PictureElement& e, const QRectF& rect) {
        Canvas.Fill(rect, ButtonFaceColor);
        if (e.Kind == PictureKind::BitButton) {
            Frame(rect, Black, Black);
            Raised(Inset(rect, 1));
        } else {
            Frame(rect, Highlight, Shadow);
        }
        const QImage glyph = e.Image ? DecodePictureImage(*e.Image) : QImage();
        const std::string caption = MenuText(e.Text);
        if (glyph.isNull()) {
            Text(rect, TextPlace::Centre, e, caption);
            return;
        }
        // A glyph holds its states side by side, as many as it is wide
        // for its height; the first is the one shown.
        const int states = std::clamp(glyph.width() / std::max(1, glyph.height()), 1, 4);
        const QImage first = glyph.copy(0, 0, glyph.width() / states, glyph.height());
        const double glyphWidth = first.width();
        double left = rect.center().x() - glyphWidth / 2;
        if (!caption.empty())
            left = rect.left() + std::max(4.0, (rect.width() - glyphWidth - 4 -
                                                PicturePixelSize(e.Font) * caption.size() / 2.0) /
                                                   2);
        Canvas.Image(
            QRectF(left, rect.center().y() - first.height() / 2.0, first.width(), first.height()),
            first);
        if (!caption.empty())
            Text(QRectF(left + glyphWidth + 4, rect.top(), rect.right() - left - glyphWidth - 6,
                        rect.height()),
                 TextPlace::MiddleLeft, e, caption);
    }

    void PaintCheck(const PictureElement& e, const QRectF& rect) {
        Canvas.Fill(rect, e.Color);
        const QRectF box(rect.left(), rect.center().y() - CheckSize / 2.0, CheckSize, CheckSize);
        if (e.Kind == PictureKind::RadioButton)
            RadioCircle(box, e.Checked);
        else
            CheckBox(box, e.Checked);
        Text(QRectF(rect.left() + CheckSize + 4, rect.top(), rect.width() - CheckSize - 4,
                    rect.height()),
             TextPlace::MiddleLeft, e, MenuText(e.Text));
    }

    void CheckBox(const QRectF& box, bool checked) {
        Canvas.Fill(box, WindowColor);
        Sunken(box);
        if (!checked)
            return;
        const QPointF a = box.topLeft() + QPointF(3, 5);
        for (int i = 0; i < 3; ++i) {
            Canvas.Line(a + QPointF(0, i), a + QPointF(2, 2 + i), Black);
            Canvas.Line(a + QPointF(2, 2 + i), a + QPointF(6, -2 + i), Black);
        }
    }

    void RadioCircle(const QRectF& box, bool checked) {
        const auto octagon = [](const QRectF& r) {
            const double c = r.width() * 0.29;
            return std::vector<QPointF>{{r.left() + c, r.top()},     {r.right() - c, r.top()},
                                        {r.right(), r.top() + c},    {r.right(), r.bottom() - c},
                                        {r.right() - c, r.bottom()}, {r.left() + c, r.bottom()},
                                        {r.left(), r.bottom() - c},  {r.left(), r.top() + c}};
        };
        Canvas.Polygon(octagon(box), Highlight);
        Canvas.Polygon(octagon(box.adjusted(0, 0, -1, -1)), Shadow);
        Canvas.Polygon(octagon(box.adjusted(1, 1, -1, -1)), Light);
        Canvas.Polygon(octagon(box.adjusted(1, 1, -2, -2)), DarkShadow);
        Canvas.Polygon(octagon(Inset(box, 2)), WindowColor);
        if (checked)
            Canvas.Polygon(octagon(Inset(box, 4.5)), Black);
    }

    void PaintScrollBar(const QRectF& rect) {
        Canvas.Fill(rect, Light);
        const bool across = rect.width() >= rect.height();
        const double size = across ? std::min(rect.height(), double(ArrowButton))
                                   : std::min(rect.width(), double(ArrowButton));
        const QRectF first = across ? QRectF(rect.left(), rect.top(), size, rect.height())
                                    : QRectF(rect.left(), rect.top(), rect.width(), size);
        const QRectF last = across ? QRectF(rect.right() - size, rect.top(), size, rect.height())
                                   : QRectF(rect.left(), rect.bottom() - size, rect.width(), size);
        const QRectF thumb = across ? QRectF(rect.left() + size, rect.top(), size, rect.height())
                                    : QRectF(rect.left(), rect.top() + size, rect.width(), size);
        for (const QRectF& button : {first, last, thumb})
            Button(button);
        Arrow(first, across ? 'l' : 'u');
        Arrow(last, across ? 'r' : 'd');
    }

    void PaintGroup(const PictureElement& e, const QRectF& rect) {
        Canvas.Fill(rect, e.Color);
        const double textHeight = PicturePixelSize(e.Font) * 4 / 3.0;
        const QRectF frame = rect.adjusted(0, textHeight / 2, 0, 0);
        const QRectF captionBox(rect.left() + 8, rect.top(), rect.width() - 16, textHeight);
        const double width = Text(captionBox, TextPlace::TopLeft, e, MenuText(e.Text));
        if (width > 0)
            Etched(frame, rect.left() + 7, rect.left() + 9 + width);
        else
            Etched(frame, 0, 0);
        if (e.Kind == PictureKind::GroupBox)
            return;
        const int count = static_cast<int>(e.Items.size());
        const QRectF inside = RectOf(e.Client);
        const double row = count > 0 ? inside.height() / count : 0;
        for (int i = 0; i < count; ++i) {
            const QRectF line(inside.left() + 6, inside.top() + i * row, inside.width() - 6, row);
            RadioCircle(QRectF(line.left(), line.center().y() - 6, 12, 12), i == e.ActiveTab);
            Text(line.adjusted(17, 0, 0, 0), TextPlace::MiddleLeft, e,
                 MenuText(e.Items[static_cast<size_t>(i)]));
        }
    }

    void Bevel(QRectF& rect, BevelCut cut) {
        if (cut == BevelCut::None)
            return;
        if (cut == BevelCut::Raised)
            Frame(rect, Highlight, Shadow);
        else
            Frame(rect, Shadow, Highlight);
        rect = Inset(rect, 1);
    }

    void PaintPanel(const PictureElement& e, const QRectF& rect) {
        Canvas.Fill(rect, e.Color);
        QRectF edge = rect;
        Bevel(edge, e.BevelOuter);
        if (e.Border)
            Frame(rect, Black, Black);
        const QRectF inner = RectOf(e.Client).adjusted(-1, -1, 1, 1);
        if (e.BevelInner != BevelCut::None && inner.width() > 2 && inner.height() > 2) {
            QRectF innerEdge = inner;
            Bevel(innerEdge, e.BevelInner);
        }
        Text(RectOf(e.Client), TextPlace::Centre, e, MenuText(e.Text));
    }

    void PaintGrid(const PictureElement& e, const QRectF& rect) {
        Field(e, rect);
        const QRectF inside = FieldInside(e, rect);
        const bool data = e.Kind == PictureKind::DBGrid;
        const double row = data ? DBGridRow : GridRow;
        // A data grid's indicator column, then its columns; a string or
        // draw grid's five columns by default.
        std::vector<double> widths;
        if (data) {
            widths.push_back(11);
            for (const PictureColumn& column : e.Columns)
                widths.push_back(column.Width > 0 ? column.Width : GridColumn);
            if (e.Columns.empty())
                widths.push_back(GridColumn);
        } else {
            widths.assign(5, GridColumn);
        }
        double x = inside.left();
        for (size_t c = 0; c < widths.size() && x < inside.right(); ++c) {
            const QRectF title(x, inside.top(), widths[c], row);
            Button(title);
            const size_t column = data ? c - 1 : c;
            if (c > 0 || !data) {
                if (column < e.Columns.size())
                    Text(title.adjusted(2, 0, -2, 0), TextPlace::MiddleLeft, e,
                         e.Columns[column].Text);
            }
            x += widths[c] + 1;
            Canvas.Line({x - 1, inside.top() + row}, {x - 1, inside.bottom() - 1}, ButtonFaceColor);
        }
        const double firstWidth = widths.front();
        for (double y = inside.top() + row; y < inside.bottom(); y += row + 1) {
            Canvas.Fill(QRectF(inside.left(), y, firstWidth, row), ButtonFaceColor);
            Raised(QRectF(inside.left(), y, firstWidth, row));
            Canvas.Line({inside.left(), y + row}, {std::min(x, inside.right()) - 1, y + row},
                        ButtonFaceColor);
            if (data)
                break;
        }
    }

    void PaintImage(const PictureElement& e, const QRectF& rect) {
        if (!e.Image)
            return;
        const QImage image = DecodePictureImage(*e.Image);
        if (image.isNull())
            return;
        Canvas.Image(QRectF(rect.topLeft(), QSizeF(image.size())), image);
    }

    // An image that does not decode is an empty frame naming its class.
    void PaintImageControl(const PictureElement& e, const QRectF& rect) {
        const QImage image = e.Image ? DecodePictureImage(*e.Image) : QImage();
        if (!image.isNull()) {
            Canvas.Image(QRectF(rect.topLeft(), QSizeF(image.size())), image);
            return;
        }
        DashedFrame(rect, Black);
        if (e.Image)
            Canvas.Text(Inset(rect, 2), TextPlace::Centre, SystemFont(false), Shadow,
                        e.Image->ClassName);
    }

    void PaintTabs(const PictureElement& e, const QRectF& rect) {
        const double row = std::max(double(TabRow), PicturePixelSize(e.Font) * 4 / 3.0 + 6);
        const QRectF body = rect.adjusted(0, e.Items.empty() ? 0 : row - 2, 0, 0);
        Canvas.Fill(body, ButtonFaceColor);
        Raised(body);
        double left = rect.left() + 2;
        for (size_t i = 0; i < e.Items.size() && left < rect.right(); ++i) {
            const bool front = static_cast<int>(i) == e.ActiveTab;
            const std::string caption = MenuText(e.Items[i]);
            const double width = std::max(
                24.0, PicturePixelSize(e.Font) * 0.55 * static_cast<double>(caption.size()) + 12);
            QRectF tab(left, rect.top() + 2, width, row - 2);
            if (front)
                tab.adjust(-2, -2, 2, 0);
            Canvas.Fill(tab, ButtonFaceColor);
            Canvas.Line(tab.topLeft() + QPointF(0, 2), tab.bottomLeft(), Highlight);
            Canvas.Line(tab.topLeft() + QPointF(2, 0), tab.topRight() + QPointF(-3, 0), Highlight);
            Canvas.Line(tab.topRight() + QPointF(-1, 2), tab.bottomRight() + QPointF(-1, -1),
                        DarkShadow);
            Canvas.Line(tab.topRight() + QPointF(-2, 1), tab.bottomRight() + QPointF(-2, -1),
                        Shadow);
            Text(tab, TextPlace::Centre, e, caption);
            left += width;
        }
    }

    void PaintHeaderList(const PictureElement& e, const QRectF& rect) {
        Field(e, rect);
        const QRectF inside = FieldInside(e, rect);
        const double row = PicturePixelSize(e.Font) * 4 / 3.0 + 5;
        double left = inside.left();
        for (const PictureColumn& column : e.Columns) {
            if (left >= inside.right())
                return;
            const QRectF cell(left, inside.top(), column.Width > 0 ? column.Width : 50.0, row);
            Button(cell);
            Text(cell.adjusted(4, 0, -4, 0), TextPlace::MiddleLeft, e, column.Text);
            left = cell.right();
        }
        if (!e.Columns.empty() && left < inside.right())
            Button(QRectF(left, inside.top(), inside.right() - left, row));
    }

    void PaintStatusBar(const PictureElement& e, const QRectF& rect) {
        Canvas.Fill(rect, ButtonFaceColor);
        if (e.Columns.empty()) {
            Frame(Inset(rect, 2), Shadow, Highlight);
            Text(Inset(rect, 4), TextPlace::MiddleLeft, e, e.Text);
            return;
        }
        double left = rect.left();
        for (size_t i = 0; i < e.Columns.size() && left < rect.right(); ++i) {
            const bool last = i + 1 == e.Columns.size();
            const double width = last ? rect.right() - left : e.Columns[i].Width;
            const QRectF panel(left, rect.top() + 2, width - 2, rect.height() - 2);
            Frame(panel, Shadow, Highlight);
            Text(Inset(panel, 2), TextPlace::MiddleLeft, e, e.Columns[i].Text);
            left += width;
        }
    }

    void PaintTrackBar(const QRectF& rect) {
        Canvas.Fill(rect, ButtonFaceColor);
        const double middle = rect.top() + std::min(rect.height() / 2, 12.0);
        const QRectF channel(rect.left() + 8, middle - 2, rect.width() - 16, 4);
        Sunken(channel);
        Button(QRectF(rect.left() + 5, middle - 10, 11, 20));
        const int ticks = 10;
        for (int i = 0; i <= ticks; ++i) {
            const double x = channel.left() + 2 + (channel.width() - 4) * i / ticks;
            Canvas.Line({x, middle + 13}, {x, middle + 15}, Black);
        }
    }

    void PaintUpDown(const QRectF& rect) {
        const QRectF up(rect.left(), rect.top(), rect.width(), rect.height() / 2);
        const QRectF down(rect.left(), up.bottom(), rect.width(), rect.height() - up.height());
        Button(up);
        Button(down);
        Arrow(up, 'u');
        Arrow(down, 'd');
    }

    // First, prior, next, last, insert, delete, edit, post, cancel,
    // refresh.
    void PaintNavigator(const QRectF& rect) {
        const double width = rect.width() / NavigatorButtons;
        for (int i = 0; i < NavigatorButtons; ++i) {
            const QRectF button(rect.left() + i * width, rect.top(), width, rect.height());
            Button(button);
            NavigatorSymbol(Inset(button, 2), i);
        }
    }

    void NavigatorSymbol(const QRectF& box, int which) {
        const QPointF c = box.center();
        switch (which) {
        case 0:
        case 3:
            Arrow(box, which == 0 ? 'l' : 'r');
            Canvas.Fill(QRectF(which == 0 ? c.x() - 4 : c.x() + 3, c.y() - 3, 2, 7), Black);
            return;
        case 1:
        case 2:
            Arrow(box, which == 1 ? 'l' : 'r');
            return;
        case 4:
            Canvas.Fill(QRectF(c.x() - 4, c.y(), 9, 1), Black);
            Canvas.Fill(QRectF(c.x(), c.y() - 4, 1, 9), Black);
            return;
        case 5:
            Canvas.Fill(QRectF(c.x() - 4, c.y(), 9, 1), Black);
            return;
        case 6:
            Arrow(box, 'u');
            return;
        case 7:
            Canvas.Line(c + QPointF(-4, 0), c + QPointF(-1, 3), Black);
            Canvas.Line(c + QPointF(-1, 3), c + QPointF(4, -3), Black);
            return;
        case 8:
            Canvas.Line(c + QPointF(-3, -3), c + QPointF(3, 3), 0x800000);
            Canvas.Line(c + QPointF(3, -3), c + QPointF(-3, 3), 0x800000);
            return;
        default:
            Frame(QRectF(c.x() - 4, c.y() - 4, 8, 8), Black, Black);
            return;
        }
    }

    // The designer's square for a component, its name below.
    void PaintComponent(const PictureElement& e, const QRectF& rect) {
        Button(rect);
        const QRectF icon = Inset(rect, 6);
        Canvas.Fill(icon, WindowColor);
        Frame(icon, Shadow, Black);
        Canvas.Text(QRectF(rect.left() - 24, rect.bottom() + 1, rect.width() + 48, 14),
                    TextPlace::Centre, SystemFont(false), Black, e.Name);
    }

    void PaintLabelledBox(const PictureElement& e, const QRectF& rect) {
        Canvas.Fill(rect, e.Color);
        Frame(rect, Black, Black);
        Canvas.Text(Inset(rect, 2), TextPlace::Centre, SystemFont(false), Black,
                    e.Name + ": " + e.ClassName);
    }

    PictureCanvas& Canvas;
    const FormPicture& Picture;
};

} // namespace

void PaintFormPicture(PictureCanvas& canvas, const FormPicture& picture) {
    if (picture.Elements.empty())
        return;
    Painter(canvas, picture).Paint();
}

} // namespace pembrill
