#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace pembrill {

// A cursor over the bytes of a binary form file. Every read checks the bytes
// that are left first, so a length field claiming gigabytes is reported as
// an error instead of being allocated or read past the end. Multi-byte
// numbers are little-endian, as the format stores them on every platform.
class FormStream {
public:
    explicit FormStream(std::string_view bytes) : Bytes(bytes) {}

    size_t Offset() const { return FOffset; }
    size_t Remaining() const { return Bytes.size() - FOffset; }

    // Skips the 16-bit resource header that may precede the stream and
    // checks the "TPF0" signature.
    void ReadSignature();

    uint8_t PeekByte() const;
    uint8_t ReadByte();
    uint16_t ReadUInt16();
    uint32_t ReadUInt32();
    uint64_t ReadUInt64();
    int8_t ReadInt8() { return static_cast<int8_t>(ReadByte()); }
    int16_t ReadInt16() { return static_cast<int16_t>(ReadUInt16()); }
    int32_t ReadInt32() { return static_cast<int32_t>(ReadUInt32()); }
    int64_t ReadInt64() { return static_cast<int64_t>(ReadUInt64()); }

    // A field of a fixed size.
    std::string_view ReadFixed(size_t count);
    // `count` bytes whose number the file itself gave.
    std::string_view ReadBytes(uint64_t count);
    // A length byte and that many bytes: names and short strings.
    std::string_view ReadShortString();

    // Throws FormFormatError with the offset where the fault lies.
    [[noreturn]] void Fail(const std::string& what, size_t offset) const;

private:
    void SkipResourceHeader();

    std::string_view Bytes;
    size_t FOffset = 0;
};

} // namespace pembrill
