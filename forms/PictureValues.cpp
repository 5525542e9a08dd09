#include "forms/PictureValues.h"

#include "platform/ByteText.h"
#include "platform/NumberText.h"

#include <algorithm>
#include <array>

namespace pembrill {

namespace {

// Delphi keeps a system colour as $80000000 plus its index.
constexpr uint32_t SystemColorFlag = 0x80000000;

// Windows 95's standard scheme, by system colour index.
constexpr std::array<PictureColor, 25> SystemColors = {
    0xC0C0C0, 0x008080, 0x000080, 0x808080, 0xC0C0C0, 0xFFFFFF, 0x000000, 0x000000, 0x000000,
    0xFFFFFF, 0xC0C0C0, 0xC0C0C0, 0x808080, 0x000080, 0xFFFFFF, 0xC0C0C0, 0x808080, 0x808080,
    0x000000, 0xC0C0C0, 0xFFFFFF, 0x000000, 0xC0C0C0, 0x000000, 0xFFFFE1,
};

struct ColorName {
    std::string_view Name;
    uint32_t Value; // as Delphi stores it: $00BBGGRR, or a system colour
};

constexpr ColorName ColorNames[] = {
    {"clBlack", 0x000000},
    {"clMaroon", 0x000080},
    {"clGreen", 0x008000},
    {"clOlive", 0x008080},
    {"clNavy", 0x800000},
    {"clPurple", 0x800080},
    {"clTeal", 0x808000},
    {"clGray", 0x808080},
    {"clSilver", 0xC0C0C0},
    {"clRed", 0x0000FF},
    {"clLime", 0x00FF00},
    {"clYellow", 0x00FFFF},
    {"clBlue", 0xFF0000},
    {"clFuchsia", 0xFF00FF},
    {"clAqua", 0xFFFF00},
    {"clLtGray", 0xC0C0C0},
    {"clDkGray", 0x808080},
    {"clWhite", 0xFFFFFF},
    {"clMoneyGreen", 0xC0DCC0},
    {"clSkyBlue", 0xF0CAA6},
    {"clCream", 0xF0FBFF},
    {"clMedGray", 0xA4A0A0},
    {"clScrollBar", 0x80000000},
    {"clBackground", 0x80000001},
    {"clActiveCaption", 0x80000002},
    {"clInactiveCaption", 0x80000003},
    {"clMenu", 0x80000004},
    {"clWindow", 0x80000005},
    {"clWindowFrame", 0x80000006},
    {"clMenuText", 0x80000007},
    {"clWindowText", 0x80000008},
    {"clCaptionText", 0x80000009},
    {"clActiveBorder", 0x8000000A},
    {"clInactiveBorder", 0x8000000B},
    {"clAppWorkSpace", 0x8000000C},
    {"clHighlight", 0x8000000D},
    {"clHighlightText", 0x8000000E},
    {"clBtnFace", 0x8000000F},
    {"clBtnShadow", 0x80000010},
    {"clGrayText", 0x80000011},
    {"clBtnText", 0x80000012},
    {"clInactiveCaptionText", 0x80000013},
    {"clBtnHighlight", 0x80000014},
    {"cl3DDkShadow", 0x80000015},
    {"cl3DLight", 0x80000016},
    {"clInfoText", 0x80000017},
    {"clInfoBk", 0x80000018},
};

// $00BBGGRR, and the palette forms $01 and $02 that Windows draws alike.
std::optional<PictureColor> ColorOfValue(uint32_t value) {
    if ((value & 0xFF000000) == SystemColorFlag) {
        const uint32_t index = value & 0xFF;
        if (index >= SystemColors.size())
            return std::nullopt;
        return SystemColors[index];
    }
    if ((value >> 24) > 2)
        return std::nullopt;
    return (value & 0xFF) << 16 | (value & 0xFF00) | (value >> 16 & 0xFF);
}

std::optional<int> ReadInteger(const PropertyValues& values, std::string_view name) {
    const auto found = values.find(name);
    int32_t value = 0;
    if (found == values.end() || !TryStrToInt(found->second, value))
        return std::nullopt;
    return value;
}

//     [fsBold, fsItalic]
void ReadFontStyle(std::string_view style, PictureFont& font) {
    const auto has = [style](std::string_view word) {
        return style.find(word) != std::string_view::npos;
    };
    font.Bold = has("fsBold");
    font.Italic = has("fsItalic");
    font.Underline = has("fsUnderline");
    font.StrikeOut = has("fsStrikeOut");
}

// Points to Delphi's negative Height, rounded as MulDiv rounds.
int HeightOfSize(int size, int pixelsPerInch) {
    const int64_t pixels = (static_cast<int64_t>(size) * pixelsPerInch + 36) / 72;
    return ClampCoordinate(-pixels);
}

uint32_t ReadLittleEndian32(std::string_view bytes) {
    uint32_t value = 0;
    for (int i = 3; i >= 0; --i)
        value = value << 8 | static_cast<uint8_t>(bytes[i]);
    return value;
}

struct Signature {
    size_t Offset;
    std::string_view Bytes;
    ImageFormat Format;
};

const Signature Signatures[] = {
    {0, "BM", ImageFormat::Bitmap},
    {0, std::string_view("\0\0\1\0", 4), ImageFormat::Icon},
    {0, "\x89PNG", ImageFormat::Png},
    {0, "\xFF\xD8", ImageFormat::Jpeg},
    {0, "\xD7\xCD\xC6\x9A", ImageFormat::Metafile}, // a placeable WMF
    {40, " EMF", ImageFormat::Metafile},
};

ImageFormat FormatOf(std::string_view file) {
    for (const auto& signature : Signatures)
        if (file.size() >= signature.Offset + signature.Bytes.size() &&
            file.substr(signature.Offset, signature.Bytes.size()) == signature.Bytes)
            return signature.Format;
    return ImageFormat::Unknown;
}

} // namespace

int ClampCoordinate(int64_t value) {
    return static_cast<int>(std::clamp<int64_t>(value, -CoordinateLimit, CoordinateLimit));
}

std::optional<int> ReadCoordinate(const PropertyValues& values, std::string_view name) {
    const std::optional<int> value = ReadInteger(values, name);
    if (!value)
        return std::nullopt;
    return ClampCoordinate(*value);
}

std::optional<bool> ReadBoolean(const PropertyValues& values, std::string_view name) {
    const auto found = values.find(name);
    if (found == values.end())
        return std::nullopt;
    if (EqualIgnoringAsciiCase(found->second, "True"))
        return true;
    if (EqualIgnoringAsciiCase(found->second, "False"))
        return false;
    return std::nullopt;
}

std::optional<PictureColor> ReadColor(std::string_view value) {
    for (const auto& color : ColorNames)
        if (EqualIgnoringAsciiCase(value, color.Name))
            return ColorOfValue(color.Value);
    int32_t number = 0;
    if (!TryStrToInt(std::string(value), number))
        return std::nullopt;
    return ColorOfValue(static_cast<uint32_t>(number));
}

void ReadFont(const PropertyValues& values, int pixelsPerInch, PictureFont& font) {
    if (const auto name = values.find("Font.Name"); name != values.end())
        font.Name = name->second;
    if (const auto size = ReadCoordinate(values, "Font.Size"))
        font.Height = HeightOfSize(*size, pixelsPerInch);
    if (const auto height = ReadCoordinate(values, "Font.Height"))
        font.Height = *height;
    if (const auto style = values.find("Font.Style"); style != values.end())
        ReadFontStyle(style->second, font);
    if (const auto color = values.find("Font.Color"); color != values.end())
        font.Color = ReadColor(color->second).value_or(font.Color);
}

std::optional<PictureImage> ReadPictureData(std::string_view data) {
    if (data.empty())
        return std::nullopt;
    const size_t length = static_cast<uint8_t>(data[0]);
    if (length == 0 || data.size() < 1 + length)
        return std::nullopt;
    return ReadGraphic(std::string(data.substr(1, length)), data.substr(1 + length));
}

PictureImage ReadGraphic(std::string className, std::string_view stream) {
    PictureImage image{std::move(className), FormatOf(stream), std::string(stream)};
    if (image.Format != ImageFormat::Unknown || stream.size() < 4)
        return image;
    const std::string_view rest = stream.substr(4);
    const std::string_view file =
        rest.substr(0, std::min<size_t>(ReadLittleEndian32(stream), rest.size()));
    if (const ImageFormat format = FormatOf(file); format != ImageFormat::Unknown) {
        image.Format = format;
        image.Bytes = file;
    }
    return image;
}

} // namespace pembrill
