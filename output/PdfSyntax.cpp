#include "output/PdfSyntax.h"

#include "platform/Files.h"

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

namespace {

// Objects a stream holds at most: a few kilobytes, read whole by a reader
// that wants one of them.
constexpr size_t ObjectsPerStream = 100;

void AppendBigEndian(std::string& out, uint64_t value, int bytes) {
    for (int shift = (bytes - 1) * 8; shift >= 0; shift -= 8)
        out += static_cast<char>((value >> shift) & 0xFF);
}

} // namespace

PdfFile::~PdfFile() {
    if (File)
        std::fclose(File);
}

bool PdfFile::Open(const std::string& path) {
    File = OpenFile(path, "wb");
    if (!File)
        return false;
    std::setvbuf(File, nullptr, _IOFBF, 1 << 20);
    Write("%PDF-1.6\n%\xE2\xE3\xCF\xD3\n");
    return Good;
}

int PdfFile::NewObject() {
    Places.emplace_back();
    return static_cast<int>(Places.size() - 1);
}

void PdfFile::WriteObject(int number, std::string_view body) {
    Places[static_cast<size_t>(number)] = Place{0, static_cast<uint32_t>(Pending.size()), true};
    Pending.push_back(number);
    AppendInteger(PendingIndex, number);
    PendingIndex += ' ';
    AppendInteger(PendingIndex, static_cast<long long>(PendingBodies.size()));
    PendingIndex += ' ';
    PendingBodies += body;
    PendingBodies += '\n';
    if (Pending.size() == ObjectsPerStream)
        FlushObjects();
}

void PdfFile::WriteStream(int number, std::string_view entries, const std::string& data) {
    const std::string compressed = Compressed(data);
    BeginObject(number);
    std::string header = "<<";
    header += entries;
    header += "/Length ";
    AppendInteger(header, static_cast<long long>(compressed.size()));
    header += "/Filter/FlateDecode>>stream\n";
    Write(header);
    Write(compressed);
    Write("\nendstream\nendobj\n");
}

// The objects waiting become one object stream; their places name it.
void PdfFile::FlushObjects() {
    if (Pending.empty())
        return;
    const int stream = NewObject();
    for (const int number : Pending)
        Places[static_cast<size_t>(number)].Where = static_cast<uint64_t>(stream);
    std::string entries = "/Type/ObjStm/N ";
    AppendInteger(entries, static_cast<long long>(Pending.size()));
    entries += "/First ";
    AppendInteger(entries, static_cast<long long>(PendingIndex.size()));
    WriteStream(stream, entries, PendingIndex + PendingBodies);
    Pending.clear();
    PendingIndex.clear();
    PendingBodies.clear();
}

// Each object's entry: its kind (1 in the file, 2 in an object stream),
// offset or stream, and generation or index.
bool PdfFile::Close(int catalog, int info) {
    FlushObjects();
    const int table = NewObject();
    Places[static_cast<size_t>(table)] = Place{Offset, 0, false};
    std::string entries;
    for (size_t number = 0; number < Places.size(); ++number) {
        const Place& place = Places[number];
        AppendBigEndian(entries, number == 0 ? 0 : (place.InStream ? 2 : 1), 1);
        AppendBigEndian(entries, place.Where, 4);
        AppendBigEndian(entries, number == 0 ? 0xFFFF : place.Index, 2);
    }
    std::string dictionary = "/Type/XRef/Size ";
    AppendInteger(dictionary, static_cast<long long>(Places.size()));
    dictionary += "/W[1 4 2]/Root ";
    AppendReference(dictionary, catalog);
    dictionary += "/Info ";
    AppendReference(dictionary, info);
    const uint64_t start = Offset;
    WriteStream(table, dictionary, entries);
    std::string trailer = "startxref\n";
    AppendInteger(trailer, static_cast<long long>(start));
    Write(trailer + "\n%%EOF\n");
    if (std::fflush(File) != 0)
        Good = false;
    const bool closed = std::fclose(File) == 0;
    File = nullptr;
    return Good && closed;
}

void PdfFile::BeginObject(int number) {
    Places[static_cast<size_t>(number)] = Place{Offset, 0, false};
    std::string start;
    AppendInteger(start, number);
    Write(start + " 0 obj\n");
}

void PdfFile::Write(std::string_view bytes) {
    if (std::fwrite(bytes.data(), 1, bytes.size(), File) != bytes.size())
        Good = false;
    Offset += bytes.size();
}

} // namespace pembrill
