#include "source/Parser.h"

#include "platform/LineReader.h"

#include <array>
#include <cstring>
#include <string_view>

namespace pembrill {

namespace {

constexpr std::array<TCharClass, 256> MakeCharClasses() {
    std::array<TCharClass, 256> classes{};
    for (int c = 0; c < 256; ++c) {
        if ((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'))
            classes[c] = ccLetter;
        else if (c >= '0' && c <= '9')
            classes[c] = ccDigit;
        else if (c == '\'')
            classes[c] = ccQuote;
        else if (c == '_')
            classes[c] = ccUnderscore;
        else if ((c >= 33 && c <= 47) || (c >= 58 && c <= 64) || (c >= 91 && c <= 94) ||
                 (c >= 123 && c <= 126))
            classes[c] = ccSymbol;
        else
            classes[c] = ccOther;
    }
    return classes;
}

// By byte value, no locale: bytes above 127 are never letters.
static constexpr std::array<TCharClass, 256> CharClasses = MakeCharClasses();

TCharClass ClassOf(char c) {
    return CharClasses[static_cast<unsigned char>(c)];
}

bool IsIdentifierChar(char c) {
    const TCharClass charClass = ClassOf(c);
    return charClass == ccLetter || charClass == ccDigit || charClass == ccUnderscore;
}

bool IsDigit(char c) {
    return ClassOf(c) == ccDigit;
}

bool IsChar(const std::string& token, char c) {
    return token.size() == 1 && token[0] == c;
}

bool IsUsesWord(const std::string& token) {
    return EqualIgnoringAsciiCase(token, "uses");
}

} // namespace

std::string TrimBlanks(const std::string& text) {
    return std::string(TrimmedBlanks(text));
}

TCharClass CharClass(char c) {
    return ClassOf(c);
}

TParser::TParser(const std::string& fileName)
    : FileName(fileName), Reader(std::make_unique<LineReader>(fileName)) {
    LoadNextLine();
}

TParser::~TParser() = default;

void TParser::LoadNextLine() {
    while (!FileExhausted && LineBegin == LineEnd) {
        // Marked exhausted until the read succeeds: a scanner whose read
        // failed then reads as ended instead of looking at a half line.
        FileExhausted = true;
        LineBegin = LineEnd = 0;
        if (!Reader->ReadLine(Line)) {
            Line.clear();
            return;
        }
        FileExhausted = false;
        ++LoadedLineCount;
        LineEnd = Line.size();
        while (LineBegin < LineEnd && IsBlank(Line[LineBegin]))
            ++LineBegin;
        while (LineEnd > LineBegin && IsBlank(Line[LineEnd - 1]))
            --LineEnd;
    }
}

bool TParser::AtEnd() const {
    return FileExhausted && LineBegin == LineEnd;
}

void TParser::ReadToken(std::string& token, TTokenKind& kind) {
    token.clear();
    if (AtEnd())
        return;
    const char* line = Line.data();
    size_t end = LineBegin + 1;
    switch (ClassOf(line[LineBegin])) {
    case ccLetter:
    case ccUnderscore:
        kind = tkIdentifier;
        while (end < LineEnd && IsIdentifierChar(line[end]))
            ++end;
        token.assign(line + LineBegin, end - LineBegin);
        break;
    case ccDigit:
        kind = tkNumber;
        while (end < LineEnd && IsDigit(line[end]))
            ++end;
        token.assign(line + LineBegin, end - LineBegin);
        break;
    case ccQuote: {
        kind = tkString;
        const void* quote = std::memchr(line + end, '\'', LineEnd - end);
        const size_t close = quote ? static_cast<const char*>(quote) - line : LineEnd;
        token.assign(line + end, close - end);
        end = quote ? close + 1 : LineEnd;
        break;
    }
    case ccSymbol:
        kind = tkSymbol;
        token.assign(1, line[LineBegin]);
        break;
    case ccOther:
        kind = tkOther;
        token.assign(1, line[LineBegin]);
        break;
    }
    SkipTo(end);
}

bool TParser::CurrentLineStartsWith(const char (&opener)[3]) const {
    return LineEnd - LineBegin >= 2 && Line[LineBegin] == opener[0] &&
           Line[LineBegin + 1] == opener[1];
}

void TParser::SkipTo(size_t offset) {
    LineBegin = offset;
    while (LineBegin < LineEnd && IsBlank(Line[LineBegin]))
        ++LineBegin;
    if (LineBegin == LineEnd)
        LoadNextLine();
}

// Units hold "//" and "(* *)" comments as well as brace comments; read as
// tokens, a "uses" in them would start a clause and a comment inside a
// clause would end it. They are skipped by characters, not by tokens, so an
// apostrophe inside them starts no string.
void TParser::SkipSlashAndStarComments() {
    for (;;) {
        if (CurrentLineStartsWith("//")) {
            SkipTo(LineEnd);
        } else if (CurrentLineStartsWith("(*")) {
            size_t from = LineBegin + 2;
            for (;;) {
                const std::string_view rest(Line.data() + from, LineEnd - from);
                const size_t close = rest.find("*)");
                if (close != std::string_view::npos) {
                    SkipTo(from + close + 2);
                    break;
                }
                SkipTo(LineEnd);
                if (AtEnd())
                    return;
                from = LineBegin;
            }
        } else {
            return;
        }
    }
}

void TParser::NextToken(std::string& token, TTokenKind& kind) {
    SkipSlashAndStarComments();
    ReadToken(token, kind);
    while (!AtEnd() && IsChar(token, '{')) {
        while (!AtEnd() && !IsChar(token, '}'))
            ReadToken(token, kind);
        SkipSlashAndStarComments();
        ReadToken(token, kind);
    }
}

void TParser::ReadRestOfLine(std::string& text) {
    text.assign(Line, LineBegin, LineEnd - LineBegin);
    SkipTo(LineEnd);
}

void TParser::Rewind() {
    // Ended first, so that a failed reopen leaves a scanner at its end.
    Reader.reset();
    FileExhausted = true;
    Line.clear();
    LineBegin = LineEnd = 0;
    Reader = std::make_unique<LineReader>(FileName);
    FileExhausted = false;
    LoadNextLine();
}

bool TParser::FindUses(std::string& token, TTokenKind& kind) {
    NextToken(token, kind);
    while (!AtEnd()) {
        if (kind == tkIdentifier && IsUsesWord(token))
            return true;
        NextToken(token, kind);
    }
    return false;
}

// Later Delphi versions name units with dots (System.SysUtils): while the
// token after the name is ".", it and the token after it belong to the name,
// and the token after those is the separator. A Delphi 2 uses clause never
// holds a "." there.
void TParser::ReadUnitName(std::string& unitName, std::string& separator, TTokenKind& kind) {
    NextToken(unitName, kind);
    NextToken(separator, kind);
    while (IsChar(separator, '.')) {
        std::string part;
        NextToken(part, kind);
        unitName += '.';
        unitName += part;
        NextToken(separator, kind);
    }
}

bool TParser::ReadUsesEntry(std::string& unitName, std::string& formName, std::string& fileName,
                            TUsesEntryKind& entryKind) {
    entryKind = uePlain;
    formName.clear();
    fileName.clear();
    TTokenKind kind = tkIdentifier;
    std::string token;
    ReadUnitName(unitName, token, kind);
    if (token == ",")
        return false;
    if (token != "in")
        return true;
    NextToken(fileName, kind);
    // Brace comments after the file name are read, not skipped: they name
    // the form.
    SkipSlashAndStarComments();
    ReadToken(token, kind);
    if (token == ",")
        return false;
    if (token == ";")
        return true;
    if (token != "{") {
        entryKind = ueStrayToken;
        return true;
    }
    ReadToken(formName, kind);
    ReadToken(token, kind);
    if (token != "}") {
        // A name, a colon, a type name and the closing brace.
        entryKind = ueTypedComment;
        ReadToken(token, kind);
        ReadToken(token, kind);
    }
    ReadToken(token, kind);
    return token != ",";
}

bool TParser::ReadUsesName(std::string& unitName) {
    TTokenKind kind = tkIdentifier;
    std::string token;
    ReadUnitName(unitName, token, kind);
    return token != ",";
}

} // namespace pembrill
