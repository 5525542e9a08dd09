#include "output/PageSearch.h"

#include "output/DisplayText.h"
#include "output/PageStore.h"

#include <QRawFont>

#include <algorithm>

namespace pembrill {

namespace {

bool Holds(const StoredPage& page, int text, const QString& needle) {
    const StoredText& line = page.Texts[static_cast<size_t>(text)];
    return ToDisplay(std::string(page.TextOf(line))).contains(needle, Qt::CaseInsensitive);
}

// The first line of `page` from `text` on (forward) or back, that holds it.
std::optional<int> FindOnPage(const StoredPage& page, int text, const QString& needle,
                              bool forward) {
    const int count = static_cast<int>(page.Texts.size());
    if (forward) {
        for (int t = std::max(text, 0); t < count; ++t) {
            if (Holds(page, t, needle))
                return t;
        }
        return std::nullopt;
    }
    for (int t = std::min(text, count - 1); t >= 0; --t) {
        if (Holds(page, t, needle))
            return t;
    }
    return std::nullopt;
}

} // namespace

// The page of `from` is searched twice at most: past `from` first, and from
// its other end once every other page has been searched.
std::optional<PageLine> FindPageText(const PageStore& store, const QString& needle, PageLine from,
                                     bool forward) {
    const int pages = store.FinishedPageCount();
    if (needle.isEmpty() || pages == 0)
        return std::nullopt;
    int page = std::clamp(from.Page, 0, pages - 1);
    int text = forward ? from.Text + 1 : from.Text - 1;
    for (int searched = 0; searched <= pages; ++searched) {
        const StoredPage& stored = store.Page(page);
        if (const std::optional<int> found = FindOnPage(stored, text, needle, forward))
            return PageLine{page, *found};
        page = forward ? (page + 1) % pages : (page + pages - 1) % pages;
        text = forward ? 0 : static_cast<int>(store.Page(page).Texts.size()) - 1;
    }
    return std::nullopt;
}

QRectF PageLineBounds(const PageStore& store, PageLine line) {
    const StoredPage& page = store.Page(line.Page);
    const StoredText& text = page.Texts.at(static_cast<size_t>(line.Text));
    double right = 0;
    double bottom = store.Font(text.Font).PixelSize;
    for (uint32_t r = text.FirstRun; r < text.FirstRun + text.RunCount; ++r) {
        const StoredRun& run = page.Runs[r];
        const QRawFont& face = store.Face(run.Face);
        bottom = std::max(bottom, run.Baseline + face.descent());
        const auto first = page.Glyphs.begin() + run.FirstGlyph;
        const QList<quint32> glyphs(first, first + run.GlyphCount);
        const QList<QPointF> advances = face.advancesForGlyphIndexes(glyphs);
        for (uint32_t g = 0; g < run.GlyphCount; ++g)
            right = std::max(right, page.GlyphX[run.FirstGlyph + g] + advances[g].x());
    }
    return QRectF(text.X, text.Y, right, bottom);
}

} // namespace pembrill
