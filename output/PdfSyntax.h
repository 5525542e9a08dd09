#pragma once

#include <QString>

#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace pembrill {

// A number as PDF writes it: at most three decimals, no trailing zeros.
void AppendNumber(std::string& out, double value);
void AppendInteger(std::string& out, long long value);
void AppendHex(std::string& out, uint32_t value, int digits);
// "N 0 R".
void AppendReference(std::string& out, int object);
// A byte in a literal string: the bytes that a reader would take for the
// string's end or for a line end are escaped.
void AppendStringByte(std::string& out, uint8_t byte);
// A text string (a title, a bookmark, the characters behind glyphs): UTF-16
// with its byte-order mark, in hex.
std::string TextString(QStringView text);
// UTF-16 code units in hex, as a CMap gives the characters of a code.
void AppendUtf16(std::string& out, char32_t character);

// A PDF file as it is written: objects numbered from 1, each written once.
// Objects other than streams go into compressed object streams, and the
// table of where each object is into a compressed cross-reference stream:
// plain, a report's two thousand page dictionaries and their table took a
// tenth of the file.
class PdfFile {
public:
    PdfFile() = default;
    ~PdfFile();
    PdfFile(const PdfFile&) = delete;
    PdfFile& operator=(const PdfFile&) = delete;

    // Makes the file and writes its header; false when it cannot be made.
    bool Open(const std::string& path);
    // The number of an object still to be written.
    int NewObject();
    // A whole object that is not a stream: its body, a dictionary or array.
    void WriteObject(int number, std::string_view body);
    // A stream object of the data compressed, `entries` in its dictionary.
    void WriteStream(int number, std::string_view entries, const std::string& data);
    // Writes the cross-reference stream and closes the file; false when
    // anything was not written.
    bool Close(int catalog, int info);

private:
    // Where an object is: at an offset in the file, or at an index in an
    // object stream.
    struct Place {
        uint64_t Where = 0;
        uint32_t Index = 0;
        bool InStream = false;
    };

    void FlushObjects();
    void Write(std::string_view bytes);
    void BeginObject(int number);

    std::FILE* File = nullptr;
    bool Good = true;
    uint64_t Offset = 0;
    std::vector<Place> Places{Place{}};
    // The objects waiting for their object stream: their numbers, the
    // stream's "number offset" pairs, and their bodies.
    std::vector<int> Pending;
    std::string PendingIndex;
    std::string PendingBodies;
};

} // namespace pembrill
