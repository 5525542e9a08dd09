#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct hb_blob_t;
struct hb_face_t;
struct hb_font_t;

namespace pembrill {

class PdfFile;

// One face of the page store (a font's data at one size) as the document
// embeds it: the glyphs drawn, subset by glyph from the face's own data with
// HarfBuzz's subsetter (TrueType outlines as a CIDFontType2, CFF outlines as
// a CIDFontType0 in an OpenType wrapper), each glyph as wide as the layout
// advanced it at that size, and the character each glyph stands for in
// copied text where it stands for one. Text shows glyphs by their numbers,
// two bytes each (Identity-H), which every reader maps back to characters.
class PdfFont {
public:
    // `sfnt`: the face's data; `pixelSize`: its size in layout units;
    // `number`: the one its resources are named by.
    PdfFont(std::string sfnt, double pixelSize, int number);
    ~PdfFont();
    PdfFont(const PdfFont&) = delete;
    PdfFont& operator=(const PdfFont&) = delete;

    // Whether the data holds outlines that a PDF file can carry. A face
    // without (a colour font's bitmaps) draws nothing.
    bool HasOutlines() const { return Outlines != OutlineKind::None; }
    double PixelSize() const { return FPixelSize; }

    // The glyph is drawn.
    void Use(uint16_t glyph);
    std::string Resource() const;

    // The glyph's advance in layout units at the face's size, as the layout
    // placed it: the width the document gives it, so that the glyphs of a
    // run follow each other as they were laid out.
    void SetAdvance(uint16_t glyph, double advance);
    // The width given, in whole thousandths of the size.
    double Width(uint16_t glyph) const;
    // What the widths of a fixed-pitch face leave out of the advance its
    // glyphs share, in layout units: the spacing added to every glyph, so
    // that a listing's glyphs follow each other without a move.
    double Spacing() const { return FSpacing; }

    // The font's own glyph for the character; 0 when it has none.
    uint32_t NominalGlyph(char32_t character);
    // A glyph stands for one character in copied text: the first it was
    // drawn for alone.
    bool CanStandFor(uint16_t glyph, char32_t character) const;
    void StandFor(uint16_t glyph, char32_t character);

    // Writes the font's objects and appends its resource entry.
    void WriteObjects(PdfFile& file, std::string& resources) const;

private:
    enum class OutlineKind { None, TrueType, Cff };

    std::string SubsetData() const;
    std::string BaseFontName() const;
    std::string WidthArray() const;
    std::string Descriptor(const std::string& name, int fontFile) const;
    std::string UnicodeMap() const;

    std::string Data;
    double FPixelSize;
    int Number;
    hb_blob_t* Blob = nullptr;
    hb_face_t* Face = nullptr;
    hb_font_t* Font = nullptr;
    OutlineKind Outlines = OutlineKind::None;
    unsigned UnitsPerEm = 1000;
    bool FixedPitch = false;
    double FSpacing = 0;
    bool SpacingSet = false;
    // By glyph: whether it is drawn, its width, and the character it stands
    // for (0 for none).
    std::vector<bool> Used;
    std::vector<double> Widths;
    std::vector<char32_t> Characters;
    // The glyphs of the characters below U+10000 once looked up (-1 before).
    std::vector<int32_t> BasicGlyphs;
};

} // namespace pembrill
