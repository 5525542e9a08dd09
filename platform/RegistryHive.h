#pragma once

#include "platform/RegistryValue.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace pembrill {

// One registry root held as the text of a file that Windows' regedit can
// import:
//
//   REGEDIT4
//
//   [HKEY_CURRENT_USER\Software\Haldover\Pembrill]
//   "LeftMargin"="0.1"
//   "WordWrap"=dword:00000001
//
// Every line is kept as it was read, the ones that are not understood too,
// so that writing a value changes that value's line and nothing else. Key
// names are full ("HKEY_CURRENT_USER\Software\...") and, like value names,
// compare without regard to case. Any bytes can be read.
class RegistryHive {
public:
    explicit RegistryHive(std::string_view text);

    // A key exists when a header names it or one of its subkeys; a root
    // always exists.
    bool HasKey(std::string_view key) const;

    // The value an import of the file would leave: the last line naming it.
    std::optional<RegistryValue> FindValue(std::string_view key, std::string_view name) const;

    // Replaces the value's line, or adds one to the key (and a header for the
    // key when it has none of its own). Throws RegistryError for a value name
    // that a line cannot hold.
    void SetValue(std::string_view key, std::string_view name, const RegistryValue& value);

    // Adds a header for the key unless it exists already.
    void AddKey(std::string_view key);

    // The file's text, with the CR LF line ends that regedit writes.
    std::string Text() const;

private:
    struct Entry {
        enum class Kind { Other, Key, Value };
        Kind What = Kind::Other;
        std::string Name; // of the key or of the value
        RegistryValue Value;
        std::string Text; // its lines as they stand, each ended with CR LF
    };

    static Entry ReadEntry(const std::vector<std::string_view>& lines, size_t& next);
    static Entry ValueEntry(std::string_view name, const RegistryValue& value);
    void AddKeyHeader(std::string_view key);

    std::vector<Entry> Entries;
};

} // namespace pembrill
