#include "output/PdfDocument.h"

#include "output/DisplayText.h"
#include "output/LayoutText.h"

#include <algorithm>
#include <cmath>
#include <numeric>
#include <tuple>

namespace pembrill {

namespace {

// How far, in layout units, a glyph may stand from where the glyphs before
// it in a show leave it before the show moves it: a thirtieth of a point at
// the screen's resolution, far below what a reader could see. Widths and
// moves are whole thousandths of the font size, as every reader takes them.
constexpr double PlaceTolerance = 0.05;

char32_t NextCodePoint(QStringView text, qsizetype& at) {
    const QChar first = text[at++];
    if (first.isHighSurrogate() && at < text.size() && text[at].isLowSurrogate())
        return QChar::surrogateToUcs4(first, text[at++]);
    return first.unicode();
}

// A text's runs from `first` on that were shaped from the same range.
uint32_t RangeEnd(const StoredPage& page, uint32_t first, uint32_t end) {
    const StoredRun& run = page.Runs[first];
    uint32_t next = first + 1;
    while (next < end && page.Runs[next].CharFrom == run.CharFrom &&
           page.Runs[next].CharLength == run.CharLength)
        ++next;
    return next;
}

} // namespace

PdfDocument::PdfDocument(QSizeF paperPoints, const PageFacts& facts, double layoutDpi,
                         std::string title)
    : PaperWidth(paperPoints.width()), PaperHeight(paperPoints.height()), Scale(72.0 / layoutDpi),
      OriginX(facts.LeftOffset * Scale), OriginY(paperPoints.height() - facts.TopOffset * Scale),
      Title(std::move(title)) {}

bool PdfDocument::Open(const std::string& path) {
    if (!File.Open(path))
        return false;
    PageTree = File.NewObject();
    Resources = File.NewObject();
    return true;
}

void PdfDocument::WritePage(const PdfPage& page) {
    Learn(page);
    const int pageObject = File.NewObject();
    const int contentObject = File.NewObject();
    PageObjects.push_back(pageObject);
    std::string dictionary = "<</Type/Page/Parent ";
    AppendReference(dictionary, PageTree);
    dictionary += "/Resources ";
    AppendReference(dictionary, Resources);
    dictionary += "/Contents ";
    AppendReference(dictionary, contentObject);
    File.WriteObject(pageObject, dictionary + ">>");
    File.WriteStream(contentObject, "", ContentOf(*page.Page));
}

void PdfDocument::Learn(const PdfPage& page) {
    for (const PdfFace& face : page.Faces)
        Fonts.push_back(
            std::make_unique<PdfFont>(face.Sfnt, face.PixelSize, static_cast<int>(Fonts.size())));
    Colours.insert(Colours.end(), page.Colours.begin(), page.Colours.end());
    for (const PdfAdvance& advance : page.Advances)
        Fonts[advance.Face]->SetAdvance(advance.Glyph, advance.Advance);
}

// The page in the layout's units, y downwards; the text matrix is flipped
// back upright.
std::string PdfDocument::ContentOf(const StoredPage& page) {
    std::string content;
    content.reserve(page.Glyphs.size() * 3 + page.Texts.size() * 40 + 256);
    content += "q ";
    AppendNumber(content, Scale);
    content += " 0 0 ";
    AppendNumber(content, -Scale);
    content += ' ';
    AppendNumber(content, OriginX);
    content += ' ';
    AppendNumber(content, OriginY);
    content += " cm\nBT\n";
    CurrentFont = nullptr;
    CurrentSpacing = 0;
    CurrentColour = 0;
    LineStart.reset();
    for (uint32_t i = 0; i < page.Texts.size(); ++i) {
        if (i < page.DrawnTextsFrom || i >= page.DrawnTextsEnd)
            AppendText(content, page, page.Texts[i]);
    }
    content += "ET\n";
    if (!page.Lines.empty()) {
        content += "0 g\n";
        for (const StoredLine& line : page.Lines) {
            AppendInteger(content, line.X);
            content += ' ';
            AppendInteger(content, line.Y);
            content += ' ';
            AppendInteger(content, line.Width);
            content += " 1 re\n";
        }
        content += "f\n";
    }
    AppendShapes(content, page);
    return content + "Q\n";
}

void PdfDocument::SetFill(std::string& out, QRgb colour) {
    if (colour == CurrentColour)
        return;
    CurrentColour = colour;
    AppendNumber(out, qRed(colour) / 255.0);
    out += ' ';
    AppendNumber(out, qGreen(colour) / 255.0);
    out += ' ';
    AppendNumber(out, qBlue(colour) / 255.0);
    out += " rg\n";
}

void PdfDocument::AppendText(std::string& out, const StoredPage& page, const StoredText& text) {
    SetFill(out, Colours[text.Font]);
    const QString characters = LayoutString(std::string(page.TextOf(text)));
    const uint32_t end = text.FirstRun + text.RunCount;
    for (uint32_t first = text.FirstRun; first < end;) {
        const uint32_t rangeEnd = RangeEnd(page, first, end);
        const StoredRun& run = page.Runs[first];
        AppendRange(out, page, text, first, rangeEnd,
                    QStringView(characters).mid(run.CharFrom, run.CharLength));
        first = rangeEnd;
    }
}

// Glyphs that stand one for each character are copied out through the
// fonts' maps; any other range (a ligature, several glyphs for a character,
// a character no font has, a glyph that stands for another character
// elsewhere) carries its characters along as the text it stands for.
void PdfDocument::AppendRange(std::string& out, const StoredPage& page, const StoredText& text,
                              uint32_t firstRun, uint32_t endRun, QStringView characters) {
    const bool mapped = StandsForCharacters(page, firstRun, endRun, characters);
    if (!mapped)
        out += "/Span<</ActualText" + TextString(characters) + ">>BDC\n";
    for (uint32_t run = firstRun; run < endRun; ++run)
        AppendRun(out, page, text, page.Runs[run]);
    if (!mapped)
        out += "EMC\n";
}

// One glyph for each character, left to right, none of them the missing
// glyph. A range of one glyph is a cluster the layout told apart; in a longer
// one each glyph is checked to be the font's own for its character. Each
// glyph so met stands for its character from now on.
bool PdfDocument::StandsForCharacters(const StoredPage& page, uint32_t firstRun, uint32_t endRun,
                                      QStringView characters) {
    uint32_t glyphs = 0;
    for (uint32_t index = firstRun; index < endRun; ++index)
        glyphs += page.Runs[index].GlyphCount;
    qsizetype at = 0;
    float left = -INFINITY;
    for (uint32_t index = firstRun; index < endRun; ++index) {
        const StoredRun& run = page.Runs[index];
        PdfFont& font = *Fonts[run.Face];
        for (uint32_t i = run.FirstGlyph; i < run.FirstGlyph + run.GlyphCount; ++i) {
            const uint16_t glyph = page.Glyphs[i];
            if (at == characters.size() || glyph == 0 || page.GlyphX[i] < left ||
                !font.HasOutlines())
                return false;
            const char32_t character = NextCodePoint(characters, at);
            if ((glyphs > 1 && font.NominalGlyph(character) != glyph) ||
                !font.CanStandFor(glyph, character))
                return false;
            font.StandFor(glyph, character);
            left = page.GlyphX[i];
        }
    }
    return at == characters.size();
}

// The glyphs left to right, shown from where the first stands; each next one
// where the widths of those before it leave it, or moved to its place.
void PdfDocument::AppendRun(std::string& out, const StoredPage& page, const StoredText& text,
                            const StoredRun& run) {
    PdfFont& font = *Fonts[run.Face];
    if (!font.HasOutlines() || run.GlyphCount == 0)
        return;
    const auto xOf = [&](uint32_t i) { return text.X + page.GlyphX[run.FirstGlyph + i]; };
    Order.resize(run.GlyphCount);
    std::iota(Order.begin(), Order.end(), 0u);
    const auto leftOf = [&](uint32_t a, uint32_t b) { return xOf(a) < xOf(b); };
    if (!std::is_sorted(Order.begin(), Order.end(), leftOf))
        std::stable_sort(Order.begin(), Order.end(), leftOf);
    if (&font != CurrentFont)
        SelectFont(out, font);
    const double size = font.PixelSize();
    double pen = xOf(Order.front());
    PlaceLine(out, pen, text.Y + run.Baseline);
    Shown.assign(1, '(');
    for (const uint32_t i : Order) {
        const uint16_t glyph = page.Glyphs[run.FirstGlyph + i];
        font.Use(glyph);
        if (std::abs(pen - xOf(i)) > PlaceTolerance)
            pen -= Move((pen - xOf(i)) * 1000.0 / size) * size / 1000.0;
        AppendStringByte(Shown, static_cast<uint8_t>(glyph >> 8));
        AppendStringByte(Shown, static_cast<uint8_t>(glyph & 0xFF));
        pen += font.Width(glyph) * size / 1000.0 + font.Spacing();
    }
    EndShow(out);
}

// A move left by `thousandths` of the size within the show, as written.
double PdfDocument::Move(double thousandths) {
    const double move = std::round(thousandths);
    Shown += ')';
    AppendNumber(Shown, move);
    Shown += '(';
    ShownMoves = true;
    return move;
}

void PdfDocument::SelectFont(std::string& out, const PdfFont& font) {
    out += '/';
    out += font.Resource();
    out += ' ';
    AppendNumber(out, font.PixelSize());
    out += " Tf\n";
    if (font.Spacing() != CurrentSpacing) {
        CurrentSpacing = font.Spacing();
        AppendNumber(out, CurrentSpacing);
        out += " Tc\n";
    }
    CurrentFont = &font;
}

void PdfDocument::EndShow(std::string& out) {
    if (ShownMoves)
        out += "[" + Shown + ")]TJ\n";
    else
        out += Shown + ")Tj\n";
    ShownMoves = false;
}

// The text matrix's first placing on a page, or a move from the line before,
// so that the moves of a listing's lines are alike and compress to nearly
// nothing.
void PdfDocument::PlaceLine(std::string& out, double x, double y) {
    if (!LineStart) {
        out += "1 0 0 -1 ";
        AppendNumber(out, x);
        out += ' ';
        AppendNumber(out, y);
        out += " Tm\n";
    } else {
        AppendNumber(out, x - LineStart->first);
        out += ' ';
        AppendNumber(out, LineStart->second - y);
        out += " Td\n";
    }
    LineStart = {x, y};
}

// A drawing's steps in the page's units, as the Qt painter draws them: a
// line through the middles of the pixels its ends name, a clip as a saved
// graphics state, after which the font and colour are chosen afresh.
void PdfDocument::AppendShapes(std::string& out, const StoredPage& page) {
    if (page.Shapes.empty())
        return;
    out += "1 w 2 J\n";
    for (const StoredShape& shape : page.Shapes)
        AppendShape(out, page, shape);
}

void PdfDocument::AppendShape(std::string& out, const StoredPage& page, const StoredShape& shape) {
    const auto point = [&](uint32_t i, double shift) {
        AppendNumber(out, page.Points[shape.First + i].x() + shift);
        out += ' ';
        AppendNumber(out, page.Points[shape.First + i].y() + shift);
        out += ' ';
    };
    const auto rect = [&] {
        const QRectF r(page.Points[shape.First], page.Points[shape.First + 1]);
        for (const double value : {r.x(), r.y(), r.width(), r.height()}) {
            AppendNumber(out, value);
            out += ' ';
        }
        out += "re ";
    };
    switch (shape.Kind) {
    case ShapeKind::Fill:
        SetFill(out, shape.Colour);
        rect();
        out += "f\n";
        return;
    case ShapeKind::Line:
    case ShapeKind::DashedLine:
        AppendNumber(out, qRed(shape.Colour) / 255.0);
        out += ' ';
        AppendNumber(out, qGreen(shape.Colour) / 255.0);
        out += ' ';
        AppendNumber(out, qBlue(shape.Colour) / 255.0);
        out += shape.Kind == ShapeKind::DashedLine ? " RG [2 2] 0 d " : " RG [] 0 d ";
        point(0, 0.5);
        out += "m ";
        point(1, 0.5);
        out += "l S\n";
        return;
    case ShapeKind::Polygon:
        SetFill(out, shape.Colour);
        for (uint32_t i = 0; i < shape.Count; ++i) {
            point(i, 0);
            out += i == 0 ? "m " : "l ";
        }
        out += "h f\n";
        return;
    case ShapeKind::Image:
        AppendImage(out, page.Images[shape.Index],
                    QRectF(page.Points[shape.First], page.Points[shape.First + 1]));
        return;
    case ShapeKind::Clip:
        out += "q ";
        rect();
        out += "W n\n";
        SavedStates.emplace_back(CurrentSpacing, CurrentColour);
        return;
    case ShapeKind::EndClip:
        if (SavedStates.empty())
            return;
        out += "Q\n";
        CurrentFont = nullptr;
        std::tie(CurrentSpacing, CurrentColour) = SavedStates.back();
        SavedStates.pop_back();
        return;
    case ShapeKind::Text:
        out += "BT\n";
        LineStart.reset();
        AppendText(out, page, page.Texts[shape.Index]);
        out += "ET\n";
        return;
    }
}

// An image object of its own for each time it is drawn, RGB compressed; the
// flipped page's y turned back for the image's rows, which run downwards.
void PdfDocument::AppendImage(std::string& out, const QImage& image, QRectF place) {
    if (image.isNull() || place.isEmpty())
        return;
    const QImage rgb = image.convertToFormat(QImage::Format_RGB888);
    std::string pixels;
    pixels.reserve(static_cast<size_t>(rgb.width()) * 3 * static_cast<size_t>(rgb.height()));
    for (int y = 0; y < rgb.height(); ++y)
        pixels.append(reinterpret_cast<const char*>(rgb.constScanLine(y)),
                      static_cast<size_t>(rgb.width()) * 3);
    const int object = File.NewObject();
    std::string entries = "/Type/XObject/Subtype/Image/Width ";
    AppendInteger(entries, rgb.width());
    entries += "/Height ";
    AppendInteger(entries, rgb.height());
    entries += "/ColorSpace/DeviceRGB/BitsPerComponent 8";
    File.WriteStream(object, entries, pixels);
    const std::string name = "/Im" + std::to_string(ImageCount++);
    ImageEntries += name + ' ';
    AppendReference(ImageEntries, object);
    out += "q ";
    AppendNumber(out, place.width());
    out += " 0 0 ";
    AppendNumber(out, -place.height());
    out += ' ';
    AppendNumber(out, place.x());
    out += ' ';
    AppendNumber(out, place.bottom());
    out += " cm " + name + " Do Q\n";
}

// One bookmark for each section that has a page, at the top of its first.
int PdfDocument::WriteOutline(const std::vector<StoredSection>& sections) {
    std::vector<const StoredSection*> listed;
    for (const StoredSection& section : sections) {
        if (section.FirstPage >= 0 && section.FirstPage < static_cast<int>(PageObjects.size()))
            listed.push_back(&section);
    }
    if (listed.empty())
        return 0;
    const int outline = File.NewObject();
    std::vector<int> items(listed.size());
    for (int& item : items)
        item = File.NewObject();
    for (size_t i = 0; i < listed.size(); ++i) {
        std::string entry = "<</Title" + TextString(ToDisplay(listed[i]->Title)) + "/Parent ";
        AppendReference(entry, outline);
        if (i > 0) {
            entry += "/Prev ";
            AppendReference(entry, items[i - 1]);
        }
        if (i + 1 < listed.size()) {
            entry += "/Next ";
            AppendReference(entry, items[i + 1]);
        }
        entry += "/Dest[";
        AppendReference(entry, PageObjects[static_cast<size_t>(listed[i]->FirstPage)]);
        entry += "/XYZ 0 ";
        AppendNumber(entry, PaperHeight);
        File.WriteObject(items[i], entry + " null]>>");
    }
    std::string root = "<</Type/Outlines/First ";
    AppendReference(root, items.front());
    root += "/Last ";
    AppendReference(root, items.back());
    root += "/Count ";
    AppendInteger(root, static_cast<long long>(items.size()));
    File.WriteObject(outline, root + ">>");
    return outline;
}

bool PdfDocument::Finish(const std::vector<StoredSection>& sections) {
    std::string fontEntries;
    for (const std::unique_ptr<PdfFont>& font : Fonts)
        font->WriteObjects(File, fontEntries);
    std::string resources = "<</Font<<" + fontEntries + ">>";
    if (!ImageEntries.empty())
        resources += "/XObject<<" + ImageEntries + ">>";
    resources += ImageEntries.empty() ? "/ProcSet[/PDF/Text]>>" : "/ProcSet[/PDF/Text/ImageC]>>";
    File.WriteObject(Resources, resources);
    std::string tree = "<</Type/Pages/MediaBox[0 0 ";
    AppendNumber(tree, PaperWidth);
    tree += ' ';
    AppendNumber(tree, PaperHeight);
    tree += "]/Count ";
    AppendInteger(tree, static_cast<long long>(PageObjects.size()));
    tree += "/Kids[";
    for (const int page : PageObjects) {
        AppendReference(tree, page);
        tree += ' ';
    }
    File.WriteObject(PageTree, tree + "]>>");
    const int outline = WriteOutline(sections);
    const int catalog = File.NewObject();
    std::string root = "<</Type/Catalog/Pages ";
    AppendReference(root, PageTree);
    if (outline) {
        root += "/Outlines ";
        AppendReference(root, outline);
        root += "/PageMode/UseOutlines";
    }
    File.WriteObject(catalog, root + ">>");
    const int info = File.NewObject();
    File.WriteObject(info, "<</Title" + TextString(ToDisplay(Title)) + "/Producer(Pembrill)>>");
    return File.Close(catalog, info);
}

} // namespace pembrill
