#include "source/Parser.h"

#include "platform/FileError.h"

#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <random>

using namespace pembrill;

namespace {

const char* KindName(TTokenKind kind) {
    static const char* const Names[] = {"Id", "Nu", "St", "Sy", "Ot"};
    return Names[kind];
}

// Bytes outside printable ASCII as \xNN, so that control bytes show.
std::string Shown(const std::string& text) {
    std::string shown;
    for (unsigned char c : text) {
        if (c >= 32 && c < 127) {
            shown += static_cast<char>(c);
            continue;
        }
        char hex[8];
        std::snprintf(hex, sizeof hex, "\\x%02X", c);
        shown += hex;
    }
    return shown;
}

using TokenReader = void (TParser::*)(std::string&, TTokenKind&);

class ParserTest : public ::testing::Test {
protected:
    std::string Write(const std::string& bytes) {
        const std::string path = (Dir / ("f" + std::to_string(++Count) + ".pas")).string();
        std::ofstream(path, std::ios::binary) << bytes;
        return path;
    }

    // The whole token stream as one string: "Id:unit Sy:; ...".
    std::string Tokens(const std::string& bytes, TokenReader read = &TParser::NextToken) {
        TParser parser(Write(bytes));
        return Stream(parser, read);
    }

    static std::string Stream(TParser& parser, TokenReader read = &TParser::NextToken) {
        std::string stream, token;
        TTokenKind kind = tkIdentifier;
        while (!parser.AtEnd()) {
            (parser.*read)(token, kind);
            if (!stream.empty())
                stream += ' ';
            stream += std::string(KindName(kind)) + ":" + Shown(token);
        }
        return stream;
    }

    // Every entry as "[unit|form|file|kind|last]", up to the entry that ends the list.
    std::string UsesEntries(const std::string& bytes) {
        TParser parser(Write(bytes));
        std::string token, entries, unitName, formName, fileName;
        TTokenKind kind = tkIdentifier;
        EXPECT_TRUE(parser.FindUses(token, kind));
        for (bool last = false; !last;) {
            TUsesEntryKind entryKind = ueStrayToken;
            last = parser.ReadUsesEntry(unitName, formName, fileName, entryKind);
            entries += "[" + unitName + "|" + formName + "|" + fileName + "|" +
                       std::to_string(entryKind) + "|" + (last ? "1" : "0") + "]";
        }
        return entries;
    }

    std::string UsesNames(const std::string& bytes) {
        TParser parser(Write(bytes));
        std::string token, names, unitName;
        TTokenKind kind = tkIdentifier;
        EXPECT_TRUE(parser.FindUses(token, kind));
        for (bool last = false; !last;) {
            last = parser.ReadUsesName(unitName);
            names += "[" + unitName + (last ? " 1]" : " 0]");
        }
        return names;
    }

    test::TempDir Temp;
    std::filesystem::path Dir = Temp.Path;
    int Count = 0;
};

} // namespace

TEST_F(ParserTest, UnitHeadTokenizes) {
    EXPECT_EQ(Tokens("unit Unit1;\r\n\r\ninterface\r\n\r\nuses\r\n  Windows, SysUtils;\r\n"),
              "Id:unit Id:Unit1 Sy:; Id:interface Id:uses Id:Windows Sy:, Id:SysUtils Sy:;");
}

TEST_F(ParserTest, NumbersIdentifiersAndOperators) {
    EXPECT_EQ(Tokens("x := 3.14 + $FF - $1F;"),
              "Id:x Sy:: Sy:= Nu:3 Sy:. Nu:14 Sy:+ Sy:$ Id:FF Sy:- Sy:$ Nu:1 Id:F Sy:;");
    EXPECT_EQ(Tokens("_a1 b_2 12ab __ a`b"), "Id:_a1 Id:b_2 Nu:12 Id:ab Id:__ Id:a Ot:` Id:b");
    EXPECT_EQ(Tokens("caf\xE9s \x80"), "Id:caf Ot:\\xE9 Id:s Ot:\\x80");
}

TEST_F(ParserTest, StringsEndAtTheNextApostropheOrTheLine) {
    EXPECT_EQ(Tokens("'a b' 'it''s' '' x"), "St:a b St:it St:s St: Id:x");
    // The line's trailing blanks were dropped before the open string took the rest.
    EXPECT_EQ(Tokens("s := 'open {  \t\r\nnext"), "Id:s Sy:: Sy:= St:open { Id:next");
    EXPECT_EQ(Tokens("'"), "St:");
}

TEST_F(ParserTest, OnlySpaceAndTabAreBlanks) {
    EXPECT_EQ(Tokens("\t a \t b\t \r\n"), "Id:a Id:b");
    EXPECT_EQ(Tokens("a\fb\r\n\vd\r"), "Id:a Ot:\\x0C Id:b Ot:\\x0B Id:d");
    EXPECT_EQ(Tokens("a\r\n\x1A"
                     "b"),
              "Id:a");
}

TEST_F(ParserTest, LineEndsOfUnixAndMixedFiles) {
    EXPECT_EQ(Tokens("unit A;\nuses B,\n  C;\n"), "Id:unit Id:A Sy:; Id:uses Id:B Sy:, Id:C Sy:;");
    EXPECT_EQ(Tokens("a\nb\r\nc\rd\n"), "Id:a Id:b Id:c Id:d");
    TParser parser(Write("first line\nsecond"));
    std::string rest;
    parser.ReadRestOfLine(rest);
    EXPECT_EQ(rest, "first line");
}

TEST_F(ParserTest, NextTokenSkipsComments) {
    EXPECT_EQ(Tokens("{$R *.RES} {one}{two} x { spans\r\n lines } y"), "Id:x Id:y");
    EXPECT_EQ(Tokens("{$R *.RES}", &TParser::ReadToken), "Sy:{ Sy:$ Id:R Sy:* Sy:. Id:RES Sy:}");
    EXPECT_EQ(Tokens("(* uses *) a // uses b\r\nc(* it's\r\n\r\n uses *)d{x}(*)*)e"),
              "Id:a Id:c Id:d Id:e");
    EXPECT_EQ(Tokens("(* x *) // y", &TParser::ReadToken),
              "Sy:( Sy:* Id:x Sy:* Sy:) Sy:/ Sy:/ Id:y");
    EXPECT_EQ(Tokens("a / / b ( * c"), "Id:a Sy:/ Sy:/ Id:b Sy:( Sy:* Id:c");
    EXPECT_EQ(Tokens("s := '//' + '(*';"), "Id:s Sy:: Sy:= St:// Sy:+ St:(* Sy:;");
    // A brace comment ends at its brace, whatever star comment it holds.
    EXPECT_EQ(Tokens("a { (* } b *)"), "Id:a Id:b Sy:* Sy:)");
    EXPECT_EQ(Tokens("a (* never closed\r\n b"), "Id:a Id:");
    // A string whose text is a brace opens a comment too.
    EXPECT_EQ(Tokens("a '{' b } c"), "Id:a Id:c");
    // An apostrophe in a comment runs a string over the brace on its line.
    EXPECT_EQ(Tokens("{ it's } x\r\ny } z"), "Id:z");
    // No nesting: the first closing brace ends the comment.
    EXPECT_EQ(Tokens("{ a { b } c }"), "Id:c Sy:}");
    // A brace that is the file's last token is given as it is.
    EXPECT_EQ(Tokens("a {"), "Id:a Sy:{");
}

TEST_F(ParserTest, EndOfFileGivesEmptyTokenAndKeepsKind) {
    TParser parser(Write("x 'y' { never closed\r\n z"));
    std::string token;
    TTokenKind kind = tkNumber;
    parser.NextToken(token, kind);
    parser.NextToken(token, kind);
    EXPECT_EQ(token, "y");
    EXPECT_FALSE(parser.AtEnd());
    parser.NextToken(token, kind);
    EXPECT_EQ(token, "");
    EXPECT_EQ(kind, tkIdentifier);
    EXPECT_TRUE(parser.AtEnd());
    kind = tkOther;
    parser.ReadToken(token, kind);
    EXPECT_EQ(token, "");
    EXPECT_EQ(kind, tkOther);
    parser.ReadRestOfLine(token);
    EXPECT_EQ(token, "");
}

TEST_F(ParserTest, EmptyAndBlankFilesAreAtEndAtOnce) {
    for (const char* bytes : {"", " \t \r\n\r\n\t", "\n\n", "\x1A uses x"}) {
        TParser parser(Write(bytes));
        EXPECT_TRUE(parser.AtEnd());
        std::string token = "old";
        TTokenKind kind = tkSymbol;
        EXPECT_FALSE(parser.FindUses(token, kind));
        EXPECT_EQ(token, "");
    }
}

TEST_F(ParserTest, ReadRestOfLineTakesTheUnreadRest) {
    TParser parser(
        Write("object Form1: TForm1\r\n  Left = 10  \r\nend\r\n\r\n  Caption = 'Hi'\t\r\nend"));
    std::string token, rest;
    TTokenKind kind = tkIdentifier;
    parser.ReadToken(token, kind);
    parser.ReadToken(token, kind);
    parser.ReadRestOfLine(rest);
    EXPECT_EQ(rest, ": TForm1");
    parser.ReadToken(token, kind);
    parser.ReadRestOfLine(rest);
    EXPECT_EQ(rest, "= 10");
    // "end" used up its line: the rest is the whole next non-blank line.
    parser.ReadToken(token, kind);
    parser.ReadRestOfLine(rest);
    EXPECT_EQ(rest, "Caption = 'Hi'");
    parser.ReadRestOfLine(rest);
    EXPECT_EQ(rest, "end");
    EXPECT_TRUE(parser.AtEnd());
}

TEST_F(ParserTest, RewindStartsAgainAndFailsOnAMissingFile) {
    const std::string path = Write("\r\n  program P;\r\nbegin end.");
    TParser parser(path);
    EXPECT_EQ(parser.SourceFileName(), path);
    const std::string all = Stream(parser);
    parser.Rewind();
    EXPECT_EQ(Stream(parser), all);
    parser.Rewind();
    std::string token;
    TTokenKind kind = tkIdentifier;
    parser.NextToken(token, kind);
    EXPECT_EQ(token, "program");

#ifndef _WIN32 // Windows removes no file that is open.
    std::filesystem::remove(path);
    EXPECT_THROW(parser.Rewind(), FileError);
    EXPECT_TRUE(parser.AtEnd());
    parser.NextToken(token, kind);
    EXPECT_EQ(token, "");
#endif
}

TEST_F(ParserTest, FindUsesFindsTheIdentifierInAnyCase) {
    TParser parser(Write("program P; s := 'uses'; { uses A; }\r\n"
                         "(* uses B *) // USES C\r\nUses D; uses"));
    std::string token;
    TTokenKind kind = tkOther;
    std::string found;
    while (parser.FindUses(token, kind)) {
        EXPECT_EQ(kind, tkIdentifier);
        parser.NextToken(token, kind);
        found += token;
    }
    // The trailing "uses" is the last token and is not found.
    EXPECT_EQ(found, "D");
}

TEST_F(ParserTest, ProjectUsesEntries) {
    EXPECT_EQ(UsesEntries("program Project1;\r\n\r\nuses\r\n  Forms,\r\n"
                          "  Unit1 in 'Unit1.pas' {Form1},\r\n"
                          "  Unit2 in 'Sub\\Unit2.pas',\r\n"
                          "  Data in 'Data.pas' {DataModule1: TDataModule},\r\n"
                          "  Last in 'Last.pas' {Form3};\r\n\r\n{$R *.RES}\r\n"),
              "[Forms|||0|0][Unit1|Form1|Unit1.pas|0|0][Unit2||Sub\\Unit2.pas|0|0]"
              "[Data|DataModule1|Data.pas|1|0][Last|Form3|Last.pas|0|1]");
    EXPECT_EQ(UsesEntries("uses A in 'a.pas';"), "[A||a.pas|0|1]");
    EXPECT_EQ(UsesEntries("uses A {c} in {d} 'a.pas' {F}, B;"), "[A|F|a.pas|0|0][B|||0|1]");
    EXPECT_EQ(UsesEntries("uses A in 'a.pas' begin"), "[A||a.pas|2|1]");
    EXPECT_EQ(UsesEntries("uses A in 'a.pas' {F} begin"), "[A|F|a.pas|0|1]");
    EXPECT_EQ(UsesEntries("uses A"), "[A|||0|1]");
    EXPECT_EQ(UsesEntries("uses // B,\r\n A in 'a.pas' // form:\r\n {F}, (* C, *) D;"),
              "[A|F|a.pas|0|0][D|||0|1]");
}

TEST_F(ParserTest, CapitalInLeavesTheEntryUnread) {
    TParser parser(Write("uses A IN 'a.pas', B;"));
    std::string token, unitName, formName, fileName;
    TTokenKind kind = tkIdentifier;
    TUsesEntryKind entryKind = ueStrayToken;
    ASSERT_TRUE(parser.FindUses(token, kind));
    EXPECT_TRUE(parser.ReadUsesEntry(unitName, formName, fileName, entryKind));
    EXPECT_EQ(unitName, "A");
    EXPECT_EQ(fileName, "");
    EXPECT_EQ(entryKind, uePlain);
    parser.NextToken(token, kind);
    EXPECT_EQ(token, "a.pas");
    EXPECT_EQ(kind, tkString);
}

TEST_F(ParserTest, PlainUsesNames) {
    EXPECT_EQ(UsesNames("uses A, B;"), "[A 0][B 1]");
    EXPECT_EQ(UsesNames("uses\r\n  A {first}, { second }\r\n B\r\n;"), "[A 0][B 1]");
    EXPECT_EQ(UsesNames("uses A B, C;"), "[A 1]");
    EXPECT_EQ(UsesNames("uses A,"), "[A 0][ 1]");
    EXPECT_EQ(UsesNames("uses A, // B;\r\n C (* D; *), {E;} F;"), "[A 0][C 0][F 1]");
    // No dotted name joins across a comment.
    EXPECT_EQ(UsesNames("// uses Windows. It is\r\nuses db // a.\r\n, x;"), "[db 0][x 1]");
}

TEST_F(ParserTest, BlanksAreSpaceAndTabOnly) {
    EXPECT_EQ(TrimBlanks(" \t a b \t "), "a b");
    EXPECT_EQ(TrimBlanks(" \t "), "");
    EXPECT_EQ(TrimBlanks("\r a \f"), "\r a \f");
    EXPECT_TRUE(IsBlank('\t'));
    EXPECT_FALSE(IsBlank('\n'));
}

TEST_F(ParserTest, CharacterClassesByByteValue) {
    std::string classes;
    for (int c = 32; c < 128; ++c)
        classes += "LDSQUO"[CharClass(static_cast<char>(c))];
    EXPECT_EQ(classes, "OSSSSSSQSSSSSSSSDDDDDDDDDDSSSSSSSLLLLLLLLLLLLLLL"
                       "LLLLLLLLLLLSSSSUOLLLLLLLLLLLLLLLLLLLLLLLLLLSSSSO");
    for (int c = 0; c < 32; ++c)
        EXPECT_EQ(CharClass(static_cast<char>(c)), ccOther) << c;
    for (int c = 128; c < 256; ++c)
        EXPECT_EQ(CharClass(static_cast<char>(c)), ccOther) << c;
}

// Whatever the bytes, every operation ends and the scanner reaches its end.
class ParserGarbageTest : public ParserTest {
protected:
    std::string RandomBytes(std::mt19937& random, size_t size) {
        static const char Favourites[] = "{}'\r\n\x1A \tuses in,;:";
        std::string bytes(size, '\0');
        for (auto& byte : bytes)
            byte = random() % 2 ? Favourites[random() % (sizeof Favourites - 1)]
                                : static_cast<char>(random() % 256);
        return bytes;
    }
};

TEST_F(ParserGarbageTest, RandomBytesAlwaysEnd) {
    std::mt19937 random(1);
    for (int round = 0; round < 200; ++round) {
        const std::string bytes = RandomBytes(random, random() % 3000);
        TParser parser(Write(bytes));
        std::string token, a, b, c;
        TTokenKind kind = tkIdentifier;
        TUsesEntryKind entryKind = uePlain;
        size_t calls = 0;
        // Every call that is not at the end consumes at least one byte.
        const size_t limit = bytes.size() + 1;
        for (; !parser.AtEnd() && calls <= limit; ++calls) {
            switch (calls % 5) {
            case 0:
                parser.NextToken(token, kind);
                break;
            case 1:
                parser.FindUses(token, kind);
                break;
            case 2:
                parser.ReadUsesEntry(a, b, c, entryKind);
                break;
            case 3:
                parser.ReadUsesName(a);
                break;
            case 4:
                parser.ReadRestOfLine(a);
                break;
            }
        }
        EXPECT_TRUE(parser.AtEnd()) << "round " << round;
        parser.Rewind();
        for (calls = 0; !parser.AtEnd() && calls <= limit; ++calls)
            parser.ReadToken(token, kind);
        EXPECT_TRUE(parser.AtEnd()) << "round " << round;
    }
}

TEST_F(ParserGarbageTest, HugeLinesAreReadWhole) {
    const size_t size = 64'000'000;
    std::string token;
    TTokenKind kind = tkOther;
    {
        TParser parser(Write(std::string(size, 'a') + " 'x"));
        parser.NextToken(token, kind);
        EXPECT_EQ(token.size(), size);
        parser.NextToken(token, kind);
        EXPECT_EQ(token, "x");
    }
    {
        std::string words;
        for (size_t i = 0; i < size / 4; ++i)
            words += "ab{ ";
        TParser parser(Write(words));
        size_t count = 0;
        while (!parser.AtEnd()) {
            parser.ReadToken(token, kind);
            ++count;
        }
        EXPECT_EQ(count, size / 2);
    }
    {
        TParser parser(Write("'" + std::string(size, '}')));
        parser.NextToken(token, kind);
        EXPECT_EQ(token.size(), size);
        EXPECT_TRUE(parser.AtEnd());
    }
}
