#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace pembrill {

// A registry value as Windows keeps it: a type number and the bytes of its
// data. A string's bytes end in a zero byte, as they do in the registry.
struct RegistryValue {
    static constexpr uint32_t StringType = 1;       // REG_SZ
    static constexpr uint32_t ExpandStringType = 2; // REG_EXPAND_SZ
    static constexpr uint32_t BinaryType = 3;       // REG_BINARY
    static constexpr uint32_t DwordType = 4;        // REG_DWORD, little-endian

    uint32_t Type = BinaryType;
    std::string Bytes;

    // The registry stores a string up to its first zero byte, as the Windows
    // API (which takes C strings) would.
    static RegistryValue FromString(const std::string& text);
    static RegistryValue FromDword(uint32_t value);

    // The text up to the first zero byte of a REG_SZ or REG_EXPAND_SZ value;
    // nullopt for any other type.
    std::optional<std::string> AsString() const;
    // nullopt unless a REG_DWORD of exactly 4 bytes.
    std::optional<uint32_t> AsDword() const;
};

} // namespace pembrill
