#pragma once

#include <cmath>
#include <cstdint>
#include <cstring>
#include <initializer_list>
#include <string>
#include <string_view>

namespace pembrill {

// Builds a binary form stream byte by byte, value type by value type, so
// that tests and benchmarks need no form file from elsewhere:
//
//     FormBytes().Signature().Object("TForm1", "Form1")
//         .Property("Left").Int8(46).End()   // end of properties
//         .End()                             // end of children
class FormBytes {
public:
    const std::string& Bytes() const { return bytes_; }

    FormBytes& Raw(std::string_view raw) {
        bytes_ += raw;
        return *this;
    }
    FormBytes& Byte(std::uint8_t byte) {
        bytes_ += static_cast<char>(byte);
        return *this;
    }
    FormBytes& Little(std::uint64_t value, int size) {
        for (int i = 0; i < size; ++i)
            Byte(static_cast<std::uint8_t>(value >> (8 * i)));
        return *this;
    }
    FormBytes& ShortString(std::string_view text) {
        return Byte(static_cast<std::uint8_t>(text.size())).Raw(text);
    }

    FormBytes& Signature() { return Raw("TPF0"); }
    // A prefix byte with filer flags: 1 inherited, 2 child position, 4 inline.
    FormBytes& Prefix(std::uint8_t flags) { return Byte(0xF0 | flags); }
    FormBytes& Object(std::string_view className, std::string_view name) {
        return ShortString(className).ShortString(name);
    }
    FormBytes& Property(std::string_view name) { return ShortString(name); }
    // Ends a property list, a child list, a list, a collection or an item.
    FormBytes& End() { return Byte(0); }

    FormBytes& List() { return Byte(1); }
    FormBytes& Int8(std::int8_t v) { return Byte(2).Little(static_cast<std::uint8_t>(v), 1); }
    FormBytes& Int16(std::int16_t v) { return Byte(3).Little(static_cast<std::uint16_t>(v), 2); }
    FormBytes& Int32(std::int32_t v) { return Byte(4).Little(static_cast<std::uint32_t>(v), 4); }
    FormBytes& Int64(std::int64_t v) { return Byte(19).Little(static_cast<std::uint64_t>(v), 8); }
    FormBytes& Extended(std::uint64_t mantissa, std::uint16_t signAndExponent) {
        return Byte(5).Little(mantissa, 8).Little(signAndExponent, 2);
    }
    // The exact 80-bit form of a double (zero and normal values).
    FormBytes& Extended(double value) {
        if (value == 0)
            return Extended(0, std::signbit(value) ? 0x8000 : 0);
        int exponent = 0;
        const double fraction = std::frexp(std::fabs(value), &exponent);
        const auto mantissa = static_cast<std::uint64_t>(std::ldexp(fraction, 64));
        const auto biased = static_cast<std::uint16_t>(exponent - 1 + 16383);
        return Extended(mantissa, static_cast<std::uint16_t>(biased | (value < 0 ? 0x8000 : 0)));
    }
    FormBytes& String(std::string_view text) { return Byte(6).ShortString(text); }
    FormBytes& Ident(std::string_view name) { return Byte(7).ShortString(name); }
    FormBytes& False() { return Byte(8); }
    FormBytes& True() { return Byte(9); }
    FormBytes& Binary(std::string_view data) { return Byte(10).Little(data.size(), 4).Raw(data); }
    FormBytes& Set(std::initializer_list<std::string_view> elements) {
        Byte(11);
        for (std::string_view element : elements)
            ShortString(element);
        return End();
    }
    FormBytes& LString(std::string_view text) { return Byte(12).Little(text.size(), 4).Raw(text); }
    FormBytes& Nil() { return Byte(13); }
    FormBytes& Collection() { return Byte(14); }
    FormBytes& Single(float value) { return Byte(15).Little(BitsOf<std::uint32_t>(value), 4); }
    FormBytes& Currency(std::int64_t tenThousandths) {
        return Byte(16).Little(static_cast<std::uint64_t>(tenThousandths), 8);
    }
    FormBytes& Date(double value) { return Byte(17).Little(BitsOf<std::uint64_t>(value), 8); }
    FormBytes& WString(std::u16string_view text) {
        Byte(18).Little(text.size(), 4);
        for (char16_t unit : text)
            Little(unit, 2);
        return *this;
    }
    FormBytes& Utf8String(std::string_view text) {
        return Byte(20).Little(text.size(), 4).Raw(text);
    }
    FormBytes& Double(double value) { return Byte(21).Little(BitsOf<std::uint64_t>(value), 8); }

private:
    template <typename Bits, typename Float> static Bits BitsOf(Float value) {
        Bits bits;
        std::memcpy(&bits, &value, sizeof bits);
        return bits;
    }

    std::string bytes_;
};

} // namespace pembrill
