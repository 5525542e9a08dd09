#pragma once

#include "output/PageFacts.h"

#include <QRgb>

#include <cstdint>
#include <deque>
#include <string>
#include <string_view>
#include <vector>

namespace pembrill {

// A font as pages use it: sized in layout units.
struct StoredFont {
    std::string Name;
    int PixelSize = 0;
    bool Bold = false;
    QRgb Colour = 0;

    bool operator==(const StoredFont&) const = default;
};

// One line of text, its top left corner at (X, Y) in layout units. The text
// is the label's caption, still as bytes, in the page's character pool.
struct StoredText {
    int32_t X = 0, Y = 0;
    uint32_t Font = 0;
    uint32_t Offset = 0;
    uint32_t Length = 0;
};

// A horizontal line one layout unit thick.
struct StoredLine {
    int32_t X = 0;
    int32_t Y = 0;
    int32_t Width = 0;
};

struct StoredPage {
    std::vector<StoredText> Texts;
    std::vector<StoredLine> Lines;
    std::string Characters;

    std::string_view TextOf(const StoredText& text) const {
        return std::string_view(Characters).substr(text.Offset, text.Length);
    }
};

// The finished pages of a run as display lists in layout units: what is drawn
// where, so that any device can draw them at its own resolution. Fonts are
// shared by all pages.
class PageStore {
public:
    PageStore(const PageFacts& facts, double layoutDpi, std::string title);

    const PageFacts& Facts() const { return FFacts; }
    double LayoutDpi() const { return FLayoutDpi; }
    // The report's title: the print job's name.
    const std::string& Title() const { return FTitle; }

    void BeginPage();
    // Both add to the page begun last.
    void AddText(int x, int y, const StoredFont& font, const std::string& text);
    void AddLine(int x, int y, int width);
    // Gives the page begun last back its unused room.
    void FinishPage();

    // Pages begun, the one being laid out included.
    int PageCount() const { return static_cast<int>(Pages.size()); }
    // Pages finished: all of them once the run is over.
    int FinishedPageCount() const { return FinishedPages; }
    const StoredPage& Page(int index) const { return Pages.at(static_cast<size_t>(index)); }
    const StoredFont& Font(uint32_t index) const { return Fonts.at(index); }
    int FontCount() const { return static_cast<int>(Fonts.size()); }

    // The heap memory the store holds, in bytes.
    size_t MemoryBytes() const;

private:
    uint32_t FontIndex(const StoredFont& font);

    PageFacts FFacts;
    double FLayoutDpi;
    std::string FTitle;
    std::vector<StoredFont> Fonts;
    uint32_t LastFont = 0;
    // A deque: a page stays where it is while later ones are added, so that
    // the PDF writer's thread can read the finished ones meanwhile.
    std::deque<StoredPage> Pages;
    int FinishedPages = 0;
};

} // namespace pembrill
