// The scanner over any bytes, with every operation in any order.
//
// Input: one byte N, then N operation bytes, then the file. Each operation
// byte picks one of the scanner's operations; they run in order on a scanner
// over the file, and the scanner's promises are checked after each. The rest
// of the file is then read token by token to its end.

#include "FuzzCheck.h"
#include "FuzzDirectory.h"
#include "source/Parser.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

using namespace pembrill;

namespace {

bool IsIdentifierChar(char c) {
    const TCharClass charClass = CharClass(c);
    return charClass == ccLetter || charClass == ccDigit || charClass == ccUnderscore;
}

bool AllOf(const std::string& text, bool (*test)(char)) {
    return std::all_of(text.begin(), text.end(), test);
}

// A token is what its kind says; only a string may be empty.
void CheckToken(const std::string& token, TTokenKind kind) {
    switch (kind) {
    case tkIdentifier:
        FUZZ_CHECK(!token.empty() && CharClass(token[0]) != ccDigit &&
                   AllOf(token, IsIdentifierChar));
        break;
    case tkNumber:
        FUZZ_CHECK(!token.empty() && AllOf(token, [](char c) { return CharClass(c) == ccDigit; }));
        break;
    case tkString:
        FUZZ_CHECK(token.find('\'') == std::string::npos);
        break;
    case tkSymbol:
        FUZZ_CHECK(token.size() == 1 && CharClass(token[0]) == ccSymbol);
        break;
    case tkOther:
        FUZZ_CHECK(token.size() == 1 && CharClass(token[0]) == ccOther);
        break;
    }
}

void ReadOneToken(TParser& parser, std::string& token, TTokenKind& kind) {
    const bool atEnd = parser.AtEnd();
    const TTokenKind before = kind;
    parser.ReadToken(token, kind);
    if (atEnd) {
        FUZZ_CHECK(token.empty() && kind == before);
        return;
    }
    CheckToken(token, kind);
}

// The unread rest of a line never begins or ends with a blank, and is empty
// only at the end of the file.
void ReadRest(TParser& parser) {
    const bool atEnd = parser.AtEnd();
    std::string rest;
    parser.ReadRestOfLine(rest);
    FUZZ_CHECK(rest.empty() == atEnd);
    FUZZ_CHECK(rest.empty() || (!IsBlank(rest.front()) && !IsBlank(rest.back())));
}

void FindUses(TParser& parser, std::string& token, TTokenKind& kind) {
    if (!parser.FindUses(token, kind))
        return;
    FUZZ_CHECK(kind == tkIdentifier && token.size() == 4);
}

void RunOperation(TParser& parser, uint8_t operation, std::string& token, TTokenKind& kind) {
    std::string unitName, formName, fileName;
    TUsesEntryKind entryKind = uePlain;
    switch (operation % 7) {
    case 0:
        return ReadOneToken(parser, token, kind);
    case 1:
        parser.NextToken(token, kind);
        return;
    case 2:
        return ReadRest(parser);
    case 3:
        parser.Rewind();
        return;
    case 4:
        return FindUses(parser, token, kind);
    case 5:
        parser.ReadUsesEntry(unitName, formName, fileName, entryKind);
        return;
    case 6:
        parser.ReadUsesName(unitName);
        return;
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0)
        return 0;
    const size_t operationCount = std::min<size_t>(data[0], size - 1);
    const uint8_t* operations = data + 1;
    const std::string_view file(reinterpret_cast<const char*>(operations + operationCount),
                                size - 1 - operationCount);
    const std::string path = fuzz::FuzzDirectory::Instance().Write("Unit1.pas", file);

    TParser parser(path);
    std::string token;
    TTokenKind kind = tkIdentifier;
    for (size_t i = 0; i < operationCount; ++i)
        RunOperation(parser, operations[i], token, kind);
    while (!parser.AtEnd())
        ReadOneToken(parser, token, kind);
    ReadOneToken(parser, token, kind);
    ReadRest(parser);
    return 0;
}
