#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace pembrill {

// Writes binary floating-point values the way Delphi's FloatToStr does:
// general format with 15 significant digits, '.' as the separator, trailing
// zeros dropped. Fixed notation is used while the value, rounded to 15
// digits, lies in [0.00001, 10^15); below or above it the notation is
// scientific, with an exponent that has no '+' and no leading zeros:
//
//     0.00001   0.0000125   1.5E-6   999999999999999   1E15   -2.5E300
//
// The digits come from the exact binary value, rounded to 18 digits and
// those to 15, as the run-time library rounds them. Infinities and NaNs give
// "INF", "-INF" and "NAN"; a negative zero gives "0".
//
// The exact value of an 80-bit extended can have thousands of digits. Only
// 18 are computed, by scaling with a power of five that is kept for the next
// value of the same magnitude, so a value costs time in proportion to its
// exponent and not to the square of its digit count.
class FloatFormatter {
public:
    // floor(x) of a scaled value x, and whether x was an integer.
    struct Quotient {
        uint64_t Value;
        bool Exact;
    };

    // The 10 bytes of an 80-bit extended as stored in a form file.
    std::string Extended(std::string_view bytes);
    std::string Double(uint64_t bits);
    std::string Single(uint32_t bits);
    // A 64-bit integer written as a float.
    std::string Integer(int64_t value);

private:
    using BigNumber = std::vector<uint32_t>;

    // mantissa * 2^exponent, with mantissa > 0.
    std::string Format(bool negative, uint64_t mantissa, int exponent);
    // mantissa * 2^exponent / 10^scale; UINT64_MAX when it does not fit.
    Quotient ScaledDown(uint64_t mantissa, int exponent, int scale);
    const BigNumber& PowerOfFive(int n);

    std::unordered_map<int, BigNumber> PowersOfFive;
};

} // namespace pembrill
