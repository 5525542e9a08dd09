#include "output/PdfFont.h"

#include "output/PdfSyntax.h"

#include <hb-ot.h>
#include <hb-subset.h>
#include <hb.h>

#include <algorithm>
#include <cmath>
#include <string_view>

namespace pembrill {

namespace {

constexpr std::string_view IdentitySystem =
    "/CIDSystemInfo<</Registry(Adobe)/Ordering(Identity)/Supplement 0>>";

// The post table's isFixedPitch.
bool IsFixedPitch(hb_face_t* face) {
    hb_blob_t* post = hb_face_reference_table(face, HB_TAG('p', 'o', 's', 't'));
    unsigned length = 0;
    const char* bytes = hb_blob_get_data(post, &length);
    const bool fixed = length >= 16 && (bytes[12] | bytes[13] | bytes[14] | bytes[15]) != 0;
    hb_blob_destroy(post);
    return fixed;
}

bool HasTable(hb_face_t* face, hb_tag_t tag) {
    hb_blob_t* table = hb_face_reference_table(face, tag);
    const bool has = hb_blob_get_length(table) > 0;
    hb_blob_destroy(table);
    return has;
}

std::string BlobBytes(hb_blob_t* blob) {
    unsigned length = 0;
    const char* bytes = hb_blob_get_data(blob, &length);
    return std::string(bytes ? bytes : "", bytes ? length : 0);
}

// The font's box from its head table: xMin, yMin, xMax, yMax in font units.
std::vector<int> FontBox(hb_face_t* face) {
    hb_blob_t* head = hb_face_reference_table(face, HB_TAG('h', 'e', 'a', 'd'));
    const std::string bytes = BlobBytes(head);
    hb_blob_destroy(head);
    std::vector<int> box;
    for (size_t at = 36; at + 2 <= bytes.size() && box.size() < 4; at += 2)
        box.push_back(static_cast<int16_t>(static_cast<uint8_t>(bytes[at]) << 8 |
                                           static_cast<uint8_t>(bytes[at + 1])));
    return box.size() == 4 ? box : std::vector<int>{0, -200, 1000, 800};
}

// The glyphs' numbers to the characters they stand for, so that the text
// can be searched and copied; the format allows a hundred entries a section.
std::string UnicodeCMap(const std::vector<std::string>& entries) {
    std::string out = "/CIDInit/ProcSet findresource begin\n12 dict begin\nbegincmap\n"
                      "/CIDSystemInfo<</Registry(Adobe)/Ordering(UCS)/Supplement 0>>def\n"
                      "/CMapName/Adobe-Identity-UCS def\n/CMapType 2 def\n"
                      "1 begincodespacerange\n<0000><FFFF>\nendcodespacerange\n";
    for (size_t start = 0; start < entries.size(); start += 100) {
        const size_t count = std::min<size_t>(100, entries.size() - start);
        AppendInteger(out, static_cast<long long>(count));
        out += " beginbfchar\n";
        for (size_t i = start; i < start + count; ++i)
            out += entries[i];
        out += "endbfchar\n";
    }
    return out + "endcmap\nCMapName currentdict/CMap defineresource pop\nend\nend\n";
}

} // namespace

PdfFont::PdfFont(std::string sfnt, double pixelSize, int number)
    : Data(std::move(sfnt)), FPixelSize(pixelSize), Number(number) {
    Blob = hb_blob_create(Data.data(), static_cast<unsigned>(Data.size()), HB_MEMORY_MODE_READONLY,
                          nullptr, nullptr);
    Face = hb_face_create(Blob, 0);
    Font = hb_font_create(Face);
    UnitsPerEm = std::max(1u, hb_face_get_upem(Face));
    FixedPitch = IsFixedPitch(Face);
    if (HasTable(Face, HB_TAG('g', 'l', 'y', 'f')))
        Outlines = OutlineKind::TrueType;
    else if (HasTable(Face, HB_TAG('C', 'F', 'F', ' ')))
        Outlines = OutlineKind::Cff;
}

PdfFont::~PdfFont() {
    hb_font_destroy(Font);
    hb_face_destroy(Face);
    hb_blob_destroy(Blob);
}

void PdfFont::Use(uint16_t glyph) {
    if (glyph >= Used.size())
        Used.resize(glyph + 1u, false);
    Used[glyph] = true;
}

std::string PdfFont::Resource() const {
    std::string name = "F";
    AppendInteger(name, Number);
    return name;
}

void PdfFont::SetAdvance(uint16_t glyph, double advance) {
    if (glyph >= Widths.size())
        Widths.resize(glyph + 1u, 0);
    Widths[glyph] = std::round(advance * 1000.0 / FPixelSize);
    if (FixedPitch && !SpacingSet && advance > 0) {
        FSpacing = std::round((advance - Widths[glyph] * FPixelSize / 1000.0) * 1000.0) / 1000.0;
        SpacingSet = true;
    }
}

double PdfFont::Width(uint16_t glyph) const {
    return glyph < Widths.size() ? Widths[glyph] : 0;
}

uint32_t PdfFont::NominalGlyph(char32_t character) {
    hb_codepoint_t glyph = 0;
    if (character >= 0x10000)
        return hb_font_get_nominal_glyph(Font, character, &glyph) ? glyph : 0;
    if (BasicGlyphs.empty())
        BasicGlyphs.assign(0x10000, -1);
    int32_t& known = BasicGlyphs[character];
    if (known < 0)
        known =
            hb_font_get_nominal_glyph(Font, character, &glyph) ? static_cast<int32_t>(glyph) : 0;
    return static_cast<uint32_t>(known);
}

bool PdfFont::CanStandFor(uint16_t glyph, char32_t character) const {
    return glyph >= Characters.size() || Characters[glyph] == 0 || Characters[glyph] == character;
}

void PdfFont::StandFor(uint16_t glyph, char32_t character) {
    if (glyph >= Characters.size())
        Characters.resize(glyph + 1u, 0);
    Characters[glyph] = character;
}

// The glyph numbers stay, so that the codes are the glyphs' own; the missing
// glyph keeps its outline, drawn as the preview draws it.
std::string PdfFont::SubsetData() const {
    std::string data;
    hb_subset_input_t* input = hb_subset_input_create_or_fail();
    if (!input)
        return Data;
    hb_set_t* glyphs = hb_subset_input_glyph_set(input);
    hb_set_add(glyphs, 0);
    for (uint16_t glyph = 0; glyph < Used.size(); ++glyph) {
        if (Used[glyph])
            hb_set_add(glyphs, glyph);
    }
    hb_subset_input_set_flags(input, HB_SUBSET_FLAGS_RETAIN_GIDS | HB_SUBSET_FLAGS_NO_HINTING |
                                         HB_SUBSET_FLAGS_NOTDEF_OUTLINE);
    if (hb_face_t* subset = hb_subset_or_fail(Face, input)) {
        hb_blob_t* blob = hb_face_reference_blob(subset);
        data = BlobBytes(blob);
        hb_blob_destroy(blob);
        hb_face_destroy(subset);
    }
    hb_subset_input_destroy(input);
    return data.empty() ? Data : data;
}

// The PostScript name behind six capitals that name the subset, as the
// format wants, made from the glyphs in it.
std::string PdfFont::BaseFontName() const {
    char buffer[128];
    unsigned length = sizeof buffer;
    hb_ot_name_get_utf8(Face, HB_OT_NAME_ID_POSTSCRIPT_NAME, HB_LANGUAGE_INVALID, &length, buffer);
    std::string name(buffer, std::min<size_t>(length, sizeof buffer - 1));
    std::erase_if(name, [](char c) {
        return c <= ' ' || c > '~' ||
               std::string_view("()<>[]{}/%#").find(c) != std::string_view::npos;
    });
    uint32_t hash = 2166136261u ^ static_cast<uint32_t>(Number);
    for (uint16_t glyph = 0; glyph < Used.size(); ++glyph) {
        if (Used[glyph])
            hash = (hash ^ glyph) * 16777619u;
    }
    std::string tag;
    for (int i = 0; i < 6; ++i) {
        tag += static_cast<char>('A' + hash % 26);
        hash /= 26;
    }
    return tag + "+" + (name.empty() ? "Font" : name);
}

std::string PdfFont::WidthArray() const {
    std::string out = "[";
    int last = -2;
    for (uint16_t glyph = 0; glyph < Used.size(); ++glyph) {
        if (!Used[glyph])
            continue;
        if (glyph != last + 1) {
            if (last >= 0)
                out += "]";
            AppendInteger(out, glyph);
            out += "[";
        } else {
            out += ' ';
        }
        AppendNumber(out, Width(glyph));
        last = glyph;
    }
    if (last >= 0)
        out += "]";
    return out + "]";
}

std::string PdfFont::Descriptor(const std::string& name, int fontFile) const {
    const double scale = 1000.0 / UnitsPerEm;
    hb_font_extents_t extents{};
    hb_font_get_h_extents(Font, &extents);
    hb_position_t capHeight = extents.ascender;
    hb_ot_metrics_get_position(Font, HB_OT_METRICS_TAG_CAP_HEIGHT, &capHeight);
    std::string out = "<</Type/FontDescriptor/FontName/" + name + "/Flags 4/FontBBox[";
    for (const int value : FontBox(Face)) {
        AppendInteger(out, std::lround(value * scale));
        out += ' ';
    }
    out += "]/ItalicAngle 0/Ascent ";
    AppendInteger(out, std::lround(extents.ascender * scale));
    out += "/Descent ";
    AppendInteger(out, std::lround(extents.descender * scale));
    out += "/CapHeight ";
    AppendInteger(out, std::lround(capHeight * scale));
    out += Outlines == OutlineKind::Cff ? "/StemV 80/FontFile3 " : "/StemV 80/FontFile2 ";
    AppendReference(out, fontFile);
    return out + ">>";
}

std::string PdfFont::UnicodeMap() const {
    std::vector<std::string> entries;
    for (uint16_t glyph = 0; glyph < Characters.size(); ++glyph) {
        if (Characters[glyph] == 0)
            continue;
        std::string entry = "<";
        AppendHex(entry, glyph, 4);
        entry += "><";
        AppendUtf16(entry, Characters[glyph]);
        entries.push_back(entry + ">\n");
    }
    return UnicodeCMap(entries);
}

void PdfFont::WriteObjects(PdfFile& file, std::string& resources) const {
    if (!HasOutlines() || Used.empty())
        return;
    const bool cff = Outlines == OutlineKind::Cff;
    const std::string name = BaseFontName();
    const int type0 = file.NewObject();
    const int cidFont = file.NewObject();
    const int descriptor = file.NewObject();
    const int fontFile = file.NewObject();
    const int toUnicode = file.NewObject();
    std::string dictionary =
        "<</Type/Font/Subtype/Type0/BaseFont/" + name + "/Encoding/Identity-H/DescendantFonts[";
    AppendReference(dictionary, cidFont);
    dictionary += "]/ToUnicode ";
    AppendReference(dictionary, toUnicode);
    file.WriteObject(type0, dictionary + ">>");
    std::string font = std::string("<</Type/Font/Subtype/") +
                       (cff ? "CIDFontType0" : "CIDFontType2") + "/BaseFont/" + name;
    font += IdentitySystem;
    font += "/FontDescriptor ";
    AppendReference(font, descriptor);
    font += "/DW 1000/W" + WidthArray() + (cff ? ">>" : "/CIDToGIDMap/Identity>>");
    file.WriteObject(cidFont, font);
    file.WriteObject(descriptor, Descriptor(name, fontFile));
    const std::string data = SubsetData();
    std::string entries = "/Subtype/OpenType";
    if (!cff) {
        entries = "/Length1 ";
        AppendInteger(entries, static_cast<long long>(data.size()));
    }
    file.WriteStream(fontFile, entries, data);
    file.WriteStream(toUnicode, "", UnicodeMap());
    resources += '/';
    resources += Resource();
    resources += ' ';
    AppendReference(resources, type0);
}

} // namespace pembrill
