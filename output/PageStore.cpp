#include "output/PageStore.h"

#include "output/LayoutText.h"

#include <utility>

namespace pembrill {

namespace {

// The index of an entry equal to `entry` in a table of a few, added when
// new; the one found last is tried first, as texts in a row share it.
template <typename Entry>
uint32_t IndexIn(std::vector<Entry>& table, uint32_t& last, const Entry& entry) {
    if (last < table.size() && table[last] == entry)
        return last;
    for (uint32_t i = 0; i < table.size(); ++i) {
        if (table[i] == entry)
            return last = i;
    }
    table.push_back(entry);
    return last = static_cast<uint32_t>(table.size() - 1);
}

} // namespace

PageStore::PageStore(const PageFacts& facts, double layoutDpi, std::string title)
    : FFacts(facts), FLayoutDpi(layoutDpi), FTitle(std::move(title)) {}

void PageStore::BeginPage() {
    Pages.emplace_back();
}

void PageStore::AddText(int x, int y, const StoredFont& font, const std::string& text,
                        const ShapedText& shaped) {
    StoredPage& page = Pages.back();
    StoredText stored;
    stored.X = x;
    stored.Y = y;
    stored.Font = FontIndex(font);
    stored.Offset = static_cast<uint32_t>(page.Characters.size());
    stored.Length = static_cast<uint32_t>(text.size());
    stored.FirstRun = static_cast<uint32_t>(page.Runs.size());
    for (const ShapedRange& range : shaped.Ranges) {
        for (const QGlyphRun& run : range.Runs)
            AddRun(page, run, range.Origin, static_cast<uint32_t>(range.From),
                   static_cast<uint32_t>(range.Length));
    }
    stored.RunCount = static_cast<uint32_t>(page.Runs.size()) - stored.FirstRun;
    page.Texts.push_back(stored);
    page.Characters += text;
}

// A glyph moved up or down from its run's baseline (a mark) begins a run of
// its own, so that a run has one baseline.
void PageStore::AddRun(StoredPage& page, const QGlyphRun& run, QPointF origin, uint32_t from,
                       uint32_t length) {
    const uint32_t face = FaceIndex(run.rawFont());
    const QList<quint32> glyphs = run.glyphIndexes();
    const QList<QPointF> positions = run.positions();
    for (qsizetype i = 0; i < glyphs.size(); ++i) {
        const auto baseline = static_cast<float>(origin.y() + positions[i].y());
        if (i == 0 || baseline != page.Runs.back().Baseline) {
            page.Runs.push_back(StoredRun{face, static_cast<uint32_t>(page.Glyphs.size()), 0, from,
                                          length, baseline});
        }
        page.Glyphs.push_back(static_cast<uint16_t>(glyphs[i]));
        page.GlyphX.push_back(static_cast<float>(origin.x() + positions[i].x()));
        ++page.Runs.back().GlyphCount;
    }
}

void PageStore::AddLine(int x, int y, int width) {
    Pages.back().Lines.push_back(StoredLine{x, y, width});
}

void PageStore::AddShape(ShapeKind kind, QRgb colour, const std::vector<QPointF>& points) {
    StoredPage& page = Pages.back();
    page.Shapes.push_back(StoredShape{kind, colour, static_cast<uint32_t>(page.Points.size()),
                                      static_cast<uint32_t>(points.size()), 0});
    page.Points.insert(page.Points.end(), points.begin(), points.end());
}

void PageStore::AddImage(QRectF place, QImage image) {
    StoredPage& page = Pages.back();
    AddShape(ShapeKind::Image, 0, {place.topLeft(), place.bottomRight()});
    page.Shapes.back().Index = static_cast<uint32_t>(page.Images.size());
    page.Images.push_back(std::move(image));
}

void PageStore::AddDrawnText(int x, int y, const StoredFont& font, const std::string& text,
                             const ShapedText& shaped) {
    StoredPage& page = Pages.back();
    const auto index = static_cast<uint32_t>(page.Texts.size());
    if (page.DrawnTextsFrom == page.DrawnTextsEnd)
        page.DrawnTextsFrom = index;
    AddText(x, y, font, text, shaped);
    page.DrawnTextsEnd = index + 1;
    page.Shapes.push_back(StoredShape{ShapeKind::Text, font.Colour, 0, 0, index});
}

void PageStore::FinishPage() {
    StoredPage& page = Pages.back();
    page.Texts.shrink_to_fit();
    page.Lines.shrink_to_fit();
    page.Characters.shrink_to_fit();
    page.Runs.shrink_to_fit();
    page.Glyphs.shrink_to_fit();
    page.GlyphX.shrink_to_fit();
    FinishedPages = PageCount();
}

void PageStore::AddSection(std::string title) {
    FSections.push_back(StoredSection{std::move(title), PageCount() - 1});
}

size_t PageStore::MemoryBytes() const {
    size_t bytes = Pages.size() * sizeof(StoredPage) + Fonts.capacity() * sizeof(StoredFont) +
                   Faces.capacity() * sizeof(QRawFont);
    for (const StoredFont& font : Fonts)
        bytes += font.Name.capacity();
    for (const StoredPage& page : Pages) {
        bytes += page.Texts.capacity() * sizeof(StoredText);
        bytes += page.Lines.capacity() * sizeof(StoredLine);
        bytes += page.Characters.capacity();
        bytes += page.Runs.capacity() * sizeof(StoredRun);
        bytes += page.Glyphs.capacity() * sizeof(uint16_t);
        bytes += page.GlyphX.capacity() * sizeof(float);
        bytes += page.Shapes.capacity() * sizeof(StoredShape);
        bytes += page.Points.capacity() * sizeof(QPointF);
        for (const QImage& image : page.Images)
            bytes += static_cast<size_t>(image.sizeInBytes());
    }
    return bytes;
}

uint32_t PageStore::FontIndex(const StoredFont& font) {
    return IndexIn(Fonts, LastFont, font);
}

uint32_t PageStore::FaceIndex(const QRawFont& face) {
    return IndexIn(Faces, LastFace, face);
}

} // namespace pembrill
