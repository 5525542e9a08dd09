#include "tools/DfmFile.h"

#include "platform/ByteText.h"
#include "platform/FileError.h"
#include "platform/Files.h"
#include "platform/TempFile.h"
#include "tools/FormFormatError.h"
#include "tools/FormStream.h"
#include "tools/FormTextWriter.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <system_error>

namespace pembrill {

namespace {

constexpr std::string_view Utf8Bom = "\xEF\xBB\xBF";
constexpr std::string_view BinarySignature = "TPF0";
constexpr char ResourceMarker = '\xFF';

bool StartsWithKeyword(std::string_view text, std::string_view keyword) {
    if (!StartsWithIgnoringAsciiCase(text, keyword))
        return false;
    if (text.size() == keyword.size())
        return true;
    const char next = text[keyword.size()];
    return !(next == '_' || (next >= '0' && next <= '9') || (next >= 'a' && next <= 'z') ||
             (next >= 'A' && next <= 'Z'));
}

// A text form opens, after blank space, with the keyword of its first object.
bool LooksLikeTextForm(std::string_view form) {
    const size_t start = form.find_first_not_of(" \t\r\n");
    if (start == std::string_view::npos)
        return false;
    const std::string_view text = form.substr(start);
    return StartsWithKeyword(text, "object") || StartsWithKeyword(text, "inherited") ||
           StartsWithKeyword(text, "inline");
}

std::string ReadWholeFile(const std::string& path) {
    std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(OpenFileForReading(path), &std::fclose);
    std::string bytes;
    char chunk[1 << 16];
    size_t count = 0;
    while ((count = std::fread(chunk, 1, sizeof chunk, file.get())) > 0)
        bytes.append(chunk, count);
    if (std::ferror(file.get()))
        throw LastFileError();
    return bytes;
}

} // namespace

void ConvertForm(std::string_view form, std::ostream& text) {
    const bool hasBom = form.substr(0, Utf8Bom.size()) == Utf8Bom;
    if (hasBom)
        form.remove_prefix(Utf8Bom.size());
    if (form.empty())
        throw FormFormatError("the file is empty");
    const bool binary = !hasBom && (form.front() == ResourceMarker ||
                                    form.substr(0, BinarySignature.size()) == BinarySignature);
    if (binary) {
        FormStream stream(form);
        FormTextWriter(stream, text).WriteForm();
        return;
    }
    if (!LooksLikeTextForm(form))
        throw FormFormatError("not a form file (neither a binary nor a text form)");
    text.write(form.data(), static_cast<std::streamsize>(form.size()));
}

std::string TextFileNameFor(const std::string& formPath) {
    const std::string name = FromFileSystemPath(ToFileSystemPath(formPath).filename());
    const size_t dot = name.rfind('.');
    return (dot == std::string::npos ? name : name.substr(0, dot)) + ".txt";
}

void ConvertDfmFile(const std::string& formPath, const std::string& textPath) {
    const std::string form = ReadWholeFile(formPath);
    ReplacementFile replacement(textPath);
    if (!replacement.Create())
        throw FileError("cannot create a temporary file beside " + textPath + ": " +
                        LastFileError().what());
    std::ofstream text(ToFileSystemPath(replacement.Path()), std::ios::binary | std::ios::trunc);
    ConvertForm(form, text);
    text.close();
    if (!text)
        throw FileError("cannot write " + textPath);
    std::error_code error;
    if (!replacement.MoveIntoPlace(error))
        throw FileError("cannot replace " + textPath + ": " + error.message());
}

} // namespace pembrill
