#include "tools/FormTextWriter.h"

namespace pembrill {

namespace {

// The value types of the binary form format.
enum ValueType : uint8_t {
    vaNull,
    vaList,
    vaInt8,
    vaInt16,
    vaInt32,
    vaExtended,
    vaString,
    vaIdent,
    vaFalse,
    vaTrue,
    vaBinary,
    vaSet,
    vaLString,
    vaNil,
    vaCollection,
    vaSingle,
    vaCurrency,
    vaDate,
    vaWString,
    vaInt64,
    vaUTF8String,
    vaDouble,
};

// An object's prefix byte: the high nibble all ones, the low one the flags.
constexpr uint8_t PrefixMask = 0xF0;
constexpr uint8_t ffInherited = 1;
constexpr uint8_t ffChildPos = 2;
constexpr uint8_t ffInline = 4;

constexpr size_t CharactersPerLine = 64;
constexpr size_t BytesPerLine = 32;
constexpr size_t FlushSize = 1 << 16;

// Far beyond any real form, and small enough that the recursion that
// follows the nesting stays well under a megabyte of stack.
constexpr int MaxNesting = 256;

unsigned CodeOf(char c) {
    return static_cast<unsigned char>(c);
}

unsigned CodeOf(char16_t c) {
    return c;
}

// Appends the UTF-16 code units of the UTF-8 sequence at text[i], advancing
// i; false for a sequence that is not valid UTF-8.
bool AppendUtf8Character(std::string_view text, size_t& i, std::u16string& units) {
    const unsigned lead = static_cast<unsigned char>(text[i]);
    int length = 0;
    char32_t code = 0;
    char32_t minimum = 0;
    if (lead < 0x80) {
        units += static_cast<char16_t>(lead);
        ++i;
        return true;
    }
    if ((lead & 0xE0) == 0xC0) {
        length = 2, code = lead & 0x1F, minimum = 0x80;
    } else if ((lead & 0xF0) == 0xE0) {
        length = 3, code = lead & 0x0F, minimum = 0x800;
    } else if ((lead & 0xF8) == 0xF0) {
        length = 4, code = lead & 0x07, minimum = 0x10000;
    } else {
        return false;
    }
    if (text.size() - i < static_cast<size_t>(length))
        return false;
    for (int k = 1; k < length; ++k) {
        const unsigned next = static_cast<unsigned char>(text[i + k]);
        if ((next & 0xC0) != 0x80)
            return false;
        code = code << 6 | (next & 0x3F);
    }
    if (code < minimum || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF))
        return false;
    if (code < 0x10000) {
        units += static_cast<char16_t>(code);
    } else {
        units += static_cast<char16_t>(0xD800 + ((code - 0x10000) >> 10));
        units += static_cast<char16_t>(0xDC00 + ((code - 0x10000) & 0x3FF));
    }
    i += length;
    return true;
}

} // namespace

void FormTextWriter::WriteForm() {
    Stream.ReadSignature();
    WriteObject();
    Flush();
}

void FormTextWriter::WriteObject() {
    WriteObjectLine();
    Indent();
    WriteProperties();
    while (!EndOfList())
        WriteObject();
    ReadEndOfList();
    Outdent();
    WriteIndent();
    Write("end\r\n");
}

// "object Name: TClass", "inherited ...", "inline ...", with " [n]" for a
// child position; an object without a name gives "object TClass".
void FormTextWriter::WriteObjectLine() {
    uint8_t flags = 0;
    int32_t childPosition = 0;
    if ((Stream.PeekByte() & PrefixMask) == PrefixMask) {
        flags = static_cast<uint8_t>(Stream.ReadByte() & ~PrefixMask);
        if (flags & ffChildPos)
            childPosition = ReadInteger("a child position");
    }
    const std::string_view className = Stream.ReadShortString();
    const std::string_view name = Stream.ReadShortString();
    WriteIndent();
    if (flags & ffInherited)
        Write("inherited ");
    else if (flags & ffInline)
        Write("inline ");
    else
        Write("object ");
    if (!name.empty()) {
        Write(name);
        Write(": ");
    }
    Write(className);
    if (flags & ffChildPos)
        Write(" [" + std::to_string(childPosition) + "]");
    Write("\r\n");
}

void FormTextWriter::WriteProperties() {
    while (!EndOfList())
        WriteProperty();
    ReadEndOfList();
}

void FormTextWriter::WriteProperty() {
    WriteIndent();
    Write(Stream.ReadShortString());
    Write(" = ");
    WriteValue();
    Write("\r\n");
}

void FormTextWriter::WriteValue() {
    const size_t at = Stream.Offset();
    const uint8_t type = Stream.ReadByte();
    switch (type) {
    case vaList:
        return WriteList();
    case vaInt8:
        return Write(std::to_string(Stream.ReadInt8()));
    case vaInt16:
        return Write(std::to_string(Stream.ReadInt16()));
    case vaInt32:
        return Write(std::to_string(Stream.ReadInt32()));
    case vaInt64:
        return Write(std::to_string(Stream.ReadInt64()));
    case vaExtended:
        return Write(Floats.Extended(Stream.ReadFixed(10)));
    case vaDouble:
        return Write(Floats.Double(Stream.ReadUInt64()));
    case vaSingle:
        return Write(Floats.Single(Stream.ReadUInt32()) + "s");
    // A currency is stored as its value times 10000, and the text holds
    // that count, not the value: 1.5 is written 15000c.
    case vaCurrency:
        return Write(Floats.Integer(Stream.ReadInt64()) + "c");
    case vaDate:
        return Write(Floats.Double(Stream.ReadUInt64()) + "d");
    case vaString:
        return WriteString(Stream.ReadShortString());
    case vaLString:
        return WriteString(Stream.ReadBytes(Stream.ReadUInt32()));
    case vaWString:
        return WriteString(ReadWideString());
    case vaUTF8String:
        return WriteString(ReadUtf8String());
    case vaIdent:
        return Write(Stream.ReadShortString());
    case vaFalse:
        return Write("False");
    case vaTrue:
        return Write("True");
    case vaNil:
        return Write("nil");
    case vaNull: // a Null variant
        return Write("Null");
    case vaBinary:
        return WriteBinary(Stream.ReadBytes(Stream.ReadUInt32()));
    case vaSet:
        return WriteSet();
    case vaCollection:
        return WriteCollection();
    default:
        Stream.Fail("unknown value type " + std::to_string(type), at);
    }
}

void FormTextWriter::WriteList() {
    Write("(");
    Indent();
    while (!EndOfList()) {
        NewLine();
        WriteValue();
    }
    ReadEndOfList();
    Outdent();
    Write(")");
}

void FormTextWriter::WriteCollection() {
    Write("<");
    Indent();
    while (!EndOfList())
        WriteCollectionItem();
    ReadEndOfList();
    Outdent();
    Write(">");
}

// "item", or "item [n]" when the item carries an index, its properties one
// level deeper, and "end" with no line end: the caller decides what follows.
void FormTextWriter::WriteCollectionItem() {
    NewLine();
    Write("item");
    const uint8_t next = Stream.PeekByte();
    if (next == vaInt8 || next == vaInt16 || next == vaInt32)
        Write(" [" + std::to_string(ReadInteger("an item index")) + "]");
    Write("\r\n");
    const size_t at = Stream.Offset();
    if (Stream.ReadByte() != vaList)
        Stream.Fail("a collection item without a property list", at);
    Indent();
    WriteProperties();
    Outdent();
    WriteIndent();
    Write("end");
}

void FormTextWriter::WriteSet() {
    Write("[");
    for (bool first = true;; first = false) {
        const std::string_view element = Stream.ReadShortString();
        if (element.empty())
            break;
        if (!first)
            Write(", ");
        Write(element);
    }
    Write("]");
}

// Up to 32 bytes on the property's line; more as lines of 32 bytes one level
// deeper, the closing brace right after the last one.
void FormTextWriter::WriteBinary(std::string_view data) {
    static constexpr char Hex[] = "0123456789ABCDEF";
    const bool multiLine = data.size() > BytesPerLine;
    Write("{");
    ++Level;
    for (size_t begin = 0; begin < data.size(); begin += BytesPerLine) {
        if (multiLine)
            NewLine();
        const size_t end = std::min(data.size(), begin + BytesPerLine);
        for (size_t i = begin; i < end; ++i) {
            Buffer += Hex[CodeOf(data[i]) >> 4];
            Buffer += Hex[CodeOf(data[i]) & 0xF];
        }
        FlushIfFull();
    }
    --Level;
    Write("}");
}

// A string of up to 64 characters stays on the property's line. A longer
// one starts on the next line, one level deeper, and is cut into lines of
// 64 characters of its value, each but the last followed by " +".
template <typename Text> void FormTextWriter::WriteString(const Text& text) {
    if (text.empty())
        return Write("''");
    ++Level;
    if (text.size() > CharactersPerLine)
        NewLine();
    for (size_t begin = 0; begin < text.size(); begin += CharactersPerLine) {
        if (begin > 0) {
            Write(" +");
            NewLine();
        }
        WriteChunk(text, begin, std::min(text.size(), begin + CharactersPerLine));
    }
    --Level;
}

// Runs of printable ASCII other than the apostrophe go inside quotes; every
// other character is written as #n with its code: 'It'#39's'#13#10'caf'#233.
template <typename Text>
void FormTextWriter::WriteChunk(const Text& text, size_t begin, size_t end) {
    bool quoted = false;
    for (size_t i = begin; i < end; ++i) {
        const unsigned code = CodeOf(text[i]);
        const bool plain = code >= 32 && code <= 126 && code != '\'';
        if (plain != quoted) {
            Buffer += '\'';
            quoted = plain;
        }
        if (plain)
            Buffer += static_cast<char>(code);
        else
            Write("#" + std::to_string(code));
    }
    if (quoted)
        Buffer += '\'';
}

// Wide and UTF-8 strings are written by UTF-16 code unit, as the run-time
// library holds them: a character beyond U+FFFF gives two #n.
std::u16string FormTextWriter::ReadWideString() {
    const std::string_view bytes = Stream.ReadBytes(uint64_t{Stream.ReadUInt32()} * 2);
    std::u16string units(bytes.size() / 2, u'\0');
    for (size_t i = 0; i < units.size(); ++i)
        units[i] = static_cast<char16_t>(CodeOf(bytes[2 * i]) | CodeOf(bytes[2 * i + 1]) << 8);
    return units;
}

std::u16string FormTextWriter::ReadUtf8String() {
    const size_t at = Stream.Offset();
    const std::string_view bytes = Stream.ReadBytes(Stream.ReadUInt32());
    std::u16string units;
    units.reserve(bytes.size());
    for (size_t i = 0; i < bytes.size();) {
        if (!AppendUtf8Character(bytes, i, units))
            Stream.Fail("a UTF-8 string that is not valid UTF-8", at);
    }
    return units;
}

int32_t FormTextWriter::ReadInteger(const char* what) {
    const size_t at = Stream.Offset();
    switch (Stream.ReadByte()) {
    case vaInt8:
        return Stream.ReadInt8();
    case vaInt16:
        return Stream.ReadInt16();
    case vaInt32:
        return Stream.ReadInt32();
    default:
        Stream.Fail(std::string(what) + " that is not an integer", at);
    }
}

bool FormTextWriter::EndOfList() const {
    return Stream.PeekByte() == vaNull;
}

void FormTextWriter::ReadEndOfList() {
    Stream.ReadByte();
}

void FormTextWriter::Indent() {
    if (++Level > MaxNesting)
        Stream.Fail("nesting deeper than " + std::to_string(MaxNesting) + " levels",
                    Stream.Offset());
}

void FormTextWriter::NewLine() {
    Write("\r\n");
    WriteIndent();
}

void FormTextWriter::WriteIndent() {
    Buffer.append(2 * static_cast<size_t>(Level), ' ');
}

void FormTextWriter::Write(std::string_view text) {
    Buffer += text;
    FlushIfFull();
}

void FormTextWriter::FlushIfFull() {
    if (Buffer.size() >= FlushSize)
        Flush();
}

void FormTextWriter::Flush() {
    Out.write(Buffer.data(), static_cast<std::streamsize>(Buffer.size()));
    Buffer.clear();
}

} // namespace pembrill
