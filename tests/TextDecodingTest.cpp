#include "platform/TextDecoding.h"

#include <gtest/gtest.h>

using namespace pembrill;

TEST(TextDecodingTest, ValidUtf8IsKeptAndItsBomDropped) {
    EXPECT_EQ(DecodeForDisplay("caf\xC3\xA9"), "caf\xC3\xA9");
    EXPECT_EQ(DecodeForDisplay("\xEF\xBB\xBFunit A;"), "unit A;");
    EXPECT_EQ(DecodeForDisplay(""), "");
}

TEST(TextDecodingTest, AnythingElseIsWindows1252) {
    EXPECT_EQ(DecodeForDisplay("caf\xE9"), "caf\xC3\xA9");
    EXPECT_EQ(DecodeForDisplay("\x80 \x9F"), "\xE2\x82\xAC \xC5\xB8");
    // An undefined 1252 byte stays the control of the same value.
    EXPECT_EQ(DecodeForDisplay("\x81"), "\xC2\x81");
}

TEST(TextDecodingTest, OverlongAndSurrogateSequencesAreNotUtf8) {
    EXPECT_EQ(DecodeForDisplay("\xC0\xAF"), "\xC3\x80\xC2\xAF");
    EXPECT_EQ(DecodeForDisplay("\xED\xA0\x80"), "\xC3\xAD\xC2\xA0\xE2\x82\xAC");
}
