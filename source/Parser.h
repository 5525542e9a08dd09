#pragma once

#include "platform/ByteText.h"

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

namespace pembrill {

class LineReader;

enum TCharClass : uint8_t { ccLetter, ccDigit, ccSymbol, ccQuote, ccUnderscore, ccOther };

// The numeric values are stored and compared by callers.
enum TTokenKind : int { tkIdentifier = 0, tkNumber = 1, tkString = 2, tkSymbol = 3, tkOther = 4 };

enum TUsesEntryKind : int { uePlain = 0, ueTypedComment = 1, ueStrayToken = 2 };

// IsBlank, the blank test these share, is in platform/ByteText.h.
std::string TrimBlanks(const std::string& text);
TCharClass CharClass(char c);

// The one tokenizer: a line-based scanner over a text file, used for project
// files, unit sources and text form files. It knows comments ({ }, (* *) and
// //) only as far as NextToken skips them, and the shape of a uses clause.
//
// The token text and kind belong to the caller: every operation writes into
// the pair it is given, and at the end of the file the text becomes empty
// while the kind is left as it was.
class TParser {
public:
    // Opens the file and loads its first non-blank line. Throws FileError
    // when it cannot be opened.
    explicit TParser(const std::string& fileName);
    ~TParser();
    TParser(const TParser&) = delete;
    TParser& operator=(const TParser&) = delete;

    void ReadToken(std::string& token, TTokenKind& kind);
    // Skips "//" and "(* *)" comments where the current line begins with
    // one; NextToken does it before every token.
    void SkipSlashAndStarComments();
    void NextToken(std::string& token, TTokenKind& kind);
    bool AtEnd() const;
    void ReadRestOfLine(std::string& text);
    void Rewind();
    bool FindUses(std::string& token, TTokenKind& kind);
    // True for the last entry of the list.
    bool ReadUsesEntry(std::string& unitName, std::string& formName, std::string& fileName,
                       TUsesEntryKind& entryKind);
    // True for the last name of the clause.
    bool ReadUsesName(std::string& unitName);

    const std::string& SourceFileName() const { return FileName; }
    // The unread rest of the current line, without blanks at either end.
    std::string_view CurrentLine() const {
        return std::string_view(Line).substr(LineBegin, LineEnd - LineBegin);
    }
    // Non-blank lines loaded so far: a reader that sees it change after a
    // token knows that the token ended its line.
    size_t LinesLoaded() const { return LoadedLineCount; }

private:
    void LoadNextLine();
    // Makes Line[offset, LineEnd) the current line, without its leading
    // blanks, and loads the next line when nothing is left.
    void SkipTo(size_t offset);
    bool CurrentLineStartsWith(const char (&opener)[3]) const;
    // A unit name, dotted or not, and the separator after it.
    void ReadUnitName(std::string& unitName, std::string& separator, TTokenKind& kind);

    std::string FileName;
    std::unique_ptr<LineReader> Reader;
    bool FileExhausted = false;
    // CurrentLine is Line[LineBegin, LineEnd): kept as offsets so that taking
    // a token from the front of a long line costs nothing.
    std::string Line;
    size_t LineBegin = 0;
    size_t LineEnd = 0;
    size_t LoadedLineCount = 0;
};

} // namespace pembrill
