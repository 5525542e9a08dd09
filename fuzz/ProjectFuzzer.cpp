// Opening a project: a fuzzed project file with fuzzed unit files beside it.
//
// Input: the project file's bytes, then any number of files, each introduced
// by a line "--- NAME" (NAME a relative file name of letters, digits, "_",
// "." and "/"; LF ends the line):
//
//     program P;
//     uses Unit1 in 'Unit1.pas' {Form1};
//     --- Unit1.pas
//     unit Unit1; uses Unit2;
//
// The project file is P.dpr; everything is written to the fuzzing directory,
// which is also the working directory.

#include "FuzzCheck.h"
#include "FuzzDirectory.h"
#include "platform/FileError.h"
#include "platform/MessageBox.h"
#include "source/Project.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

using namespace pembrill;

namespace {

constexpr std::string_view FileMarker = "\n--- ";

class SilentMessageSink : public MessageSink {
public:
    void Show(MessageKind, const std::string&) override {}
};

// Names that stay inside the fuzzing directory.
bool IsSafeName(std::string_view name) {
    if (name.empty() || name.size() > 64 || name.front() == '/' ||
        name.find("..") != std::string_view::npos)
        return false;
    for (const char c : name) {
        const bool plain = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') ||
                           (c >= '0' && c <= '9') || c == '_' || c == '.' || c == '/';
        if (!plain)
            return false;
    }
    return true;
}

// Writes the project file and every unit file of the input; the project
// file's name.
std::string WriteFiles(std::string_view input) {
    const auto& directory = fuzz::FuzzDirectory::Instance();
    size_t marker = input.find(FileMarker);
    const std::string project = directory.Write("P.dpr", input.substr(0, marker));
    while (marker != std::string_view::npos) {
        const size_t nameBegin = marker + FileMarker.size();
        const size_t nameEnd = std::min(input.find('\n', nameBegin), input.size());
        const std::string_view name = input.substr(nameBegin, nameEnd - nameBegin);
        marker = input.find(FileMarker, nameEnd);
        const size_t bodyBegin = std::min(nameEnd + 1, input.size());
        const std::string_view body =
            input.substr(bodyBegin, std::min(marker, input.size()) - bodyBegin);
        if (IsSafeName(name) && name != "P.dpr")
            directory.Write(std::string(name), body);
    }
    return project;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz::FuzzDirectory::Instance().Clear();
    const std::string project =
        WriteFiles(std::string_view(reinterpret_cast<const char*>(data), size));

    SilentMessageSink messages;
    ScopedMessageSink install(messages);
    ProjectModel model;
    model.ProjectFileName = project;
    MemoryStringList source(true), unused(true), show(true), suppress(true);
    ProjectLists lists{source, unused, show, suppress};
    try {
        ReadProject(model, lists);
    } catch (const FileError&) {
        // The main window shows it as a message.
        return 0;
    }

    // One source entry per unit, and the project's own, selected.
    FUZZ_CHECK(model.FormNames.size() == model.UnitNames.size());
    FUZZ_CHECK(model.UnitFiles.size() == model.UnitNames.size());
    FUZZ_CHECK(static_cast<size_t>(source.Count()) == model.UnitNames.size() + 1);
    FUZZ_CHECK(static_cast<size_t>(show.Count()) == model.UnitNames.size());
    return 0;
}
