#pragma once

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>

namespace pembrill::fuzz {

// The readers take file names, so each input is written to files in a
// directory of the fuzzing process's own under $TMPDIR. The process works in
// that directory, so that the relative names a fuzzed project holds land in
// it too. It is removed when the process ends normally.
class FuzzDirectory {
public:
    static FuzzDirectory& Instance() {
        static FuzzDirectory directory;
        return directory;
    }

    const std::string& Path() const { return Root; }

    // Writes bytes to a file below the directory, making its folders. A name
    // that cannot be made (a folder where a file of that name exists) is
    // left out, as a file that is not there.
    std::string Write(const std::string& relative, std::string_view bytes) const {
        const std::filesystem::path file = std::filesystem::path(Root) / relative;
        std::error_code ignored;
        std::filesystem::create_directories(file.parent_path(), ignored);
        std::ofstream(file, std::ios::binary)
            .write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        return file.string();
    }

    // Removes what the last input left, so that inputs do not see each other.
    void Clear() const {
        for (const auto& entry : std::filesystem::directory_iterator(Root))
            std::filesystem::remove_all(entry.path());
    }

    FuzzDirectory(const FuzzDirectory&) = delete;
    FuzzDirectory& operator=(const FuzzDirectory&) = delete;

private:
    FuzzDirectory() {
        const char* tmp = std::getenv("TMPDIR");
        std::string pattern = std::string(tmp && *tmp ? tmp : "/tmp") + "/pembrill-fuzz-XXXXXX";
        if (!mkdtemp(pattern.data()))
            std::abort();
        Root = pattern;
        std::filesystem::current_path(Root);
    }
    ~FuzzDirectory() {
        std::error_code ignored;
        std::filesystem::current_path("/", ignored);
        std::filesystem::remove_all(Root, ignored);
    }

    std::string Root;
};

} // namespace pembrill::fuzz
