#include "tools/FormStream.h"

#include "tools/FormFormatError.h"

namespace pembrill {

namespace {

constexpr uint8_t ResourceMarker = 0xFF;
constexpr uint16_t RcDataResource = 10;
constexpr std::string_view Signature = "TPF0";

} // namespace

void FormStream::ReadSignature() {
    if (Remaining() > 0 && PeekByte() == ResourceMarker)
        SkipResourceHeader();
    const size_t at = FOffset;
    if (Bytes.substr(at, Signature.size()) != Signature)
        Fail("no form signature (TPF0)", at);
    FOffset += Signature.size();
}

// A 16-bit resource header: the marker byte, the resource type, the name (a
// zero-terminated string, or the marker and a 16-bit ordinal), 16 bits of
// memory flags and the 32-bit size of the data. The size is not checked:
// the stream that follows says itself where it ends.
void FormStream::SkipResourceHeader() {
    ReadByte();
    const size_t typeAt = FOffset;
    const uint16_t type = ReadUInt16();
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

uint8_t FormStream::PeekByte() const {
    if (Remaining() == 0)
        Fail("the file ends unexpectedly", FOffset);
    return static_cast<uint8_t>(Bytes[FOffset]);
}

uint8_t FormStream::ReadByte() {
    const uint8_t byte = PeekByte();
    ++FOffset;
    return byte;
}

uint16_t FormStream::ReadUInt16() {
    const std::string_view b = ReadFixed(2);
    return static_cast<uint16_t>(static_cast<uint8_t>(b[0]) | static_cast<uint8_t>(b[1]) << 8);
}

uint32_t FormStream::ReadUInt32() {
    const std::string_view b = ReadFixed(4);
    uint32_t value = 0;
    for (int i = 3; i >= 0; --i)
        value = value << 8 | static_cast<uint8_t>(b[i]);
    return value;
}

uint64_t FormStream::ReadUInt64() {
    const std::string_view b = ReadFixed(8);
    uint64_t value = 0;
    for (int i = 7; i >= 0; --i)
        value = value << 8 | static_cast<uint8_t>(b[i]);
    return value;
}

std::string_view FormStream::ReadBytes(uint64_t count) {
    if (count > Remaining())
        Fail("a length of " + std::to_string(count) + " bytes runs past the end of the file",
             FOffset);
    return ReadFixed(count);
}

std::string_view FormStream::ReadFixed(size_t count) {
    if (count > Remaining())
        Fail("the file ends unexpectedly", Bytes.size());
    const std::string_view result = Bytes.substr(FOffset, count);
    FOffset += count;
    return result;
}

std::string_view FormStream::ReadShortString() {
    return ReadBytes(ReadByte());
}

void FormStream::Fail(const std::string& what, size_t offset) const {
    throw FormFormatError(what + " at offset " + std::to_string(offset));
}

} // namespace pembrill
