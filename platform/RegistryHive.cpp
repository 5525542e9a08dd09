#include "platform/RegistryHive.h"

#include "platform/ByteText.h"
#include "platform/Registry.h"

#include <algorithm>
#include <cstdio>

namespace pembrill {

namespace {

// A line as the hive file holds it, with the CR LF line end that regedit
// writes.
std::string Line(std::string_view text) {
    std::string line(text);
    return line += "\r\n";
}

bool IsWhiteSpaceOnly(std::string_view lines) {
    return lines.find_first_not_of(" \t\r\n") == std::string_view::npos;
}

// LF ends a line, and a CR right before it belongs to the line end, so that
// files written on Windows and on Linux read alike.
std::vector<std::string_view> SplitLines(std::string_view text) {
    std::vector<std::string_view> lines;
    size_t start = 0;
    while (start < text.size()) {
        const size_t end = std::min(text.find('\n', start), text.size());
        std::string_view line = text.substr(start, end - start);
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        lines.push_back(line);
        start = end + 1;
    }
    return lines;
}

// The quoted text that starts at text[pos]; pos then stands after its closing
// quote. Only \\ and \" are escapes: any other backslash stands for itself,
// as in the paths the registry mostly holds.
std::optional<std::string> ReadQuoted(std::string_view text, size_t& pos) {
    std::string out;
    for (size_t i = pos + 1; i < text.size(); ++i) {
        if (text[i] == '"') {
            pos = i + 1;
            return out;
        }
        if (text[i] == '\\' && i + 1 < text.size() && (text[i + 1] == '\\' || text[i + 1] == '"'))
            ++i;
        out += text[i];
    }
    return std::nullopt;
}

std::string Quoted(std::string_view text) {
    std::string out = "\"";
    for (const char c : text) {
        if (c == '\\' || c == '"')
            out += '\\';
        out += c;
    }
    return out + '"';
}

// One to eight hexadecimal digits and nothing else.
std::optional<uint32_t> ParseHexNumber(std::string_view digits) {
    if (digits.empty() || digits.size() > 8)
        return std::nullopt;
    uint32_t value = 0;
    for (const char c : digits) {
        const int digit = HexDigitValue(c);
        if (digit < 0)
            return std::nullopt;
        value = (value << 4) | static_cast<uint32_t>(digit);
    }
    return value;
}

// "4c,00,0a" (a trailing comma allowed, as a continued line leaves one).
std::optional<std::string> ParseHexBytes(std::string_view list) {
    std::string bytes;
    if (TrimmedBlanks(list).empty())
        return bytes;
    for (size_t start = 0;;) {
        const size_t end = list.find(',', start);
        const std::string_view item = TrimmedBlanks(list.substr(start, end - start));
        if (item.empty() && end == std::string_view::npos && start > 0)
            return bytes;
        const auto value = item.size() <= 2 ? ParseHexNumber(item) : std::nullopt;
        if (!value)
            return std::nullopt;
        bytes += static_cast<char>(*value);
        if (end == std::string_view::npos)
            return bytes;
        start = end + 1;
    }
}

// hex:.. is REG_BINARY; hex(N):.. any type N.
std::optional<RegistryValue> ParseHexData(std::string_view data) {
    uint32_t type = RegistryValue::BinaryType;
    size_t colon = 3;
    if (StartsWithIgnoringAsciiCase(data, "hex(")) {
        const size_t close = data.find(')');
        const auto number = close == std::string_view::npos
                                ? std::nullopt
                                : ParseHexNumber(data.substr(4, close - 4));
        if (!number)
            return std::nullopt;
        type = *number;
        colon = close + 1;
    }
    if (colon >= data.size() || data[colon] != ':')
        return std::nullopt;
    const auto bytes = ParseHexBytes(data.substr(colon + 1));
    if (!bytes)
        return std::nullopt;
    return RegistryValue{type, *bytes};
}

std::optional<RegistryValue> ParseData(std::string_view data) {
    if (data.starts_with('"')) {
        size_t end = 0;
        const auto text = ReadQuoted(data, end);
        if (!text || end != data.size())
            return std::nullopt;
        return RegistryValue::FromString(*text);
    }
    if (StartsWithIgnoringAsciiCase(data, "dword:")) {
        const auto number = ParseHexNumber(data.substr(6));
        return number ? std::optional(RegistryValue::FromDword(*number)) : std::nullopt;
    }
    if (StartsWithIgnoringAsciiCase(data, "hex"))
        return ParseHexData(data);
    return std::nullopt;
}

struct ValueLine {
    std::string Name;
    std::string_view Data;
};

// "Name"=data or @=data (the key's default value, whose name is empty).
std::optional<ValueLine> SplitValueLine(std::string_view line) {
    ValueLine value;
    size_t pos = 1;
    if (line.starts_with('"')) {
        pos = 0;
        auto name = ReadQuoted(line, pos);
        if (!name)
            return std::nullopt;
        value.Name = std::move(*name);
    } else if (!line.starts_with('@')) {
        return std::nullopt;
    }
    while (pos < line.size() && IsBlank(line[pos]))
        ++pos;
    if (pos == line.size() || line[pos] != '=')
        return std::nullopt;
    value.Data = TrimmedBlanks(line.substr(pos + 1));
    return value;
}

// regedit breaks long hex data after a comma with a backslash and goes on
// with an indented line of hex bytes. Only such a line is taken as the rest,
// so that a stray backslash never swallows a key header.
bool IsHexContinuation(std::string_view line) {
    const std::string_view trimmed = TrimmedBlanks(line);
    return !trimmed.empty() &&
           trimmed.find_first_not_of("0123456789abcdefABCDEF,\\ \t") == std::string_view::npos;
}

std::string FormatData(const RegistryValue& value) {
    const auto text = value.AsString();
    if (value.Type == RegistryValue::StringType && text && value.Bytes == *text + '\0' &&
        text->find_first_of("\r\n") == std::string::npos)
        return Quoted(*text);
    char number[16];
    if (const auto dword = value.AsDword()) {
        std::snprintf(number, sizeof number, "%08x", *dword);
        return std::string("dword:") + number;
    }
    // A string with a line break could not stand on one line between quotes;
    // as hex(1) bytes it still imports as the same REG_SZ.
    std::string out = "hex:";
    if (value.Type != RegistryValue::BinaryType) {
        std::snprintf(number, sizeof number, "%x", value.Type);
        out = std::string("hex(") + number + "):";
    }
    for (size_t i = 0; i < value.Bytes.size(); ++i) {
        std::snprintf(number, sizeof number, i == 0 ? "%02x" : ",%02x",
                      static_cast<unsigned char>(value.Bytes[i]));
        out += number;
    }
    return out;
}

bool IsSubkeyOf(std::string_view name, std::string_view key) {
    return name.size() > key.size() && name[key.size()] == '\\' &&
           StartsWithIgnoringAsciiCase(name, key);
}

} // namespace

RegistryHive::RegistryHive(std::string_view text) {
    const std::vector<std::string_view> lines = SplitLines(text);
    Entries.reserve(lines.size());
    for (size_t next = 0; next < lines.size();)
        Entries.push_back(ReadEntry(lines, next));
}

RegistryHive::Entry RegistryHive::ReadEntry(const std::vector<std::string_view>& lines,
                                            size_t& next) {
    Entry entry;
    const std::string_view line = TrimmedBlanks(lines[next]);
    entry.Text = Line(lines[next++]);
    if (line.size() >= 2 && line.front() == '[' && line.back() == ']') {
        entry.What = Entry::Kind::Key;
        entry.Name = line.substr(1, line.size() - 2);
        return entry;
    }
    auto valueLine = SplitValueLine(line);
    if (!valueLine)
        return entry;
    std::string data(valueLine->Data);
    if (StartsWithIgnoringAsciiCase(data, "hex")) {
        while (data.ends_with('\\') && next < lines.size() && IsHexContinuation(lines[next])) {
            data.pop_back();
            data += TrimmedBlanks(lines[next]);
            entry.Text += Line(lines[next++]);
        }
    }
    auto value = ParseData(data);
    if (!value)
        return entry;
    entry.What = Entry::Kind::Value;
    entry.Name = std::move(valueLine->Name);
    entry.Value = std::move(*value);
    return entry;
}

RegistryHive::Entry RegistryHive::ValueEntry(std::string_view name, const RegistryValue& value) {
    const std::string nameText = name.empty() ? std::string("@") : Quoted(name);
    return Entry{Entry::Kind::Value, std::string(name), value,
                 Line(nameText + "=" + FormatData(value))};
}

bool RegistryHive::HasKey(std::string_view key) const {
    if (key.find('\\') == std::string_view::npos)
        return true;
    for (const Entry& entry : Entries) {
        if (entry.What == Entry::Kind::Key &&
            (EqualIgnoringAsciiCase(entry.Name, key) || IsSubkeyOf(entry.Name, key)))
            return true;
    }
    return false;
}

std::optional<RegistryValue> RegistryHive::FindValue(std::string_view key,
                                                     std::string_view name) const {
    const Entry* found = nullptr;
    bool inKey = false;
    for (const Entry& entry : Entries) {
        if (entry.What == Entry::Kind::Key)
            inKey = EqualIgnoringAsciiCase(entry.Name, key);
        else if (inKey && entry.What == Entry::Kind::Value &&
                 EqualIgnoringAsciiCase(entry.Name, name))
            found = &entry;
    }
    return found ? std::optional(found->Value) : std::nullopt;
}

void RegistryHive::SetValue(std::string_view key, std::string_view name,
                            const RegistryValue& value) {
    if (name.find_first_of("\r\n") != std::string_view::npos)
        throw RegistryError("A registry value name cannot hold a line break");
    std::optional<size_t> existing;
    std::optional<size_t> lastOfKey;
    bool inKey = false;
    for (size_t i = 0; i < Entries.size(); ++i) {
        const Entry& entry = Entries[i];
        if (entry.What == Entry::Kind::Key)
            inKey = EqualIgnoringAsciiCase(entry.Name, key);
        if (!inKey || entry.What == Entry::Kind::Other)
            continue;
        lastOfKey = i;
        if (entry.What == Entry::Kind::Value && EqualIgnoringAsciiCase(entry.Name, name))
            existing = i;
    }
    if (existing) {
        Entries[*existing] = ValueEntry(Entries[*existing].Name, value);
        return;
    }
    if (lastOfKey) {
        Entries.insert(Entries.begin() + static_cast<std::ptrdiff_t>(*lastOfKey + 1),
                       ValueEntry(name, value));
        return;
    }
    AddKeyHeader(key);
    Entries.push_back(ValueEntry(name, value));
}

void RegistryHive::AddKey(std::string_view key) {
    if (!HasKey(key))
        AddKeyHeader(key);
}

void RegistryHive::AddKeyHeader(std::string_view key) {
    if (Entries.empty())
        Entries.push_back(Entry{Entry::Kind::Other, {}, {}, Line("REGEDIT4")});
    if (!IsWhiteSpaceOnly(Entries.back().Text))
        Entries.push_back(Entry{Entry::Kind::Other, {}, {}, Line("")});
    Entries.push_back(
        Entry{Entry::Kind::Key, std::string(key), {}, Line("[" + std::string(key) + "]")});
}

std::string RegistryHive::Text() const {
    std::string text;
    for (const Entry& entry : Entries)
        text += entry.Text;
    return text;
}

} // namespace pembrill
