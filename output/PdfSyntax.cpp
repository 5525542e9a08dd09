#include "output/PdfSyntax.h"

#include <zlib.h>

#include <charconv>
#include <cmath>

namespace pembrill {

namespace {

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

} // namespace

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

void AppendHex(std::string& out, uint32_t value, int digits) {
    static constexpr char Hex[] = "0123456789ABCDEF";
    for (int shift = (digits - 1) * 4; shift >= 0; shift -= 4)
        out += Hex[(value >> shift) & 0xF];
}

void AppendReference(std::string& out, int object) {
    AppendInteger(out, object);
    out += " 0 R";
}

void AppendStringByte(std::string& out, uint8_t byte) {
    switch (byte) {
    case '(':
    case ')':
    case '\\':
        out += '\\';
        out += static_cast<char>(byte);
        break;
    case '\r':
        out += "\\r";
        break;
    case '\n':
        out += "\\n";
        break;
    default:
        out += static_cast<char>(byte);
    }
}

std::string TextString(QStringView text) {
    std::string out = "<FEFF";
    for (const QChar unit : text)
        AppendHex(out, unit.unicode(), 4);
    return out + ">";
}

void AppendUtf16(std::string& out, char32_t character) {
    if (character < 0x10000) {
        AppendHex(out, character, 4);
        return;
    }
    AppendHex(out, 0xD800 + ((character - 0x10000) >> 10), 4);
    AppendHex(out, 0xDC00 + ((character - 0x10000) & 0x3FF), 4);
}

PdfFile::~PdfFile() {
    if (File)
        std::fclose(File);
}

bool PdfFile::Open(const std::string& path) {
    File = std::fopen(path.c_str(), "wb");
    if (!File)
        return false;
    std::setvbuf(File, nullptr, _IOFBF, 1 << 20);
    Write("%PDF-1.6\n%\xE2\xE3\xCF\xD3\n");
    return Good;
}

void PdfFile::WriteObject(int number, std::string_view body) {
    Xref.emplace_back(number, Offset);
    std::string start;
    AppendInteger(start, number);
    start += " 0 obj\n";
    Write(start);
    Write(body);
    Write("\nendobj\n");
}

void PdfFile::WriteStream(int number, std::string_view entries, const std::string& data) {
    const std::string compressed = Compressed(data);
    std::string body = "<<";
    body += entries;
    body += "/Length ";
    AppendInteger(body, static_cast<long long>(compressed.size()));
    body += "/Filter/FlateDecode>>stream\n";
    body += compressed;
    body += "\nendstream";
    WriteObject(number, body);
}

bool PdfFile::Close(int catalog, int info) {
    const size_t start = Offset;
    std::vector<size_t> offsets(static_cast<size_t>(NextObject), 0);
    for (const auto& [number, at] : Xref)
        offsets[static_cast<size_t>(number)] = at;
    std::string table = "xref\n0 ";
    AppendInteger(table, NextObject);
    table += "\n0000000000 65535 f \n";
    for (int i = 1; i < NextObject; ++i) {
        char entry[21];
        std::snprintf(entry, sizeof entry, "%010zu 00000 n \n", offsets[static_cast<size_t>(i)]);
        table.append(entry, 20);
    }
    table += "trailer\n<</Size ";
    AppendInteger(table, NextObject);
    table += "/Root ";
    AppendReference(table, catalog);
    table += "/Info ";
    AppendReference(table, info);
    table += ">>\nstartxref\n";
    AppendInteger(table, static_cast<long long>(start));
    table += "\n%%EOF\n";
    Write(table);
    if (std::fflush(File) != 0)
        Good = false;
    const bool closed = std::fclose(File) == 0;
    File = nullptr;
    return Good && closed;
}

void PdfFile::Write(std::string_view bytes) {
    if (std::fwrite(bytes.data(), 1, bytes.size(), File) != bytes.size())
        Good = false;
    Offset += bytes.size();
}

} // namespace pembrill
