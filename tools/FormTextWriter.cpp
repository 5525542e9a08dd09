#include "tools/FormTextWriter.h"

namespace pembrill {

namespace {

// The value types of the binary form format.
enum ValueType : std::uint8_t {
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
constexpr std::uint8_t PrefixMask = 0xF0;
constexpr std::uint8_t ffInherited = 1;
constexpr std::uint8_t ffChildPos = 2;
constexpr std::uint8_t ffInline = 4;

constexpr std::size_t CharactersPerLine = 64;
constexpr std::size_t BytesPerLine = 32;
constexpr std::size_t FlushSize = 1 << 16;

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
bool AppendUtf8Character(std::string_view text, std::size_t& i, std::u16string& units) {
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
    if (text.size() - i < static_cast<std::size_t>(length))
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
    stream_.ReadSignature();
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
    std::uint8_t flags = 0;
    std::int32_t childPosition = 0;
    if ((stream_.PeekByte() & PrefixMask) == PrefixMask) {
        flags = static_cast<std::uint8_t>(stream_.ReadByte() & ~PrefixMask);
        if (flags & ffChildPos)
            childPosition = ReadInteger("a child position");
    }
    const std::string_view className = stream_.ReadShortString();
    const std::string_view name = stream_.ReadShortString();
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
    Write(stream_.ReadShortString());
    Write(" = ");
    WriteValue();
    Write("\r\n");
}

void FormTextWriter::WriteValue() {
    const std::size_t at = stream_.Offset();
    const std::uint8_t type = stream_.ReadByte();
    switch (type) {
    case vaList:
        return WriteList();
    case vaInt8:
        return Write(std::to_string(stream_.ReadInt8()));
    case vaInt16:
        return Write(std::to_string(stream_.ReadInt16()));
    case vaInt32:
        return Write(std::to_string(stream_.ReadInt32()));
    case vaInt64:
        return Write(std::to_string(stream_.ReadInt64()));
    case vaExtended:
        return Write(floats_.Extended(stream_.ReadFixed(10)));
    case vaDouble:
        return Write(floats_.Double(stream_.ReadUInt64()));
    case vaSingle:
        return Write(floats_.Single(stream_.ReadUInt32()) + "s");
    // A currency is stored as its value times 10000, and the text holds
    // that count, not the value: 1.5 is written 15000c.
    case vaCurrency:
        return Write(floats_.Integer(stream_.ReadInt64()) + "c");
    case vaDate:
        return Write(floats_.Double(stream_.ReadUInt64()) + "d");
    case vaString:
        return WriteString(stream_.ReadShortString());
    case vaLString:
        return WriteString(stream_.ReadBytes(stream_.ReadUInt32()));
    case vaWString:
        return WriteString(ReadWideString());
    case vaUTF8String:
        return WriteString(ReadUtf8String());
    case vaIdent:
        return Write(stream_.ReadShortString());
    case vaFalse:
        return Write("False");
    case vaTrue:
        return Write("True");
    case vaNil:
        return Write("nil");
    case vaNull: // a Null variant
        return Write("Null");
    case vaBinary:
        return WriteBinary(stream_.ReadBytes(stream_.ReadUInt32()));
    case vaSet:
        return WriteSet();
    case vaCollection:
        return WriteCollection();
    default:
        stream_.Fail("unknown value type " + std::to_string(type), at);
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
    const std::uint8_t next = stream_.PeekByte();
    if (next == vaInt8 || next == vaInt16 || next == vaInt32)
        Write(" [" + std::to_string(ReadInteger("an item index")) + "]");
    Write("\r\n");
    const std::size_t at = stream_.Offset();
    if (stream_.ReadByte() != vaList)
        stream_.Fail("a collection item without a property list", at);
    Indent();
    WriteProperties();
    Outdent();
    WriteIndent();
    Write("end");
}

void FormTextWriter::WriteSet() {
    Write("[");
    for (bool first = true;; first = false) {
        const std::string_view element = stream_.ReadShortString();
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
    ++level_;
    for (std::size_t begin = 0; begin < data.size(); begin += BytesPerLine) {
        if (multiLine)
            NewLine();
        const std::size_t end = std::min(data.size(), begin + BytesPerLine);
        for (std::size_t i = begin; i < end; ++i) {
            buffer_ += Hex[CodeOf(data[i]) >> 4];
            buffer_ += Hex[CodeOf(data[i]) & 0xF];
        }
        FlushIfFull();
    }
    --level_;
    Write("}");
}

// A string of up to 64 characters stays on the property's line. A longer
// one starts on the next line, one level deeper, and is cut into lines of
// 64 characters of its value, each but the last followed by " +".
template <typename Text> void FormTextWriter::WriteString(const Text& text) {
    if (text.empty())
        return Write("''");
    ++level_;
    if (text.size() > CharactersPerLine)
        NewLine();
    for (std::size_t begin = 0; begin < text.size(); begin += CharactersPerLine) {
        if (begin > 0) {
            Write(" +");
            NewLine();
        }
        WriteChunk(text, begin, std::min(text.size(), begin + CharactersPerLine));
    }
    --level_;
}

// Runs of printable ASCII other than the apostrophe go inside quotes; every
// other character is written as #n with its code: 'It'#39's'#13#10'caf'#233.
template <typename Text>
void FormTextWriter::WriteChunk(const Text& text, std::size_t begin, std::size_t end) {
    bool quoted = false;
    for (std::size_t i = begin; i < end; ++i) {
        const unsigned code = CodeOf(text[i]);
        const bool plain = code >= 32 && code <= 126 && code != '\'';
        if (plain != quoted) {
            buffer_ += '\'';
            quoted = plain;
        }
        if (plain)
            buffer_ += static_cast<char>(code);
        else
            Write("#" + std::to_string(code));
    }
    if (quoted)
        buffer_ += '\'';
}

// Wide and UTF-8 strings are written by UTF-16 code unit, as the run-time
// library holds them: a character beyond U+FFFF gives two #n.
std::u16string FormTextWriter::ReadWideString() {
    const std::string_view bytes = stream_.ReadBytes(std::uint64_t{stream_.ReadUInt32()} * 2);
    std::u16string units(bytes.size() / 2, u'\0');
    for (std::size_t i = 0; i < units.size(); ++i)
        units[i] = static_cast<char16_t>(CodeOf(bytes[2 * i]) | CodeOf(bytes[2 * i + 1]) << 8);
    return units;
}

std::u16string FormTextWriter::ReadUtf8String() {
    const std::size_t at = stream_.Offset();
    const std::string_view bytes = stream_.ReadBytes(stream_.ReadUInt32());
    std::u16string units;
    units.reserve(bytes.size());
    for (std::size_t i = 0; i < bytes.size();) {
        if (!AppendUtf8Character(bytes, i, units))
            stream_.Fail("a UTF-8 string that is not valid UTF-8", at);
    }
    return units;
}

std::int32_t FormTextWriter::ReadInteger(const char* what) {
    const std::size_t at = stream_.Offset();
    switch (stream_.ReadByte()) {
    case vaInt8:
        return stream_.ReadInt8();
    case vaInt16:
        return stream_.ReadInt16();
    case vaInt32:
        return stream_.ReadInt32();
    default:
        stream_.Fail(std::string(what) + " that is not an integer", at);
    }
}

bool FormTextWriter::EndOfList() const {
    return stream_.PeekByte() == vaNull;
}

void FormTextWriter::ReadEndOfList() {
    stream_.ReadByte();
}

void FormTextWriter::Indent() {
    if (++level_ > MaxNesting)
        stream_.Fail("nesting deeper than " + std::to_string(MaxNesting) + " levels",
                     stream_.Offset());
}

void FormTextWriter::NewLine() {
    Write("\r\n");
    WriteIndent();
}

void FormTextWriter::WriteIndent() {
    buffer_.append(2 * static_cast<std::size_t>(level_), ' ');
}

void FormTextWriter::Write(std::string_view text) {
    buffer_ += text;
    FlushIfFull();
}

void FormTextWriter::FlushIfFull() {
    if (buffer_.size() >= FlushSize)
        Flush();
}

void FormTextWriter::Flush() {
    out_.write(buffer_.data(), static_cast<std::streamsize>(buffer_.size()));
    buffer_.clear();
}

} // namespace pembrill
