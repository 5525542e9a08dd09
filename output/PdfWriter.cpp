#include "output/PdfWriter.h"

#include "output/DisplayText.h"
#include "output/LayoutText.h"

#include <QList>

#include <fontconfig/fontconfig.h>
#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_ADVANCES_H
#include <hb-subset.h>
#include <hb.h>
#include <zlib.h>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <functional>
#include <map>
#include <optional>
#include <unordered_map>

namespace pembrill {

namespace {

// --- Numbers and strings as PDF writes them ----------------------------------

void AppendNumber(std::string& out, double value) {
    const double rounded = std::round(value * 1000.0) / 1000.0;
    char text[32];
    const auto result = std::to_chars(text, text + sizeof text, rounded == 0 ? 0.0 : rounded,
                                      std::chars_format::fixed, 3);
    const char* end = result.ptr;
    while (end > text && end[-1] == '0')
        --end;
    if (end > text && end[-1] == '.')
        --end;
    out.append(text, static_cast<size_t>(end - text));
}

void AppendInteger(std::string& out, long long value) {
    char text[24];
    const auto result = std::to_chars(text, text + sizeof text, value);
    out.append(text, static_cast<size_t>(result.ptr - text));
}

// A code in a literal string: the bytes that a reader would take for the
// string's end or for a line end are escaped.
void AppendCode(std::string& out, uint8_t code) {
    switch (code) {
    case '(':
    case ')':
    case '\\':
        out += '\\';
        out += static_cast<char>(code);
        break;
    case '\r':
        out += "\\r";
        break;
    case '\n':
        out += "\\n";
        break;
    default:
        out += static_cast<char>(code);
    }
}

void AppendHex(std::string& out, uint32_t value, int digits) {
    static constexpr char Hex[] = "0123456789ABCDEF";
    for (int shift = (digits - 1) * 4; shift >= 0; shift -= 4)
        out += Hex[(value >> shift) & 0xF];
}

// A text string of the document's information: UTF-16 with its byte-order
// mark, in hex.
std::string TextString(const std::string& bytes) {
    std::string out = "<FEFF";
    const std::u16string text = ToDisplay(bytes).toStdU16String();
    for (const char16_t unit : text)
        AppendHex(out, unit, 4);
    return out + ">";
}

std::string Compressed(const std::string& data) {
    uLongf size = compressBound(static_cast<uLong>(data.size()));
    std::string out(size, '\0');
    if (compress2(reinterpret_cast<Bytef*>(out.data()), &size,
                  reinterpret_cast<const Bytef*>(data.data()), static_cast<uLong>(data.size()),
                  Z_DEFAULT_COMPRESSION) != Z_OK)
        return {};
    out.resize(size);
    return out;
}

// --- Fonts ---------------------------------------------------------------------

struct FontFile {
    std::string Path;
    int Index = 0;
    bool operator<(const FontFile& other) const {
        return std::tie(Path, Index) < std::tie(other.Path, other.Index);
    }
};

FcPattern* PatternFor(const StoredFont& font) {
    FcPattern* pattern = FcPatternCreate();
    FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(font.Name.c_str()));
    FcPatternAddInteger(pattern, FC_WEIGHT, font.Bold ? FC_WEIGHT_BOLD : FC_WEIGHT_REGULAR);
    FcPatternAddInteger(pattern, FC_SLANT, FC_SLANT_ROMAN);
    return pattern;
}

std::optional<FontFile> FileOf(FcPattern* match) {
    FcChar8* file = nullptr;
    int index = 0;
    if (FcPatternGetString(match, FC_FILE, 0, &file) != FcResultMatch)
        return std::nullopt;
    FcPatternGetInteger(match, FC_INDEX, 0, &index);
    return FontFile{reinterpret_cast<const char*>(file), index};
}

// The file fontconfig gives the font's name, as Qt draws it: with
// `character`, the file that has it, for a character the font lacks.
std::optional<FontFile> FileFor(const StoredFont& font, std::optional<char32_t> character) {
    FcPattern* pattern = PatternFor(font);
    FcCharSet* wanted = nullptr;
    if (character) {
        wanted = FcCharSetCreate();
        FcCharSetAddChar(wanted, *character);
        FcPatternAddCharSet(pattern, FC_CHARSET, wanted);
    }
    FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
    FcDefaultSubstitute(pattern);
    std::optional<FontFile> file;
    FcResult result = FcResultNoMatch;
    if (FcPattern* match = FcFontMatch(nullptr, pattern, &result)) {
        FcCharSet* has = nullptr;
        if (!character || (FcPatternGetCharSet(match, FC_CHARSET, 0, &has) == FcResultMatch &&
                           FcCharSetHasChar(has, *character)))
            file = FileOf(match);
        FcPatternDestroy(match);
    }
    if (wanted)
        FcCharSetDestroy(wanted);
    FcPatternDestroy(pattern);
    return file;
}

// How a glyph is drawn: with a one-byte code of one of the font's blocks of
// up to 256 glyphs, each block a font of the document of its own (one byte a
// character keeps the pages small), and its width in thousandths of an em,
// to three decimals, by which a reader moves on to the next glyph of a run.
struct GlyphUse {
    double Width = 0;
    uint16_t Block = 0;
    uint8_t Code = 0;
};

// One font file as the document embeds it: the glyphs used, their widths and
// the characters behind them.
class EmbeddedFont {
public:
    EmbeddedFont(FT_Library library, const FontFile& file, int number)
        : File(file), Number(number) {
        if (FT_New_Face(library, file.Path.c_str(), file.Index, &Face) != 0)
            Face = nullptr;
        UnitsPerEm = Face && Face->units_per_EM ? Face->units_per_EM : 1000;
    }
    ~EmbeddedFont() {
        if (Face)
            FT_Done_Face(Face);
    }
    EmbeddedFont(const EmbeddedFont&) = delete;
    EmbeddedFont& operator=(const EmbeddedFont&) = delete;

    // 0 when the font has no glyph for the character.
    uint16_t GlyphOf(char32_t point) {
        if (!Face)
            return 0;
        if (point < 0x10000) {
            if (BasicGlyphs.empty())
                BasicGlyphs.assign(0x10000, -1);
            int& glyph = BasicGlyphs[point];
            if (glyph < 0)
                glyph = static_cast<int>(FT_Get_Char_Index(Face, point));
            return static_cast<uint16_t>(glyph);
        }
        return static_cast<uint16_t>(FT_Get_Char_Index(Face, point));
    }

    // The glyph is drawn.
    const GlyphUse& Use(uint16_t glyph, char32_t point) {
        auto found = Uses.find(glyph);
        if (found != Uses.end())
            return found->second;
        FT_Fixed advance = 0;
        if (Face)
            FT_Get_Advance(Face, glyph, FT_LOAD_NO_SCALE, &advance);
        if (Blocks.empty() || Blocks.back().size() == 256)
            Blocks.emplace_back();
        GlyphUse use;
        use.Width = std::round(advance * 1e6 / UnitsPerEm) / 1000.0;
        use.Block = static_cast<uint16_t>(Blocks.size() - 1);
        use.Code = static_cast<uint8_t>(Blocks.back().size());
        Blocks.back().emplace_back(glyph, point);
        return Uses.emplace(glyph, use).first->second;
    }

    // The glyph's advance at the pixel size as Qt measures it unhinted: the
    // scaled linear advance cut to 1/64 of a pixel. The sums stay exact, so
    // that a text's tabs stop where the layout measured them, a glyph that
    // ends just on a stop included.
    double Advance(uint16_t glyph, int pixelSize) {
        std::vector<int32_t>& advances = AdvancesBySize[pixelSize];
        if (advances.empty())
            advances.assign(Face ? static_cast<size_t>(Face->num_glyphs) + 1 : 1, -1);
        int32_t& advance = advances[std::min<size_t>(glyph, advances.size() - 1)];
        if (advance < 0) {
            FT_Fixed linear = 0;
            if (Face && FT_Set_Pixel_Sizes(Face, 0, static_cast<FT_UInt>(pixelSize)) == 0)
                FT_Get_Advance(Face, glyph, FT_LOAD_NO_HINTING, &linear);
            advance = static_cast<int32_t>(linear >> 10);
        }
        return advance / 64.0;
    }

    std::string Resource(uint16_t block) const {
        return "F" + std::to_string(Number) + (block ? "." + std::to_string(block) : "");
    }

    // The font's objects, numbered from `next` on, and the resource entries
    // of its blocks.
    std::string Objects(int& next, std::string& resources,
                        std::vector<std::pair<int, size_t>>& xref, size_t offset) const;

private:
    std::string SubsetData(bool& cff) const;
    std::string Tag() const;
    std::string WidthArray() const;
    std::string EncodingMap(uint16_t block, const std::string& name) const;
    std::string UnicodeMap(uint16_t block) const;

    FontFile File;
    int Number;
    FT_Face Face = nullptr;
    FT_UShort UnitsPerEm = 1000;
    std::vector<int> BasicGlyphs;
    std::unordered_map<uint16_t, GlyphUse> Uses;
    std::unordered_map<int, std::vector<int32_t>> AdvancesBySize;
    // Each block's glyphs in code order, with the characters behind them.
    std::vector<std::vector<std::pair<uint16_t, char32_t>>> Blocks;
};

std::string FontBytes(hb_face_t* face) {
    hb_blob_t* blob = hb_face_reference_blob(face);
    unsigned length = 0;
    const char* bytes = hb_blob_get_data(blob, &length);
    std::string data(bytes ? bytes : "", bytes ? length : 0);
    hb_blob_destroy(blob);
    return data;
}

std::string EmbeddedFont::SubsetData(bool& cff) const {
    hb_blob_t* blob = hb_blob_create_from_file(File.Path.c_str());
    hb_face_t* face = hb_face_create(blob, static_cast<unsigned>(File.Index));
    hb_blob_destroy(blob);
    hb_blob_t* cffTable = hb_face_reference_table(face, HB_TAG('C', 'F', 'F', ' '));
    cff = hb_blob_get_length(cffTable) > 0;
    hb_blob_destroy(cffTable);
    std::string data;
    if (hb_subset_input_t* input = hb_subset_input_create_or_fail()) {
        hb_set_t* glyphs = hb_subset_input_glyph_set(input);
        hb_set_add(glyphs, 0);
        for (const auto& [glyph, use] : Uses)
            hb_set_add(glyphs, glyph);
        // The glyph numbers stay, so that the text's codes are the glyphs'.
        hb_subset_input_set_flags(input, HB_SUBSET_FLAGS_RETAIN_GIDS | HB_SUBSET_FLAGS_NO_HINTING);
        if (hb_face_t* subset = hb_subset_or_fail(face, input)) {
            data = FontBytes(subset);
            hb_face_destroy(subset);
        }
        hb_subset_input_destroy(input);
    }
    if (data.empty())
        data = FontBytes(face);
    hb_face_destroy(face);
    return data;
}

// Six capitals naming the subset, as the format wants: from the glyphs in it.
std::string EmbeddedFont::Tag() const {
    uint32_t hash = 2166136261u;
    std::vector<uint16_t> glyphs;
    for (const auto& [glyph, use] : Uses)
        glyphs.push_back(glyph);
    std::sort(glyphs.begin(), glyphs.end());
    for (const uint16_t glyph : glyphs)
        hash = (hash ^ glyph) * 16777619u;
    hash ^= static_cast<uint32_t>(File.Index);
    std::string tag;
    for (int i = 0; i < 6; ++i) {
        tag += static_cast<char>('A' + hash % 26);
        hash /= 26;
    }
    return tag;
}

std::string EmbeddedFont::WidthArray() const {
    std::map<uint16_t, double> widths;
    for (const auto& [glyph, use] : Uses)
        widths.emplace(glyph, use.Width);
    std::string out = "[";
    int last = -2;
    for (const auto& [glyph, width] : widths) {
        if (glyph != last + 1) {
            if (last >= 0)
                out += "]";
            AppendInteger(out, glyph);
            out += "[";
        } else {
            out += ' ';
        }
        AppendNumber(out, width);
        last = glyph;
    }
    if (last >= 0)
        out += "]";
    return out + "]";
}

// A CMap of one-byte codes: `kind` names its entries ("cid" or "bf"), and
// `target` appends what the code stands for.
std::string CodeMap(const std::string& ordering, const std::string& name, int type,
                    const std::string& kind, size_t codes,
                    const std::function<void(std::string&, size_t)>& target) {
    std::string out = "/CIDInit /ProcSet findresource begin\n12 dict begin\nbegincmap\n"
                      "/CIDSystemInfo<</Registry(Adobe)/Ordering(" +
                      ordering + ")/Supplement 0>>def\n/CMapName/" + name + " def\n/CMapType " +
                      std::to_string(type) +
                      " def\n1 begincodespacerange\n<00><FF>\nendcodespacerange\n";
    // The format allows a hundred entries a section.
    for (size_t start = 0; start < codes; start += 100) {
        const size_t count = std::min<size_t>(100, codes - start);
        AppendInteger(out, static_cast<long long>(count));
        out += " begin" + kind + "char\n";
        for (size_t code = start; code < start + count; ++code) {
            out += '<';
            AppendHex(out, static_cast<uint32_t>(code), 2);
            out += '>';
            target(out, code);
            out += '\n';
        }
        out += "end" + kind + "char\n";
    }
    return out + "endcmap\nCMapName currentdict/CMap defineresource pop\nend\nend\n";
}

// A block's codes to the glyphs (the font's CIDs keep the glyph numbers).
std::string EmbeddedFont::EncodingMap(uint16_t block, const std::string& name) const {
    const auto& glyphs = Blocks[block];
    return CodeMap("Identity", name, 1, "cid", glyphs.size(), [&](std::string& out, size_t code) {
        out += ' ';
        AppendInteger(out, glyphs[code].first);
    });
}

// A block's codes to the characters, in UTF-16, so that the text can be
// searched.
std::string EmbeddedFont::UnicodeMap(uint16_t block) const {
    const auto& glyphs = Blocks[block];
    return CodeMap("UCS", "Adobe-Identity-UCS", 2, "bf", glyphs.size(),
                   [&](std::string& out, size_t code) {
                       const char32_t point = glyphs[code].second;
                       out += '<';
                       if (point < 0x10000) {
                           AppendHex(out, point, 4);
                       } else {
                           AppendHex(out, 0xD800 + ((point - 0x10000) >> 10), 4);
                           AppendHex(out, 0xDC00 + ((point - 0x10000) & 0x3FF), 4);
                       }
                       out += '>';
                   });
}

// --- The document ----------------------------------------------------------

std::string PostScriptName(FT_Face face) {
    const char* name = face ? FT_Get_Postscript_Name(face) : nullptr;
    std::string out = name ? name : "Font";
    std::erase_if(out, [](char c) {
        return c <= ' ' || c > '~' ||
               std::string_view("()<>[]{}/%#").find(c) != std::string_view::npos;
    });
    return out.empty() ? "Font" : out;
}

} // namespace

class PdfDocument {
public:
    PdfDocument(std::string path, QSizeF paperPoints, const PageFacts& facts, double layoutDpi,
                std::string title)
        : Path(std::move(path)), PaperWidth(paperPoints.width()), PaperHeight(paperPoints.height()),
          Scale(72.0 / layoutDpi), OriginX(facts.LeftOffset * Scale),
          OriginY(paperPoints.height() - facts.TopOffset * Scale), Title(std::move(title)) {}

    ~PdfDocument() {
        if (File)
            std::fclose(File);
        Fonts.clear();
        if (Library)
            FT_Done_FreeType(Library);
    }

    bool Open() {
        File = std::fopen(Path.c_str(), "wb");
        if (!File || FT_Init_FreeType(&Library) != 0)
            return false;
        std::setvbuf(File, nullptr, _IOFBF, 1 << 20);
        Write("%PDF-1.6\n%\xE2\xE3\xCF\xD3\n");
        return Good;
    }

    void WritePage(const StoredPage& page, const std::vector<PdfFontFacts>& fonts) {
        const std::string content = Compressed(ContentOf(page, fonts));
        const int pageObject = NextObject++;
        const int contentObject = NextObject++;
        PageObjects.push_back(pageObject);
        BeginObject(pageObject);
        std::string dictionary = "<</Type/Page/Parent 1 0 R/Resources 3 0 R/Contents ";
        AppendInteger(dictionary, contentObject);
        dictionary += " 0 R>>\nendobj\n";
        Write(dictionary);
        BeginObject(contentObject);
        std::string header = "<</Length ";
        AppendInteger(header, static_cast<long long>(content.size()));
        header += "/Filter/FlateDecode>>stream\n";
        Write(header);
        Write(content);
        Write("\nendstream\nendobj\n");
    }

    bool Finish() {
        std::string fontEntries;
        for (const auto& [file, font] : Fonts)
            Write(font->Objects(NextObject, fontEntries, Xref, Offset));
        BeginObject(3);
        Write("<</Font<<" + fontEntries + ">>/ProcSet[/PDF/Text]>>\nendobj\n");
        WritePageTree();
        BeginObject(2);
        Write("<</Type/Catalog/Pages 1 0 R>>\nendobj\n");
        BeginObject(4);
        Write("<</Title" + TextString(Title) + "/Producer(Pembrill)>>\nendobj\n");
        WriteCrossReference();
        if (std::fflush(File) != 0)
            Good = false;
        const bool closed = std::fclose(File) == 0;
        File = nullptr;
        return Good && closed;
    }

private:
    // A stored font's files: its own, and those of the characters it lacks.
    struct FontChoice {
        StoredFont Font;
        EmbeddedFont* Main;
        std::unordered_map<char32_t, std::pair<EmbeddedFont*, uint16_t>> Fallbacks;
    };

    void Write(std::string_view bytes) {
        if (std::fwrite(bytes.data(), 1, bytes.size(), File) != bytes.size())
            Good = false;
        Offset += bytes.size();
    }

    void BeginObject(int number) {
        Xref.emplace_back(number, Offset);
        std::string start;
        AppendInteger(start, number);
        start += " 0 obj\n";
        Write(start);
    }

    void WritePageTree() {
        BeginObject(1);
        std::string tree = "<</Type/Pages/MediaBox[0 0 ";
        AppendNumber(tree, PaperWidth);
        tree += ' ';
        AppendNumber(tree, PaperHeight);
        tree += "]/Count ";
        AppendInteger(tree, static_cast<long long>(PageObjects.size()));
        tree += "/Kids[";
        for (const int page : PageObjects) {
            AppendInteger(tree, page);
            tree += " 0 R ";
        }
        tree += "]>>\nendobj\n";
        Write(tree);
    }

    void WriteCrossReference() {
        const size_t start = Offset;
        std::vector<size_t> offsets(static_cast<size_t>(NextObject), 0);
        for (const auto& [number, at] : Xref)
            offsets[static_cast<size_t>(number)] = at;
        std::string table = "xref\n0 ";
        AppendInteger(table, NextObject);
        table += "\n0000000000 65535 f \n";
        for (int i = 1; i < NextObject; ++i) {
            char entry[21];
            std::snprintf(entry, sizeof entry, "%010zu 00000 n \n",
                          offsets[static_cast<size_t>(i)]);
            table.append(entry, 20);
        }
        table += "trailer\n<</Size ";
        AppendInteger(table, NextObject);
        table += "/Root 2 0 R/Info 4 0 R>>\nstartxref\n";
        AppendInteger(table, static_cast<long long>(start));
        table += "\n%%EOF\n";
        Write(table);
    }

    EmbeddedFont* FontFor(const FontFile& file) {
        auto& font = Fonts[file];
        if (!font)
            font = std::make_unique<EmbeddedFont>(Library, file, static_cast<int>(Fonts.size()));
        return font.get();
    }

    // The font of the stored font that has the character's glyph: its own
    // file, else the one fontconfig finds for the character, else its own
    // file's missing glyph.
    std::pair<EmbeddedFont*, uint16_t> GlyphFor(FontChoice& choice, char32_t point) {
        if (choice.Main) {
            if (const uint16_t glyph = choice.Main->GlyphOf(point))
                return {choice.Main, glyph};
        }
        auto found = choice.Fallbacks.find(point);
        if (found == choice.Fallbacks.end()) {
            std::pair<EmbeddedFont*, uint16_t> fallback{choice.Main, 0};
            if (const auto file = FileFor(choice.Font, point)) {
                EmbeddedFont* font = FontFor(*file);
                if (const uint16_t glyph = font->GlyphOf(point))
                    fallback = {font, glyph};
            }
            found = choice.Fallbacks.emplace(point, fallback).first;
        }
        return found->second;
    }

    FontChoice& ChoiceOf(const StoredFont& font) {
        const std::string key = font.Name + (font.Bold ? "|bold" : "|regular");
        auto found = Choices.find(key);
        if (found == Choices.end()) {
            FontChoice choice{font, nullptr, {}};
            if (const auto file = FileFor(font, std::nullopt))
                choice.Main = FontFor(*file);
            found = Choices.emplace(key, std::move(choice)).first;
        }
        return found->second;
    }

    std::string ContentOf(const StoredPage& page, const std::vector<PdfFontFacts>& fonts);
    void AppendText(std::string& out, const StoredText& text, std::string_view bytes,
                    const PdfFontFacts& font);
    void PlaceLine(std::string& out, double x, double y);

    std::string Path;
    double PaperWidth;
    double PaperHeight;
    double Scale;
    double OriginX;
    double OriginY;
    std::string Title;
    std::FILE* File = nullptr;
    bool Good = true;
    size_t Offset = 0;
    int NextObject = 5;
    std::vector<std::pair<int, size_t>> Xref;
    std::vector<int> PageObjects;
    FT_Library Library = nullptr;
    std::map<FontFile, std::unique_ptr<EmbeddedFont>> Fonts;
    std::unordered_map<std::string, FontChoice> Choices;
    // The state the content stream of a page is in while it is written: the
    // font, its block and size, the colour, and where the text line begins.
    const EmbeddedFont* CurrentFont = nullptr;
    uint16_t CurrentBlock = 0;
    int CurrentSize = 0;
    QRgb CurrentColour = 0;
    std::optional<std::pair<double, double>> LineStart;
};

// A stream object of compressed data.
void AppendStream(std::string& out, const std::string& data, const std::string& entries) {
    const std::string compressed = Compressed(data);
    out += "<<" + entries + "/Length ";
    AppendInteger(out, static_cast<long long>(compressed.size()));
    out += "/Filter/FlateDecode>>stream\n" + compressed + "\nendstream\nendobj\n";
}

std::string EmbeddedFont::Objects(int& next, std::string& resources,
                                  std::vector<std::pair<int, size_t>>& xref, size_t offset) const {
    bool cff = false;
    const std::string data = SubsetData(cff);
    const std::string name = Tag() + "+" + PostScriptName(Face);
    const int cidFont = next++;
    const int descriptor = next++;
    const int fontFile = next++;
    std::string out;
    const auto begin = [&](int number) {
        xref.emplace_back(number, offset + out.size());
        AppendInteger(out, number);
        out += " 0 obj\n";
    };
    const auto ref = [](std::string& to, int number) {
        AppendInteger(to, number);
        to += " 0 R";
    };
    const double scale = 1000.0 / UnitsPerEm;
    begin(cidFont);
    out += std::string("<</Type/Font/Subtype/") + (cff ? "CIDFontType0" : "CIDFontType2") +
           "/BaseFont/" + name +
           "/CIDSystemInfo<</Registry(Adobe)/Ordering(Identity)/Supplement 0>>/FontDescriptor ";
    ref(out, descriptor);
    out += "/DW 1000/W" + WidthArray();
    if (!cff)
        out += "/CIDToGIDMap/Identity";
    out += ">>\nendobj\n";
    begin(descriptor);
    out += "<</Type/FontDescriptor/FontName/" + name + "/Flags 4/FontBBox[";
    const FT_BBox box = Face ? Face->bbox : FT_BBox{0, -200, 1000, 800};
    for (const FT_Pos value : {box.xMin, box.yMin, box.xMax, box.yMax}) {
        AppendInteger(out, std::lround(static_cast<double>(value) * scale));
        out += ' ';
    }
    const long ascent = Face ? std::lround(Face->ascender * scale) : 800;
    out += "]/ItalicAngle 0/Ascent ";
    AppendInteger(out, ascent);
    out += "/Descent ";
    AppendInteger(out, Face ? std::lround(Face->descender * scale) : -200);
    out += "/CapHeight ";
    AppendInteger(out, ascent);
    out += "/StemV 80/";
    out += cff ? "FontFile3 " : "FontFile2 ";
    ref(out, fontFile);
    out += ">>\nendobj\n";
    begin(fontFile);
    std::string length1 = "/Length1 ";
    AppendInteger(length1, static_cast<long long>(data.size()));
    AppendStream(out, data, cff ? std::string("/Subtype/OpenType") : length1);
    for (uint16_t block = 0; block < Blocks.size(); ++block) {
        const std::string mapName =
            "Pembrill-F" + std::to_string(Number) + "-" + std::to_string(block);
        const int font = next++;
        const int encoding = next++;
        const int toUnicode = next++;
        begin(font);
        out += "<</Type/Font/Subtype/Type0/BaseFont/" + name + "/Encoding ";
        ref(out, encoding);
        out += "/DescendantFonts[";
        ref(out, cidFont);
        out += "]/ToUnicode ";
        ref(out, toUnicode);
        out += ">>\nendobj\n";
        begin(encoding);
        AppendStream(out, EncodingMap(block, mapName),
                     "/Type/CMap/CMapName/" + mapName +
                         "/CIDSystemInfo<</Registry(Adobe)/Ordering(Identity)/Supplement 0>>");
        begin(toUnicode);
        AppendStream(out, UnicodeMap(block), "");
        resources += "/" + Resource(block) + " ";
        ref(resources, font);
    }
    return out;
}

// The page in the layout's units: the origin at the printable area's top
// left corner, y downwards, so that every text and line stands where the
// store put it. Each text is placed by its own matrix, flipped back upright.
std::string PdfDocument::ContentOf(const StoredPage& page, const std::vector<PdfFontFacts>& fonts) {
    std::string out;
    out.reserve(page.Characters.size() * 3 + page.Texts.size() * 40 + 256);
    out += "q ";
    AppendNumber(out, Scale);
    out += " 0 0 ";
    AppendNumber(out, -Scale);
    out += ' ';
    AppendNumber(out, OriginX);
    out += ' ';
    AppendNumber(out, OriginY);
    out += " cm\nBT\n";
    CurrentFont = nullptr;
    CurrentSize = 0;
    CurrentColour = 0;
    LineStart.reset();
    for (const StoredText& text : page.Texts) {
        if (text.Font < fonts.size())
            AppendText(out, text, page.TextOf(text), fonts[text.Font]);
    }
    out += "ET\n";
    if (!page.Lines.empty()) {
        out += "0 g\n";
        for (const StoredLine& line : page.Lines) {
            AppendInteger(out, line.X);
            out += ' ';
            AppendInteger(out, line.Y);
            out += ' ';
            AppendInteger(out, line.Width);
            out += " 1 re\n";
        }
        out += "f\n";
    }
    out += "Q\n";
    return out;
}

// Runs of one font each, the first at the text's place, each next one where
// the glyphs before it end; a tab goes on to the next stop of eight blanks.
// Each run is placed from the start of the run before it, so that the moves
// of a listing's lines are alike and compress to nearly nothing.
void PdfDocument::AppendText(std::string& out, const StoredText& text, std::string_view bytes,
                             const PdfFontFacts& facts) {
    FontChoice& choice = ChoiceOf(facts.Font);
    const int size = facts.Font.PixelSize;
    if (facts.Font.Colour != CurrentColour) {
        CurrentColour = facts.Font.Colour;
        AppendNumber(out, qRed(CurrentColour) / 255.0);
        out += ' ';
        AppendNumber(out, qGreen(CurrentColour) / 255.0);
        out += ' ';
        AppendNumber(out, qBlue(CurrentColour) / 255.0);
        out += " rg\n";
    }
    const auto [spaceFont, spaceGlyph] = GlyphFor(choice, U' ');
    const double spaceWidth = spaceFont ? spaceFont->Advance(spaceGlyph, size) : 0;
    const double baseline = text.Y + facts.Ascent;
    double left = 0;
    bool placed = false;
    bool inString = false;
    const auto closeString = [&] {
        if (inString)
            out += ")Tj\n";
        inString = false;
    };
    for (const char32_t point : LayoutString(std::string(bytes)).toUcs4()) {
        if (point == U'\t') {
            closeString();
            left = AfterTab(left, spaceWidth);
            placed = false;
            continue;
        }
        const auto [font, glyph] = GlyphFor(choice, point);
        if (!font)
            continue;
        const GlyphUse& use = font->Use(glyph, point);
        if (font != CurrentFont || use.Block != CurrentBlock || size != CurrentSize) {
            closeString();
            out += '/';
            out += font->Resource(use.Block);
            out += ' ';
            AppendInteger(out, size);
            out += " Tf\n";
            CurrentFont = font;
            CurrentBlock = use.Block;
            CurrentSize = size;
            placed = false;
        }
        if (!placed) {
            closeString();
            PlaceLine(out, text.X + left, baseline);
            placed = true;
        }
        if (!inString)
            out += '(';
        inString = true;
        AppendCode(out, use.Code);
        left += font->Advance(glyph, size);
    }
    closeString();
}

// The text matrix's first placing on a page, or a move from the line before.
void PdfDocument::PlaceLine(std::string& out, double x, double y) {
    if (!LineStart) {
        out += "1 0 0 -1 ";
        AppendNumber(out, x);
        out += ' ';
        AppendNumber(out, y);
        out += " Tm";
    } else {
        AppendNumber(out, x - LineStart->first);
        out += ' ';
        AppendNumber(out, LineStart->second - y);
        out += " Td";
    }
    LineStart = {x, y};
}

// --- The writer's thread ---------------------------------------------------

PdfWriter::PdfWriter(std::string path, QSizeF paperPoints, const PageStore& store)
    : Document(std::make_unique<PdfDocument>(std::move(path), paperPoints, store.Facts(),
                                             store.LayoutDpi(), store.Title())) {}

PdfWriter::~PdfWriter() {
    Abandon();
}

void PdfWriter::Abandon() {
    {
        std::lock_guard<std::mutex> guard(Lock);
        Stopping = true;
        Failed = true;
    }
    Changed.notify_all();
    if (Worker.joinable())
        Worker.join();
}

bool PdfWriter::Start() {
    if (!Document->Open())
        return false;
    Worker = std::thread([this] { Run(); });
    return true;
}

void PdfWriter::AddPage(const StoredPage& page, std::vector<PdfFontFacts> fonts) {
    {
        std::lock_guard<std::mutex> guard(Lock);
        Queue.push_back({&page, std::move(fonts)});
    }
    Changed.notify_all();
}

void PdfWriter::Run() {
    for (;;) {
        QueuedPage next;
        {
            std::unique_lock<std::mutex> guard(Lock);
            Changed.wait(guard, [this] { return Stopping || NoMorePages || !Queue.empty(); });
            if (Stopping)
                return;
            if (Queue.empty()) {
                guard.unlock();
                const bool finished = Document->Finish();
                guard.lock();
                Failed = Failed || !finished;
                Stopping = true;
                Changed.notify_all();
                return;
            }
            next = std::move(Queue.front());
            Queue.pop_front();
        }
        Document->WritePage(*next.Page, next.Fonts);
        {
            std::lock_guard<std::mutex> guard(Lock);
            ++Written;
        }
        Changed.notify_all();
    }
}

bool PdfWriter::Finish(const std::function<bool(int written)>& keepGoing) {
    std::unique_lock<std::mutex> guard(Lock);
    NoMorePages = true;
    Changed.notify_all();
    while (!Stopping) {
        const int written = Written;
        guard.unlock();
        if (!keepGoing(written)) {
            guard.lock();
            Stopping = true;
            Failed = true;
            break;
        }
        guard.lock();
        Changed.wait_for(guard, std::chrono::milliseconds(40));
    }
    guard.unlock();
    Changed.notify_all();
    if (Worker.joinable())
        Worker.join();
    return !Failed;
}

std::vector<PdfFontFacts> PdfFontsOf(const PageStore& store) {
    std::vector<PdfFontFacts> fonts;
    for (int i = 0; i < store.FontCount(); ++i) {
        const StoredFont& font = store.Font(static_cast<uint32_t>(i));
        fonts.push_back({font, TextAscent(LayoutFont(font.Name, font.PixelSize, font.Bold))});
    }
    return fonts;
}

} // namespace pembrill
