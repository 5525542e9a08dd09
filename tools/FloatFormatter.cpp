#include "tools/FloatFormatter.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace pembrill {

namespace {

using BigNumber = std::vector<uint32_t>; // base 2^32, least significant word first

constexpr int Precision = 15;
constexpr uint64_t TenTo15 = 1'000'000'000'000'000;
constexpr uint64_t TenTo18 = 1000 * TenTo15;
constexpr int FpuDigits = 18;
constexpr uint64_t Saturated = std::numeric_limits<uint64_t>::max();

void Trim(BigNumber& n) {
    while (!n.empty() && n.back() == 0)
        n.pop_back();
}

BigNumber FromUInt64(uint64_t value) {
    BigNumber n{static_cast<uint32_t>(value), static_cast<uint32_t>(value >> 32)};
    Trim(n);
    return n;
}

// The value, or Saturated when it needs more than 64 bits.
uint64_t ToUInt64(const BigNumber& n) {
    if (n.size() > 2)
        return Saturated;
    uint64_t value = 0;
    for (size_t i = n.size(); i-- > 0;)
        value = value << 32 | n[i];
    return value;
}

BigNumber Multiply(const BigNumber& a, const BigNumber& b) {
    BigNumber product(a.size() + b.size(), 0);
    for (size_t i = 0; i < a.size(); ++i) {
        uint64_t carry = 0;
        for (size_t j = 0; j < b.size(); ++j) {
            const uint64_t t = uint64_t{a[i]} * b[j] + product[i + j] + carry;
            product[i + j] = static_cast<uint32_t>(t);
            carry = t >> 32;
        }
        product[i + b.size()] = static_cast<uint32_t>(carry);
    }
    Trim(product);
    return product;
}

void MultiplyBy(BigNumber& n, uint32_t factor) {
    uint64_t carry = 0;
    for (uint32_t& word : n) {
        const uint64_t t = uint64_t{word} * factor + carry;
        word = static_cast<uint32_t>(t);
        carry = t >> 32;
    }
    if (carry != 0)
        n.push_back(static_cast<uint32_t>(carry));
}

BigNumber ShiftLeft(const BigNumber& n, int bits) {
    if (n.empty())
        return n;
    const int words = bits / 32;
    const int rest = bits % 32;
    BigNumber shifted(n.size() + words + 1, 0);
    for (size_t i = 0; i < n.size(); ++i) {
        const uint64_t t = uint64_t{n[i]} << rest;
        shifted[i + words] |= static_cast<uint32_t>(t);
        shifted[i + words + 1] |= static_cast<uint32_t>(t >> 32);
    }
    Trim(shifted);
    return shifted;
}

BigNumber ShiftRight(const BigNumber& n, int bits) {
    const size_t words = bits / 32;
    const int rest = bits % 32;
    if (words >= n.size())
        return {};
    BigNumber shifted(n.size() - words, 0);
    for (size_t i = 0; i < shifted.size(); ++i) {
        uint64_t t = n[i + words];
        if (i + words + 1 < n.size())
            t |= uint64_t{n[i + words + 1]} << 32;
        shifted[i] = static_cast<uint32_t>(t >> rest);
    }
    Trim(shifted);
    return shifted;
}

int Compare(const BigNumber& a, const BigNumber& b) {
    if (a.size() != b.size())
        return a.size() < b.size() ? -1 : 1;
    for (size_t i = a.size(); i-- > 0;) {
        if (a[i] != b[i])
            return a[i] < b[i] ? -1 : 1;
    }
    return 0;
}

// a - b for a >= b.
BigNumber Subtract(const BigNumber& a, const BigNumber& b) {
    BigNumber difference(a);
    int64_t borrow = 0;
    for (size_t i = 0; i < difference.size(); ++i) {
        int64_t t = int64_t{difference[i]} - borrow - (i < b.size() ? b[i] : 0);
        borrow = t < 0 ? 1 : 0;
        difference[i] = static_cast<uint32_t>(t + (borrow << 32));
    }
    Trim(difference);
    return difference;
}

// The quotient a / b from the leading 64 bits of each, good to about 50 bits.
double EstimateQuotient(const BigNumber& a, const BigNumber& b) {
    auto leading = [](const BigNumber& n, int& exponent) {
        double value = 0;
        const size_t first = n.size() > 3 ? n.size() - 3 : 0;
        for (size_t i = n.size(); i-- > first;)
            value = value * 4294967296.0 + n[i];
        exponent = static_cast<int>(32 * first);
        return value;
    };
    int exponentA = 0;
    int exponentB = 0;
    const double leadingA = leading(a, exponentA);
    const double leadingB = leading(b, exponentB);
    return std::ldexp(leadingA / leadingB, exponentA - exponentB);
}

bool LowBitsAreZero(const BigNumber& n, int bits) {
    const size_t words = bits / 32;
    for (size_t i = 0; i < words && i < n.size(); ++i) {
        if (n[i] != 0)
            return false;
    }
    const uint32_t mask = (uint32_t{1} << (bits % 32)) - 1;
    return words >= n.size() || (n[words] & mask) == 0;
}

// floor(a / b) for b > 0, or Saturated when it needs more than 64 bits.
// The estimate is corrected against the exact product until the remainder
// lies in [0, b).
FloatFormatter::Quotient Divide(const BigNumber& a, const BigNumber& b) {
    if (Compare(a, b) < 0)
        return {0, a.empty()};
    const double estimate = EstimateQuotient(a, b);
    if (estimate >= 1.8e19)
        return {Saturated, false};
    uint64_t quotient = static_cast<uint64_t>(estimate);
    for (;;) {
        const BigNumber product = Multiply(b, FromUInt64(quotient));
        if (Compare(product, a) > 0) {
            const BigNumber over = Subtract(product, a);
            const auto step = static_cast<uint64_t>(EstimateQuotient(over, b)) + 1;
            quotient -= std::min(step, quotient);
            continue;
        }
        const BigNumber remainder = Subtract(a, product);
        if (Compare(remainder, b) < 0)
            return {quotient, remainder.empty()};
        quotient += std::max<uint64_t>(1, static_cast<uint64_t>(EstimateQuotient(remainder, b)));
    }
}

std::string StripTrailingZeros(std::string digits) {
    while (digits.size() > 1 && digits.back() == '0')
        digits.pop_back();
    return digits;
}

// digits: the significant digits d1 d2 ... of 0.d1d2... * 10^exponent.
std::string GeneralFormat(const std::string& digits, int exponent) {
    if (exponent < -4 || exponent > Precision) {
        std::string text = digits.substr(0, 1);
        if (digits.size() > 1)
            text += "." + digits.substr(1);
        return text + "E" + std::to_string(exponent - 1);
    }
    if (exponent <= 0)
        return "0." + std::string(-exponent, '0') + digits;
    if (digits.size() <= static_cast<size_t>(exponent))
        return digits + std::string(exponent - digits.size(), '0');
    return digits.substr(0, exponent) + "." + digits.substr(exponent);
}

} // namespace

std::string FloatFormatter::Extended(std::string_view bytes) {
    uint64_t mantissa = 0;
    for (int i = 7; i >= 0; --i)
        mantissa = mantissa << 8 | static_cast<uint8_t>(bytes[i]);
    const unsigned signAndExponent = static_cast<uint8_t>(bytes[8]) | static_cast<uint8_t>(bytes[9])
                                                                          << 8;
    const bool negative = (signAndExponent & 0x8000) != 0;
    const int exponent = static_cast<int>(signAndExponent & 0x7FFF);
    if (exponent == 0x7FFF) {
        if ((mantissa << 1) != 0)
            return "NAN";
        return negative ? "-INF" : "INF";
    }
    // The integer bit is stored, so denormals need no special case beyond
    // the smallest exponent.
    return Format(negative, mantissa, std::max(exponent, 1) - 16383 - 63);
}

std::string FloatFormatter::Double(uint64_t bits) {
    const bool negative = (bits >> 63) != 0;
    const int exponent = static_cast<int>(bits >> 52 & 0x7FF);
    uint64_t mantissa = bits & ((uint64_t{1} << 52) - 1);
    if (exponent == 0x7FF) {
        if (mantissa != 0)
            return "NAN";
        return negative ? "-INF" : "INF";
    }
    if (exponent != 0)
        mantissa |= uint64_t{1} << 52;
    return Format(negative, mantissa, std::max(exponent, 1) - 1023 - 52);
}

std::string FloatFormatter::Single(uint32_t bits) {
    const bool negative = (bits >> 31) != 0;
    const int exponent = static_cast<int>(bits >> 23 & 0xFF);
    uint64_t mantissa = bits & ((uint32_t{1} << 23) - 1);
    if (exponent == 0xFF) {
        if (mantissa != 0)
            return "NAN";
        return negative ? "-INF" : "INF";
    }
    if (exponent != 0)
        mantissa |= uint64_t{1} << 23;
    return Format(negative, mantissa, std::max(exponent, 1) - 127 - 23);
}

std::string FloatFormatter::Integer(int64_t value) {
    const bool negative = value < 0;
    const uint64_t magnitude =
        negative ? 0 - static_cast<uint64_t>(value) : static_cast<uint64_t>(value);
    return Format(negative, magnitude, 0);
}

// The run-time library takes 18 digits from the FPU, rounded to nearest
// with ties to even (its default mode), and rounds those half up to 15. Both steps are kept:
// 1236397916105104998 gives 1.23639791610511E18, not ...051E18.
std::string FloatFormatter::Format(bool negative, uint64_t mantissa, int exponent) {
    if (mantissa == 0)
        return "0";
    // The logarithm can be one off next to a power of ten; the loop
    // corrects the scale until 18 digits stand before the point.
    const double log10 = std::log10(static_cast<double>(mantissa)) + exponent * std::log10(2.0);
    int scale = static_cast<int>(std::floor(log10)) + 1 - FpuDigits;
    // Twice the scaled value: its last bit is the half that decides the
    // rounding, and `exact` tells a tie from a value above it.
    Quotient doubled{};
    uint64_t digits = 0;
    for (;;) {
        doubled = ScaledDown(mantissa, exponent + 1, scale);
        digits = doubled.Value >> 1;
        if (digits >= TenTo18)
            ++scale;
        else if (digits < TenTo18 / 10)
            --scale;
        else
            break;
    }
    const bool half = (doubled.Value & 1) != 0;
    if (half && (!doubled.Exact || (digits & 1) != 0))
        ++digits;
    int decimalExponent = scale + FpuDigits;
    if (digits == TenTo18) {
        digits /= 10;
        ++decimalExponent;
    }
    uint64_t fifteen = digits / 1000 + (digits % 1000 >= 500 ? 1 : 0);
    if (fifteen == TenTo15) {
        fifteen /= 10;
        ++decimalExponent;
    }
    const std::string text =
        GeneralFormat(StripTrailingZeros(std::to_string(fifteen)), decimalExponent);
    return negative ? "-" + text : text;
}

// mantissa * 2^exponent / 10^scale = mantissa * 5^-scale * 2^(exponent - scale).
FloatFormatter::Quotient FloatFormatter::ScaledDown(uint64_t mantissa, int exponent, int scale) {
    const int twos = exponent - scale;
    if (scale <= 0) {
        const BigNumber scaled = Multiply(FromUInt64(mantissa), PowerOfFive(-scale));
        if (twos >= 0)
            return {ToUInt64(ShiftLeft(scaled, twos)), true};
        return {ToUInt64(ShiftRight(scaled, -twos)), LowBitsAreZero(scaled, -twos)};
    }
    if (twos >= 0)
        return Divide(ShiftLeft(FromUInt64(mantissa), twos), PowerOfFive(scale));
    return Divide(FromUInt64(mantissa), ShiftLeft(PowerOfFive(scale), -twos));
}

const FloatFormatter::BigNumber& FloatFormatter::PowerOfFive(int n) {
    constexpr uint32_t FiveTo13 = 1220703125;
    auto [entry, added] = PowersOfFive.try_emplace(n, BigNumber{1});
    if (added) {
        int left = n;
        for (; left >= 13; left -= 13)
            MultiplyBy(entry->second, FiveTo13);
        for (; left > 0; --left)
            MultiplyBy(entry->second, 5);
    }
    return entry->second;
}

} // namespace pembrill
