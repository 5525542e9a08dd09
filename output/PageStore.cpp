#include "output/PageStore.h"

#include <utility>

namespace pembrill {

PageStore::PageStore(const PageFacts& facts, double layoutDpi, std::string title)
    : FFacts(facts), FLayoutDpi(layoutDpi), FTitle(std::move(title)) {}

void PageStore::BeginPage() {
    Pages.emplace_back();
}

void PageStore::AddText(int x, int y, const StoredFont& font, const std::string& text) {
    StoredPage& page = Pages.back();
    StoredText stored;
    stored.X = x;
    stored.Y = y;
    stored.Font = FontIndex(font);
    stored.Offset = static_cast<uint32_t>(page.Characters.size());
    stored.Length = static_cast<uint32_t>(text.size());
    page.Texts.push_back(stored);
    page.Characters += text;
}

void PageStore::AddLine(int x, int y, int width) {
    Pages.back().Lines.push_back(StoredLine{x, y, width});
}

void PageStore::FinishPage() {
    StoredPage& page = Pages.back();
    page.Texts.shrink_to_fit();
    page.Lines.shrink_to_fit();
    page.Characters.shrink_to_fit();
    FinishedPages = PageCount();
}

size_t PageStore::MemoryBytes() const {
    size_t bytes = Pages.size() * sizeof(StoredPage) + Fonts.capacity() * sizeof(StoredFont);
    for (const StoredFont& font : Fonts)
        bytes += font.Name.capacity();
    for (const StoredPage& page : Pages) {
        bytes += page.Texts.capacity() * sizeof(StoredText);
        bytes += page.Lines.capacity() * sizeof(StoredLine);
        bytes += page.Characters.capacity();
    }
    return bytes;
}

uint32_t PageStore::FontIndex(const StoredFont& font) {
    if (LastFont < Fonts.size() && Fonts[LastFont] == font)
        return LastFont;
    for (uint32_t i = 0; i < Fonts.size(); ++i) {
        if (Fonts[i] == font)
            return LastFont = i;
    }
    Fonts.push_back(font);
    return LastFont = static_cast<uint32_t>(Fonts.size() - 1);
}

} // namespace pembrill
