#pragma once

#include <cstdio>
#include <memory>
#include <string>

namespace pembrill::test {

// What a shell command writes on stdout, for reading back a PDF with the
// poppler tools.
inline std::string CommandOutput(const std::string& command) {
    std::string output;
    std::unique_ptr<FILE, int (*)(FILE*)> pipe(popen(command.c_str(), "r"), pclose);
    char buffer[4096];
    while (pipe && fgets(buffer, sizeof buffer, pipe.get()) != nullptr)
        output += buffer;
    return output;
}

} // namespace pembrill::test
