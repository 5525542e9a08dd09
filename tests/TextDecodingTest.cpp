#include "platform/TextDecoding.h"

#include <gtest/gtest.h>

using namespace pembrill;

TEST(TextDecodingTest, ValidUtf8IsKeptAndItsBomDroppedInEveryCodePage) {
    for (const int codePage : {1250, 1252, 932}) {
        EXPECT_EQ(DecodeForDisplay("caf\xC3\xA9", codePage), "caf\xC3\xA9");
        EXPECT_EQ(DecodeForDisplay("\xEF\xBB\xBFunit A;", codePage), "unit A;");
        EXPECT_EQ(DecodeForDisplay("", codePage), "");
    }
}

TEST(TextDecodingTest, AnythingElseReadsInTheCodePageGiven) {
    // "Összes idő" as a Hungarian unit holds it.
    EXPECT_EQ(DecodeForDisplay("\xD6sszes id\xF5", 1250), "\xC3\x96sszes id\xC5\x91");
    EXPECT_EQ(DecodeForDisplay("\xD6sszes id\xF5", 1252), "\xC3\x96sszes id\xC3\xB5");
    EXPECT_EQ(DecodeForDisplay("\x80 \x9F", 1252), "\xE2\x82\xAC \xC5\xB8");
    EXPECT_EQ(DecodeForDisplay("\xC1\xE2\xE3", 1251), "\xD0\x91\xD0\xB2\xD0\xB3");
    // Shift-JIS: two bytes a character.
    EXPECT_EQ(DecodeForDisplay("\x93\xFA\x96\x7B", 932), "\xE6\x97\xA5\xE6\x9C\xAC");
    // An undefined 1252 byte stays the control of the same value.
    EXPECT_EQ(DecodeForDisplay("\x81", 1252), "\xC2\x81");
#ifndef _WIN32
    // So does a lead byte cut off at the end; Windows' own decoder puts its
    // default character there.
    EXPECT_EQ(DecodeForDisplay("a\x93", 932), "a\xC2\x93");
#endif
    // A code page the system does not know reads as 1252.
    EXPECT_EQ(DecodeForDisplay("caf\xE9", 99999), "caf\xC3\xA9");
}

TEST(TextDecodingTest, OverlongAndSurrogateSequencesAreNotUtf8) {
    EXPECT_EQ(DecodeForDisplay("\xC0\xAF", 1252), "\xC3\x80\xC2\xAF");
    EXPECT_EQ(DecodeForDisplay("\xED\xA0\x80", 1252), "\xC3\xAD\xC2\xA0\xE2\x82\xAC");
}

TEST(TextDecodingTest, TheLocalesLanguageGivesItsCodePage) {
    const std::pair<const char*, int> rows[] = {
        {"hu_HU.UTF-8", 1250}, {"pl_PL", 1250},       {"ru_RU.KOI8-R", 1251},
        {"sr_RS@latin", 1251}, {"el_GR.UTF-8", 1253}, {"tr_TR", 1254},
        {"he_IL", 1255},       {"fa_IR", 1256},       {"lt_LT", 1257},
        {"vi_VN", 1258},       {"th_TH", 874},        {"ja_JP.UTF-8", 932},
        {"zh_CN.UTF-8", 936},  {"ko_KR.EUC-KR", 949}, {"zh_TW.UTF-8", 950},
        {"zh_HK", 950},        {"en_US.UTF-8", 1252}, {"de_DE", 1252},
        {"C", 1252},           {"POSIX", 1252},       {"C.UTF-8", 1252},
        {"HU", 1250},
    };
    for (const auto& [locale, codePage] : rows)
        EXPECT_EQ(CodePageOfLocale(locale), codePage) << locale;
}
