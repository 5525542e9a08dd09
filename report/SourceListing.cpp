#include "report/SourceListing.h"

#include "platform/FileError.h"
#include "platform/LineReader.h"
#include "platform/MessageBox.h"

#include <cstdio>
#include <memory>

namespace pembrill {

namespace {

std::unique_ptr<LineReader> OpenSource(const std::string& path) {
    try {
        return std::make_unique<LineReader>(path);
    } catch (const FileError&) {
        return nullptr;
    }
}

} // namespace

void WriteSourceListing(const std::string& path, bool lineNumbers, LineSink& sink) {
    const auto reader = OpenSource(path);
    if (!reader) {
        ShowMessage(MessageKind::Error, "Could not open source file\r\r" + path);
        sink.WriteLine("");
        sink.WriteLine("");
        sink.WriteLine("ERROR: Could not open source file");
        return;
    }
    std::string line;
    for (long number = 1; reader->ReadLine(line); ++number) {
        if (!lineNumbers) {
            sink.WriteLine(line);
            continue;
        }
        char prefix[32];
        std::snprintf(prefix, sizeof prefix, "%4ld: ", number);
        sink.WriteLine(prefix + line);
    }
}

} // namespace pembrill
