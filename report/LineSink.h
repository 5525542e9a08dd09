#pragma once

#include <string>

namespace pembrill {

// Where a section writer puts its lines: a print file in the program, a
// string in tests. Every line is ended by CR LF by the sink.
class LineSink {
public:
    virtual ~LineSink() = default;
    // Throws FileError when the line cannot be written.
    virtual void WriteLine(const std::string& line) = 0;
};

class StringLineSink : public LineSink {
public:
    void WriteLine(const std::string& line) override { Text += line + "\r\n"; }

    std::string Text;
};

} // namespace pembrill
