#pragma once

#include <filesystem>
#include <fstream>
#include <string>

namespace pembrill::test {

// A fresh directory under the system's temporary directory, removed with
// everything in it when the test ends.
class TempDir {
public:
    TempDir() {
        std::string pattern = (std::filesystem::temp_directory_path() / "pembrill-test-XXXXXX");
        Path = mkdtemp(pattern.data()) ? pattern : std::string();
    }
    ~TempDir() {
        std::error_code ignored;
        std::filesystem::remove_all(Path, ignored);
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    // Writes bytes to a file below the directory, making its folders.
    std::string Write(const std::string& relative, const std::string& bytes) const {
        const std::filesystem::path file = std::filesystem::path(Path) / relative;
        std::filesystem::create_directories(file.parent_path());
        std::ofstream(file, std::ios::binary) << bytes;
        return file.string();
    }

    std::string operator/(const std::string& relative) const { return Path + "/" + relative; }

    std::string Path;
};

// Joins lines with CR LF, as Delphi writes its files.
inline std::string CrLf(std::initializer_list<std::string> lines) {
    std::string text;
    for (const auto& line : lines)
        text += line + "\r\n";
    return text;
}

} // namespace pembrill::test
