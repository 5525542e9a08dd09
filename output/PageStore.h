#pragma once

#include "output/PageFacts.h"

#include <QGlyphRun>
#include <QImage>
#include <QPointF>
#include <QRawFont>
#include <QRectF>
#include <QRgb>

#include <cstdint>
#include <deque>
#include <string>
#include <string_view>
#include <vector>

namespace pembrill {

struct ShapedText;

// A font as pages use it: sized in layout units.
struct StoredFont {
    std::string Name;
    int PixelSize = 0;
    bool Bold = false;
    QRgb Colour = 0;

    bool operator==(const StoredFont&) const = default;
};

// Glyphs of one face on one baseline, as the layout shaped them: the page's
// glyphs [FirstGlyph, FirstGlyph + GlyphCount), in the order the shaping
// gave them, with their x from the text's left edge. Baseline is how far
// below the text's top they stand. They were shaped from the characters
// [CharFrom, CharFrom + CharLength) of their text's display string (a
// shaped range: a piece between two tabs, or a cluster of it), as every run
// of that range was.
struct StoredRun {
    uint32_t Face = 0;
    uint32_t FirstGlyph = 0;
    uint32_t GlyphCount = 0;
    uint32_t CharFrom = 0;
    uint32_t CharLength = 0;
    float Baseline = 0;
};

// One line of text, its top left corner at (X, Y) in layout units. The text
// is the label's caption, still as bytes, in the page's character pool; its
// glyphs are the runs [FirstRun, FirstRun + RunCount) of the page.
struct StoredText {
    int32_t X = 0, Y = 0;
    uint32_t Font = 0;
    uint32_t Offset = 0;
    uint32_t Length = 0;
    uint32_t FirstRun = 0;
    uint32_t RunCount = 0;
};

// A horizontal line one layout unit thick.
struct StoredLine {
    int32_t X = 0;
    int32_t Y = 0;
    int32_t Width = 0;
};

// One step of a drawing (a form's picture), in the order it is drawn, its
// points the page's Points [First, First + Count): a filled rectangle or a
// clip (top left and bottom right corners; a clip holds until its
// EndClip), a line one layout unit wide, a filled polygon, the image
// Images[Index] stretched over a rectangle, or the text Texts[Index].
enum class ShapeKind : uint8_t { Fill, Line, DashedLine, Polygon, Image, Clip, EndClip, Text };

struct StoredShape {
    ShapeKind Kind = ShapeKind::Fill;
    QRgb Colour = 0;
    uint32_t First = 0;
    uint32_t Count = 0;
    uint32_t Index = 0;
};

struct StoredPage {
    std::vector<StoredText> Texts;
    std::vector<StoredLine> Lines;
    // The drawing; the texts [DrawnTextsFrom, DrawnTextsEnd) are its own
    // and drawn in its order, not with the page's other texts.
    std::vector<StoredShape> Shapes;
    std::vector<QPointF> Points;
    std::vector<QImage> Images;
    uint32_t DrawnTextsFrom = 0;
    uint32_t DrawnTextsEnd = 0;
    std::string Characters;
    std::vector<StoredRun> Runs;
    std::vector<uint16_t> Glyphs;
    std::vector<float> GlyphX;

    std::string_view TextOf(const StoredText& text) const {
        return std::string_view(Characters).substr(text.Offset, text.Length);
    }
};

// A section of the report: its name, and the page it begins on (0-based).
struct StoredSection {
    std::string Title;
    int FirstPage = 0;
};

// The finished pages of a run as display lists in layout units: what is drawn
// where, so that any device can draw them at its own resolution. Fonts and
// the faces the glyphs are drawn in are shared by all pages.
class PageStore {
public:
    PageStore(const PageFacts& facts, double layoutDpi, std::string title);

    const PageFacts& Facts() const { return FFacts; }
    double LayoutDpi() const { return FLayoutDpi; }
    // The report's title: the print job's name.
    const std::string& Title() const { return FTitle; }

    void BeginPage();
    // Both add to the page begun last. A text keeps its caption's bytes and
    // the glyphs its shaping gave.
    void AddText(int x, int y, const StoredFont& font, const std::string& text,
                 const ShapedText& shaped);
    void AddLine(int x, int y, int width);
    // Steps of a drawing on the page begun last (see StoredShape); its
    // texts come one after another, with no other text between them.
    void AddShape(ShapeKind kind, QRgb colour, const std::vector<QPointF>& points);
    void AddImage(QRectF place, QImage image);
    void AddDrawnText(int x, int y, const StoredFont& font, const std::string& text,
                      const ShapedText& shaped);
    // Gives the page begun last back its unused room.
    void FinishPage();
    // The page begun last is the first of a section.
    void AddSection(std::string title);

    // Pages begun, the one being laid out included.
    int PageCount() const { return static_cast<int>(Pages.size()); }
    // Pages finished: all of them once the run is over.
    int FinishedPageCount() const { return FinishedPages; }
    const StoredPage& Page(int index) const { return Pages.at(static_cast<size_t>(index)); }
    const StoredFont& Font(uint32_t index) const { return Fonts.at(index); }
    int FontCount() const { return static_cast<int>(Fonts.size()); }
    // A face (a font file at a size) that glyphs are drawn in.
    const QRawFont& Face(uint32_t index) const { return Faces.at(index); }
    int FaceCount() const { return static_cast<int>(Faces.size()); }
    const std::vector<StoredSection>& Sections() const { return FSections; }

    // The heap memory the store holds, in bytes.
    size_t MemoryBytes() const;

private:
    uint32_t FontIndex(const StoredFont& font);
    uint32_t FaceIndex(const QRawFont& face);
    void AddRun(StoredPage& page, const QGlyphRun& run, QPointF origin, uint32_t from,
                uint32_t length);

    PageFacts FFacts;
    double FLayoutDpi;
    std::string FTitle;
    std::vector<StoredFont> Fonts;
    uint32_t LastFont = 0;
    std::vector<QRawFont> Faces;
    uint32_t LastFace = 0;
    // A deque: a page stays where it is while later ones are added, so that
    // the PDF writer's thread can read the finished ones meanwhile.
    std::deque<StoredPage> Pages;
    int FinishedPages = 0;
    std::vector<StoredSection> FSections;
};

} // namespace pembrill
