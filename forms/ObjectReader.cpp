#include "forms/ObjectReader.h"

#include "platform/FileError.h"
#include "platform/MessageBox.h"
#include "source/Parser.h"

#include <memory>
#include <vector>

namespace pembrill {

namespace {

//     object line:   object Form1: TForm1
//     item text:     Form1:  TForm1
// The text after the colon keeps its own leading blank.
std::string ItemText(const std::string& rest) {
    const size_t colon = rest.find(':');
    if (colon == std::string::npos)
        return rest;
    return rest.substr(0, colon) + ": " + rest.substr(colon + 1);
}

int AddObjectItem(TParser& parser, int parent, ObjectTree& tree) {
    std::string rest;
    parser.ReadRestOfLine(rest);
    return tree.Add(parent, ItemText(rest));
}

//     Font.Color = clBlack   ->   Font .Color = clBlack
// A line of one token has no rest of its own: the scanner has already moved
// to the next line, which becomes the rest.
void AddProperty(TParser& parser, const std::string& token, std::vector<std::string>& properties) {
    std::string rest;
    parser.ReadRestOfLine(rest);
    properties.push_back(token + " " + TrimBlanks(rest));
}

// The scanner after the file's first token; null after a message when the
// file cannot be opened or read.
std::unique_ptr<TParser> OpenTextFormFile(const std::string& path, std::string& token) {
    try {
        auto parser = std::make_unique<TParser>(path);
        TTokenKind kind = tkIdentifier;
        parser->ReadToken(token, kind);
        return parser;
    } catch (const FileError&) {
        ShowMessage(MessageKind::Error, "Can not open file:\n\r" + path);
        return nullptr;
    }
}

} // namespace

// The open blocks are kept on a stack of their own rather than on the call
// stack, so that no nesting in a file can exhaust it.
void ReadObject(TParser& parser, int parent, ObjectTree& tree) {
    std::vector<int> open{AddObjectItem(parser, parent, tree)};
    std::string token;
    TTokenKind kind = tkIdentifier;
    parser.ReadToken(token, kind);
    for (;;) {
        if (parser.AtEnd() || token == "end") {
            open.pop_back();
            if (open.empty())
                return;
        } else if (token == "object" || token == "inherited") {
            open.push_back(AddObjectItem(parser, open.back(), tree));
        } else {
            AddProperty(parser, token, tree.Properties(open.back()));
        }
        parser.ReadToken(token, kind);
    }
}

void ReadTextFormFile(const std::string& path, ObjectTree& tree) {
    std::string token;
    const std::unique_ptr<TParser> parser = OpenTextFormFile(path, token);
    if (!parser)
        return;
    if (token != "object" && token != "inherited") {
        ShowMessage(MessageKind::Error, "File " + path + " has unrecognized format.");
        return;
    }
    try {
        ReadObject(*parser, 0, tree);
    } catch (const FileError& error) {
        // What was read before the failure stays in the tree.
        ShowMessage(MessageKind::Error, "Could not read the file " + path + ":\r\r" + error.what());
    }
}

} // namespace pembrill
