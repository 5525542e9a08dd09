#include "platform/RegistryValue.h"

namespace pembrill {

RegistryValue RegistryValue::FromString(const std::string& text) {
    return {StringType, text.substr(0, text.find('\0')) + '\0'};
}

RegistryValue RegistryValue::FromDword(uint32_t value) {
    std::string bytes;
    for (int shift = 0; shift < 32; shift += 8)
        bytes += static_cast<char>((value >> shift) & 0xFF);
    return {DwordType, bytes};
}

std::optional<std::string> RegistryValue::AsString() const {
    if (Type != StringType && Type != ExpandStringType)
        return std::nullopt;
    return Bytes.substr(0, Bytes.find('\0'));
}

std::optional<uint32_t> RegistryValue::AsDword() const {
    if (Type != DwordType || Bytes.size() != 4)
        return std::nullopt;
    uint32_t value = 0;
    for (int i = 3; i >= 0; --i)
        value = (value << 8) | static_cast<unsigned char>(Bytes[i]);
    return value;
}

} // namespace pembrill
