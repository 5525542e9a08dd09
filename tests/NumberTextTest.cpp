#include "platform/NumberText.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace pembrill;

namespace {

// The value as text, or "fail", so that a table of cases reads in one line.
std::string IntOf(const std::string& text) {
    int32_t value = 12345;
    return TryStrToInt(text, value) ? std::to_string(value) : "fail";
}

std::string FloatOf(const std::string& text, char separator = '.') {
    double value = 0;
    if (!TryStrToFloat(text, separator, value))
        return "fail";
    char shown[64];
    std::snprintf(shown, sizeof shown, "%g", value);
    return shown;
}

} // namespace

TEST(NumberTextTest, IntegerForms) {
    EXPECT_EQ(IntOf("10"), "10");
    EXPECT_EQ(IntOf("   -7"), "-7");
    EXPECT_EQ(IntOf("+0"), "0");
    EXPECT_EQ(IntOf("007"), "7");
    EXPECT_EQ(IntOf("$1f"), "31");
    EXPECT_EQ(IntOf("  $7FFFFFFF"), "2147483647");
}

TEST(NumberTextTest, IntegerRejectsAnythingElse) {
    for (const char* text : {"", "   ", "-", "+", "$", "12.5", "1e3", "10 ", "1 0", " - 5", "\t5",
                             "0x10", "-$10", "$G", "abc", "5a"})
        EXPECT_EQ(IntOf(text), "fail") << '"' << text << '"';
}

TEST(NumberTextTest, IntegerRangeIs32Bits) {
    EXPECT_EQ(IntOf("2147483647"), "2147483647");
    EXPECT_EQ(IntOf("-2147483648"), "-2147483648");
    EXPECT_EQ(IntOf("2147483648"), "fail");
    EXPECT_EQ(IntOf("-2147483649"), "fail");
    EXPECT_EQ(IntOf("99999999999999999999999"), "fail");
    // Hex is a bit pattern of up to 32 bits; leading zeros do not count.
    EXPECT_EQ(IntOf("$FFFFFFFF"), "-1");
    EXPECT_EQ(IntOf("$80000000"), "-2147483648");
    EXPECT_EQ(IntOf("$000000000001"), "1");
    EXPECT_EQ(IntOf("$100000000"), "fail");
}

TEST(NumberTextTest, FloatForms) {
    EXPECT_EQ(FloatOf("0.1"), "0.1");
    EXPECT_EQ(FloatOf("  -1  "), "-1");
    EXPECT_EQ(FloatOf("+.5"), "0.5");
    EXPECT_EQ(FloatOf("2."), "2");
    EXPECT_EQ(FloatOf("1.5E2"), "150");
    EXPECT_EQ(FloatOf("25e-2"), "0.25");
    EXPECT_EQ(FloatOf("1e+3"), "1000");
}

TEST(NumberTextTest, FloatRejectsAnythingElse) {
    for (const char* text : {"", " ", "abc", ".", "-", "1.2.3", "1,5", "1e", "1e+", "e5", "1 000",
                             "0x10", "inf", "nan", "1.5x", "$10", "1e400", "-1e400"})
        EXPECT_EQ(FloatOf(text), "fail") << '"' << text << '"';
}

TEST(NumberTextTest, FloatTakesThePointOrTheLocaleSeparator) {
    EXPECT_EQ(FloatOf("0,25", ','), "0.25");
    EXPECT_EQ(FloatOf("0.25", ','), "0.25");
    EXPECT_EQ(FloatOf("-1,5e2", ','), "-150");
    EXPECT_EQ(FloatOf("1.000,5", ','), "fail");
    EXPECT_EQ(FloatOf("1,000.5", ','), "fail");
}
