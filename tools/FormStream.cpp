#include "tools/FormStream.h"

#include "tools/FormFormatError.h"

namespace pembrill {

namespace {

constexpr std::uint8_t ResourceMarker = 0xFF;
constexpr std::uint16_t RcDataResource = 10;
constexpr std::string_view Signature = "TPF0";

} // namespace

void FormStream::ReadSignature() {
    if (Remaining() > 0 && PeekByte() == ResourceMarker)
        SkipResourceHeader();
    const std::size_t at = offset_;
    if (bytes_.substr(at, Signature.size()) != Signature)
        Fail("no form signature (TPF0)", at);
    offset_ += Signature.size();
}

// A 16-bit resource header: the marker byte, the resource type, the name (a
// zero-terminated string, or the marker and a 16-bit ordinal), 16 bits of
// memory flags and the 32-bit size of the data. The size is not checked:
// the stream that follows says itself where it ends.
void FormStream::SkipResourceHeader() {
    ReadByte();
    const std::size_t typeAt = offset_;
    const std::uint16_t type = ReadUInt16();
    if (type != RcDataResource)
        Fail("resource type " + std::to_string(type) + " is not form data", typeAt);
    if (PeekByte() == ResourceMarker) {
        ReadByte();
        ReadUInt16();
    } else {
        while (ReadByte() != 0) {
        }
    }
    ReadUInt16();
    ReadUInt32();
}

std::uint8_t FormStream::PeekByte() const {
    if (Remaining() == 0)
        Fail("the file ends unexpectedly", offset_);
    return static_cast<std::uint8_t>(bytes_[offset_]);
}

std::uint8_t FormStream::ReadByte() {
    const std::uint8_t byte = PeekByte();
    ++offset_;
    return byte;
}

std::uint16_t FormStream::ReadUInt16() {
    const std::string_view b = ReadFixed(2);
    return static_cast<std::uint16_t>(static_cast<std::uint8_t>(b[0]) |
                                      static_cast<std::uint8_t>(b[1]) << 8);
}

std::uint32_t FormStream::ReadUInt32() {
    const std::string_view b = ReadFixed(4);
    std::uint32_t value = 0;
    for (int i = 3; i >= 0; --i)
        value = value << 8 | static_cast<std::uint8_t>(b[i]);
    return value;
}

std::uint64_t FormStream::ReadUInt64() {
    const std::string_view b = ReadFixed(8);
    std::uint64_t value = 0;
    for (int i = 7; i >= 0; --i)
        value = value << 8 | static_cast<std::uint8_t>(b[i]);
    return value;
}

std::string_view FormStream::ReadBytes(std::uint64_t count) {
    if (count > Remaining())
        Fail("a length of " + std::to_string(count) + " bytes runs past the end of the file",
             offset_);
    return ReadFixed(count);
}

std::string_view FormStream::ReadFixed(std::size_t count) {
    if (count > Remaining())
        Fail("the file ends unexpectedly", bytes_.size());
    const std::string_view result = bytes_.substr(offset_, count);
    offset_ += count;
    return result;
}

std::string_view FormStream::ReadShortString() {
    return ReadBytes(ReadByte());
}

void FormStream::Fail(const std::string& what, std::size_t offset) const {
    throw FormFormatError(what + " at offset " + std::to_string(offset));
}

} // namespace pembrill
