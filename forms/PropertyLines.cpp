#include "forms/PropertyLines.h"

#include "platform/ByteText.h"

#include <algorithm>
#include <cstdint>

namespace pembrill {

namespace {

constexpr uint32_t LastCodePoint = 0x10FFFF;

bool IsDecimalDigit(char c) {
    return c >= '0' && c <= '9';
}

void AppendCodePoint(uint32_t code, std::string& text) {
    if (code < 0x100) {
        text += static_cast<char>(code);
    } else if (code < 0x800) {
        text += static_cast<char>(0xC0 | (code >> 6));
        text += static_cast<char>(0x80 | (code & 0x3F));
    } else if (code < 0x10000) {
        text += static_cast<char>(0xE0 | (code >> 12));
        text += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        text += static_cast<char>(0x80 | (code & 0x3F));
    } else if (code <= LastCodePoint) {
        text += static_cast<char>(0xF0 | (code >> 18));
        text += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
        text += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        text += static_cast<char>(0x80 | (code & 0x3F));
    }
}

// "#13" or "#$0D" from `at`, which holds the '#'; gives where it ends, `at`
// itself when no code stands there. A code beyond Unicode adds nothing.
size_t ReadCharCode(std::string_view raw, size_t at, std::string& text) {
    size_t end = at + 1;
    const bool hex = end < raw.size() && raw[end] == '$';
    const uint32_t base = hex ? 16 : 10;
    if (hex)
        ++end;
    const size_t digits = end;
    uint32_t code = 0;
    for (; end < raw.size(); ++end) {
        const int digit =
            hex ? HexDigitValue(raw[end]) : (IsDecimalDigit(raw[end]) ? raw[end] - '0' : -1);
        if (digit < 0)
            break;
        code = std::min(code * base + static_cast<uint32_t>(digit), LastCodePoint + 1);
    }
    if (end == digits)
        return at;
    AppendCodePoint(code, text);
    return end;
}

// A quoted run from `at`, which holds the opening quote; '' is one quote.
size_t ReadQuoted(std::string_view raw, size_t at, std::string& text) {
    size_t i = at + 1;
    while (i < raw.size()) {
        if (raw[i] != '\'') {
            text += raw[i++];
        } else if (i + 1 < raw.size() && raw[i + 1] == '\'') {
            text += '\'';
            i += 2;
        } else {
            return i + 1;
        }
    }
    return i;
}

//     'It''s'#13#10'two'   ->   It's CR LF two
// Ends at the first byte that continues no string.
std::string DecodeStringLiteral(std::string_view raw) {
    std::string text;
    size_t at = 0;
    while (at < raw.size()) {
        size_t next = at;
        if (raw[at] == '\'')
            next = ReadQuoted(raw, at, text);
        else if (raw[at] == '#')
            next = ReadCharCode(raw, at, text);
        if (next == at)
            break;
        at = next;
    }
    return text;
}

bool IsCharCode(std::string_view text) {
    std::string ignored;
    return ReadCharCode(text, 0, ignored) == text.size();
}

// Where the rest of the line begins in an entry whose first token was a
// string: after a blank, a run of #codes up to a quote or the end.
//     It 's'       -> 3          a #13#10   -> 2          One   -> npos
size_t RestOfStringEntry(std::string_view entry) {
    const size_t quote = entry.find('\'');
    const size_t end = quote == std::string_view::npos ? entry.size() : quote;
    size_t begin = end;
    while (begin > 0) {
        const size_t hash = entry.rfind('#', begin - 1);
        if (hash == std::string_view::npos || !IsCharCode(entry.substr(hash, begin - hash)))
            break;
        begin = hash;
    }
    if (begin == 0 || begin == entry.size() || entry[begin - 1] != ' ')
        return std::string_view::npos;
    return begin;
}

// One line of a string that the reader cut: the first token lost its quotes
// and a blank was put after it, or it was a lone '#' when the string began
// with a code.
//     It 's'#13   ->   It's CR          # 13'x'   ->   CR x
std::string DecodeStringEntry(std::string_view entry) {
    if (entry.starts_with("# "))
        return DecodeStringLiteral("#" + std::string(entry.substr(2)));
    const size_t rest = RestOfStringEntry(entry);
    if (rest == std::string_view::npos)
        return std::string(entry);
    return DecodeStringLiteral("'" + std::string(entry.substr(0, rest - 1)) + "'" +
                               std::string(entry.substr(rest)));
}

std::string DecodeValue(std::string_view value) {
    if (value.starts_with('\'') || value.starts_with('#'))
        return DecodeStringLiteral(value);
    return std::string(value);
}

bool RemoveSuffix(std::string_view& text, std::string_view suffix) {
    if (!text.ends_with(suffix))
        return false;
    text.remove_suffix(suffix.size());
    return true;
}

// The closing parenthesis of a list stands in the rest of its last line:
//     Three )      It 's')      a #9)      but not      (x)
bool RemoveListEnd(std::string_view& entry) {
    if (!entry.ends_with(')'))
        return false;
    std::string_view inner = entry.substr(0, entry.size() - 1);
    if (RemoveSuffix(inner, " ") || inner.starts_with("# ") ||
        RestOfStringEntry(inner) != std::string_view::npos) {
        entry = inner;
        return true;
    }
    return false;
}

// "Font .Color = clBlack" -> "Font.Color" and "clBlack"; false for an entry
// without "=", such as a string of a list.
bool SplitEntry(std::string_view entry, std::string& name, std::string_view& value) {
    const size_t equals = entry.find('=');
    if (equals == std::string_view::npos)
        return false;
    name.clear();
    for (char c : entry.substr(0, equals))
        if (!IsBlank(c))
            name += c;
    value = TrimmedBlanks(entry.substr(equals + 1));
    return !name.empty();
}

// "end >" ends a collection (and the item it ends in); "Columns = <>" is a
// value.
bool EndsCollection(std::string_view entry) {
    return entry.ends_with('>') && entry.find('=') == std::string_view::npos;
}

// Appends the hex digits of one data line to `digits`; false at the closing
// brace.
bool AppendHexLine(std::string_view line, std::string& digits) {
    for (char c : line) {
        if (c == '}')
            return false;
        if (!IsBlank(c) && c != '{')
            digits += c;
    }
    return true;
}

std::string DecodeHex(std::string_view digits) {
    if (digits.size() % 2 != 0)
        return {};
    std::string bytes;
    bytes.reserve(digits.size() / 2);
    for (size_t i = 0; i < digits.size(); i += 2) {
        const int high = HexDigitValue(digits[i]);
        const int low = HexDigitValue(digits[i + 1]);
        if (high < 0 || low < 0)
            return {};
        bytes += static_cast<char>(high * 16 + low);
    }
    return bytes;
}

class EntryReader {
public:
    explicit EntryReader(const std::vector<std::string>& entries) : Entries(entries) {}

    void ReadObject(PropertyLines& lines) {
        while (At < Entries.size())
            ReadProperty(lines, true);
    }

private:
    void ReadProperty(PropertyLines& lines, bool objectLevel) {
        std::string name;
        std::string_view value;
        if (!SplitEntry(Entries[At++], name, value))
            return;
        if (value == "(")
            lines.Lists[name] = ReadList();
        else if (value == "<" && objectLevel)
            lines.Collections[name] = ReadCollection();
        else if (value == "<")
            SkipCollection();
        else if (value.starts_with('{'))
            lines.Data[name] = ReadData(value);
        else if (value.empty())
            lines.Values[name] = ReadString(false);
        else
            lines.Values[name] = DecodeValue(value);
    }

    // One string over as many entries as its " +" joins. In a list, a
    // closing parenthesis ends the last string and the list.
    std::string ReadString(bool inList) {
        std::string text;
        while (At < Entries.size()) {
            std::string_view chunk = Entries[At++];
            ListClosed = inList && RemoveListEnd(chunk);
            const bool joined = !ListClosed && RemoveSuffix(chunk, " +");
            text += DecodeStringEntry(chunk);
            if (!joined)
                break;
        }
        return text;
    }

    std::vector<std::string> ReadList() {
        std::vector<std::string> items;
        ListClosed = false;
        while (At < Entries.size() && !ListClosed) {
            if (Entries[At] == ")") {
                ++At;
                break;
            }
            items.push_back(ReadString(true));
        }
        return items;
    }

    std::vector<PropertyValues> ReadCollection() {
        std::vector<PropertyValues> items;
        while (At < Entries.size()) {
            const std::string& entry = Entries[At++];
            if (EndsCollection(entry))
                break;
            if (entry == "item")
                items.push_back(ReadItem());
        }
        return items;
    }

    // Up to its "end", or to the "end >" that ends the collection too,
    // which is left for ReadCollection.
    PropertyValues ReadItem() {
        PropertyLines item;
        while (At < Entries.size() && !EndsCollection(Entries[At])) {
            if (Entries[At] == "end") {
                ++At;
                break;
            }
            ReadProperty(item, false);
        }
        return std::move(item.Values);
    }

    // A collection inside an item: nothing of it is kept.
    void SkipCollection() {
        int depth = 1;
        while (At < Entries.size() && depth > 0) {
            const std::string& entry = Entries[At++];
            if (EndsCollection(entry))
                --depth;
            else if (entry.ends_with("= <"))
                ++depth;
        }
    }

    std::string ReadData(std::string_view firstLine) {
        std::string digits;
        bool open = AppendHexLine(firstLine, digits);
        while (open && At < Entries.size())
            open = AppendHexLine(Entries[At++], digits);
        return DecodeHex(digits);
    }

    const std::vector<std::string>& Entries;
    size_t At = 0;
    bool ListClosed = false;
};

} // namespace

PropertyLines ReadPropertyLines(const std::vector<std::string>& entries) {
    PropertyLines lines;
    EntryReader(entries).ReadObject(lines);
    return lines;
}

} // namespace pembrill
