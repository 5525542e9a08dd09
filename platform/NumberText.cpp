#include "platform/NumberText.h"

#include "platform/ByteText.h"

#include <charconv>

namespace pembrill {

namespace {

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

size_t SkipSpaces(const std::string& text, size_t i) {
    while (i < text.size() && text[i] == ' ')
        ++i;
    return i;
}

bool ParseHex(const std::string& text, size_t i, int32_t& value) {
    if (i == text.size())
        return false;
    uint32_t bits = 0;
    for (; i < text.size(); ++i) {
        const int digit = HexDigitValue(text[i]);
        if (digit < 0 || bits > 0x0FFFFFFFu)
            return false;
        bits = bits << 4 | static_cast<uint32_t>(digit);
    }
    value = static_cast<int32_t>(bits);
    return true;
}

bool ParseDecimal(const std::string& text, size_t i, int32_t& value) {
    const bool negative = i < text.size() && text[i] == '-';
    if (i < text.size() && (text[i] == '-' || text[i] == '+'))
        ++i;
    if (i == text.size())
        return false;
    const int64_t limit = negative ? 2147483648LL : 2147483647LL;
    int64_t magnitude = 0;
    for (; i < text.size(); ++i) {
        if (!IsDigit(text[i]))
            return false;
        magnitude = magnitude * 10 + (text[i] - '0');
        if (magnitude > limit)
            return false;
    }
    value = static_cast<int32_t>(negative ? -magnitude : magnitude);
    return true;
}

// Copies a run of digits; gives how many there were.
size_t CopyDigits(const std::string& text, size_t& i, std::string& out) {
    const size_t start = i;
    while (i < text.size() && IsDigit(text[i]))
        out += text[i++];
    return i - start;
}

// A sign as std::from_chars takes it: '-' kept, '+' dropped.
void CopySign(const std::string& text, size_t& i, std::string& out) {
    if (i < text.size() && (text[i] == '-' || text[i] == '+')) {
        if (text[i] == '-')
            out += '-';
        ++i;
    }
}

// Rewrites the number with '.' as its separator, so that the conversion
// does not depend on the C library's locale. Empty when the text is no
// number.
std::string NormalizedFloat(const std::string& text, char localeSeparator) {
    std::string out;
    size_t i = SkipSpaces(text, 0);
    CopySign(text, i, out);
    size_t digits = CopyDigits(text, i, out);
    if (i < text.size() && (text[i] == '.' || text[i] == localeSeparator)) {
        out += '.';
        ++i;
        digits += CopyDigits(text, i, out);
    }
    if (digits == 0)
        return {};
    if (i < text.size() && (text[i] == 'E' || text[i] == 'e')) {
        out += 'e';
        ++i;
        CopySign(text, i, out);
        if (CopyDigits(text, i, out) == 0)
            return {};
    }
    if (SkipSpaces(text, i) != text.size())
        return {};
    return out;
}

} // namespace

bool TryStrToInt(const std::string& text, int32_t& value) {
    const size_t i = SkipSpaces(text, 0);
    if (i < text.size() && text[i] == '$')
        return ParseHex(text, i + 1, value);
    return ParseDecimal(text, i, value);
}

bool TryDecimalStrToInt(const std::string& text, int32_t& value) {
    return ParseDecimal(text, SkipSpaces(text, 0), value);
}

bool TryStrToFloat(const std::string& text, char localeSeparator, double& value) {
    const std::string number = NormalizedFloat(text, localeSeparator);
    if (number.empty())
        return false;
    double result = 0;
    const auto [end, error] = std::from_chars(number.data(), number.data() + number.size(), result);
    if (error != std::errc() || end != number.data() + number.size())
        return false;
    value = result;
    return true;
}

} // namespace pembrill
