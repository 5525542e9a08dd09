#pragma once

#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>

namespace pembrill::test {

// A fresh directory under the system's temporary directory, removed with
// everything in it when the test ends.
class TempDir {
public:
    TempDir() {
        std::random_device random;
        const auto base = std::filesystem::temp_directory_path();
        for (int attempt = 0; attempt < 100 && Path.empty(); ++attempt) {
            const auto candidate = base / ("pembrill-test-" + std::to_string(random()));
            // With slashes on Windows too, so that paths the tests build and
            // paths the program builds from them read alike.
            if (std::filesystem::create_directory(candidate))
                Path = candidate.generic_string();
        }
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
        return file.generic_string();
    }

    std::string operator/(const std::string& relative) const { return Path + "/" + relative; }

    std::string Path;
};

// A file's bytes; "" when it cannot be read.
inline std::string FileBytes(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), {});
}

// Joins lines with CR LF, as Delphi writes its files.
inline std::string CrLf(std::initializer_list<std::string> lines) {
    std::string text;
    for (const auto& line : lines)
        text += line + "\r\n";
    return text;
}

} // namespace pembrill::test
