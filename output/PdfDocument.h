#pragma once

#include "output/PageStore.h"
#include "output/PdfFont.h"
#include "output/PdfSyntax.h"

#include <QImage>
#include <QRectF>
#include <QRgb>
#include <QSizeF>

#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace pembrill {

// A face of the store as the writer's thread gets it: its data and size.
struct PdfFace {
    std::string Sfnt;
    double PixelSize = 0;
};

// A glyph's advance in its face, as the layout's font gave it.
struct PdfAdvance {
    uint32_t Face = 0;
    uint16_t Glyph = 0;
    double Advance = 0;
};

// A stored page with what the document learns of the store along with it,
// gathered on the layout's thread: the faces and the fonts' colours new
// since the page before (in the store's order), and the advances of glyphs
// drawn for the first time.
struct PdfPage {
    const StoredPage* Page = nullptr;
    std::vector<PdfFace> Faces;
    std::vector<QRgb> Colours;
    std::vector<PdfAdvance> Advances;
};

// The document a PDF file holds: the pages in the layout's units (the origin
// at the printable area's top left corner, y downwards), so that every glyph
// and rule stands where the store put it; the fonts; an outline of the
// report's sections; the title. Written page by page as pages come.
class PdfDocument {
public:
    // The sheet in points, the printable area at the facts' offsets.
    PdfDocument(QSizeF paperPoints, const PageFacts& facts, double layoutDpi, std::string title);

    bool Open(const std::string& path);
    void WritePage(const PdfPage& page);
    // The fonts, the page tree, the outline and the catalog; false when the
    // file was not written whole.
    bool Finish(const std::vector<StoredSection>& sections);

private:
    void Learn(const PdfPage& page);
    std::string ContentOf(const StoredPage& page);
    void AppendText(std::string& out, const StoredPage& page, const StoredText& text);
    void AppendRange(std::string& out, const StoredPage& page, const StoredText& text,
                     uint32_t firstRun, uint32_t endRun, QStringView characters);
    bool StandsForCharacters(const StoredPage& page, uint32_t firstRun, uint32_t endRun,
                             QStringView characters);
    void AppendRun(std::string& out, const StoredPage& page, const StoredText& text,
                   const StoredRun& run);
    void SelectFont(std::string& out, const PdfFont& font);
    void PlaceLine(std::string& out, double x, double y);
    void AppendShapes(std::string& out, const StoredPage& page);
    void AppendShape(std::string& out, const StoredPage& page, const StoredShape& shape);
    void SetFill(std::string& out, QRgb colour);
    void AppendImage(std::string& out, const QImage& image, QRectF place);
    double Move(double thousandths);
    void EndShow(std::string& out);
    int WriteOutline(const std::vector<StoredSection>& sections);

    PdfFile File;
    double PaperWidth;
    double PaperHeight;
    double Scale;
    double OriginX;
    double OriginY;
    std::string Title;
    int PageTree = 0;
    int Resources = 0;
    std::vector<int> PageObjects;
    std::vector<std::unique_ptr<PdfFont>> Fonts;
    std::vector<QRgb> Colours;
    // "/ImN M 0 R" for each image drawn, for the resources.
    std::string ImageEntries;
    int ImageCount = 0;
    // The state of the content stream being written: the font, its
    // spacing, the colour, where the text line begins, and the glyphs being
    // shown.
    const PdfFont* CurrentFont = nullptr;
    double CurrentSpacing = 0;
    QRgb CurrentColour = 0;
    std::optional<std::pair<double, double>> LineStart;
    std::string Shown;
    bool ShownMoves = false;
    // The spacing and colour in force where each clip of a drawing began.
    std::vector<std::pair<double, QRgb>> SavedStates;
    // A run's glyphs in the order they are shown.
    std::vector<uint32_t> Order;
};

} // namespace pembrill
