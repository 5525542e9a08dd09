#include "forms/ObjectReader.h"

#include "platform/FileError.h"
#include "platform/MessageBox.h"
#include "source/Parser.h"

#include <algorithm>
#include <memory>
#include <vector>

namespace pembrill {

namespace {

// Delphi writes the words of object blocks bare; a string item that reads
// 'end' or 'object' is a property line like any other.
bool IsWord(const std::string& token, TTokenKind kind, const char* word) {
    return kind == tkIdentifier && token == word;
}

bool OpensObject(const std::string& token, TTokenKind kind) {
    return IsWord(token, kind, "object") || IsWord(token, kind, "inherited") ||
           IsWord(token, kind, "inline");
}

//     Panels = <      opens a collection value
//     end>            closes the innermost one
//     Columns = <>    is an empty one and opens nothing
// Inside a collection every line is a property line of the collection's
// owner, its "item", "end" and "object" lines included.
int CollectionDepthChange(std::string_view line) {
    if (line.ends_with("<>"))
        return 0;
    if (line.ends_with('<'))
        return 1;
    if (line.ends_with('>'))
        return -1;
    return 0;
}

// One line of the file, read by its first token.
struct FormLine {
    std::string Token;
    TTokenKind Kind = tkIdentifier;
    // The line held nothing but its first token.
    bool OneToken = false;
    int DepthChange = 0;
};

FormLine ReadFirstToken(TParser& parser) {
    FormLine line;
    line.DepthChange = CollectionDepthChange(parser.CurrentLine());
    const size_t linesBefore = parser.LinesLoaded();
    parser.ReadToken(line.Token, line.Kind);
    line.OneToken = parser.AtEnd() || parser.LinesLoaded() != linesBefore;
    return line;
}

// The rest of a line after its first token; a line of one token has none,
// and the scanner already stands on the next line, which stays unread.
std::string RestOfLine(TParser& parser, const FormLine& line) {
    std::string rest;
    if (!line.OneToken)
        parser.ReadRestOfLine(rest);
    return rest;
}

//     object line:   object Form1: TForm1
//     item text:     Form1:  TForm1
// The text after the colon keeps its own leading blank.
std::string ItemText(const std::string& rest) {
    const size_t colon = rest.find(':');
    if (colon == std::string::npos)
        return rest;
    return rest.substr(0, colon) + ": " + rest.substr(colon + 1);
}

int AddObjectItem(TParser& parser, const FormLine& line, int parent, ObjectTree& tree) {
    return tree.Add(parent, ItemText(RestOfLine(parser, line)));
}

//     Font.Color = clBlack   ->   Font .Color = clBlack
//     'Two'                  ->   Two
std::string PropertyEntry(TParser& parser, const FormLine& line) {
    if (line.OneToken)
        return line.Token;
    return line.Token + " " + TrimBlanks(RestOfLine(parser, line));
}

// The scanner after the file's first token; null after a message when the
// file cannot be opened or read.
std::unique_ptr<TParser> OpenTextFormFile(const std::string& path, FormLine& first) {
    try {
        auto parser = std::make_unique<TParser>(path);
        first = ReadFirstToken(*parser);
        return parser;
    } catch (const FileError&) {
        ShowMessage(MessageKind::Error, "Can not open file:\n\r" + path);
        return nullptr;
    }
}

// The open blocks are kept on a stack of their own rather than on the call
// stack, so that no nesting in a file can exhaust it.
void ReadObject(TParser& parser, const FormLine& objectLine, int parent, ObjectTree& tree) {
    std::vector<int> open{AddObjectItem(parser, objectLine, parent, tree)};
    int collectionDepth = 0;
    while (!parser.AtEnd()) {
        const FormLine line = ReadFirstToken(parser);
        if (collectionDepth > 0 ||
            !(IsWord(line.Token, line.Kind, "end") || OpensObject(line.Token, line.Kind))) {
            tree.Properties(open.back()).push_back(PropertyEntry(parser, line));
            collectionDepth = std::max(0, collectionDepth + line.DepthChange);
        } else if (OpensObject(line.Token, line.Kind)) {
            open.push_back(AddObjectItem(parser, line, open.back(), tree));
        } else {
            open.pop_back();
            if (open.empty())
                return;
        }
    }
}

} // namespace

void ReadTextFormFile(const std::string& path, ObjectTree& tree) {
    FormLine first;
    const std::unique_ptr<TParser> parser = OpenTextFormFile(path, first);
    if (!parser)
        return;
    if (first.Token != "object" && first.Token != "inherited" && first.Token != "inline") {
        ShowMessage(MessageKind::Error, "File " + path + " has unrecognized format.");
        return;
    }
    try {
        ReadObject(*parser, first, 0, tree);
    } catch (const FileError& error) {
        // What was read before the failure stays in the tree.
        ShowMessage(MessageKind::Error, "Could not read the file " + path + ":\r\r" + error.what());
    }
}

} // namespace pembrill
