#pragma once

#include <QRectF>
#include <QString>

#include <optional>

namespace pembrill {

class PageStore;

// A line of text on a stored page: the page's index and the line's index
// among the page's texts.
struct PageLine {
    int Page = 0;
    int Text = 0;

    bool operator==(const PageLine&) const = default;
};

// The next line of the finished pages that holds `needle`, compared without
// regard to case as the preview shows it: after `from` going forward, before
// it going back, round the report's end to its start and on to `from`
// itself. A Text of -1 stands before a page's first line, one past its last
// after it. nullopt when no line holds it, or the needle is empty.
std::optional<PageLine> FindPageText(const PageStore& store, const QString& needle, PageLine from,
                                     bool forward);

// Where a stored line is drawn, in layout units from the printable area's
// top left corner: from the line's left edge to the end of its last glyph,
// from its top to the lowest descent of its faces.
QRectF PageLineBounds(const PageStore& store, PageLine line);

} // namespace pembrill
