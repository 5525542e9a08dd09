#pragma once

#include <cstdio>
#include <string>

namespace pembrill {

// Reads a text file line by line with the line rule every reader of the
// program shares: CR LF, CR or LF ends a line, and Ctrl-Z (26) ends the file.
// Delphi writes CR LF; a file checked out on Linux, or edited on two systems,
// has LF or a mix, and reads line by line all the same.
// Lines may be of any length; only the current line is held in memory.
class LineReader {
public:
    // Throws FileError when the file cannot be opened (missing, no access,
    // a directory).
    explicit LineReader(const std::string& path);
    ~LineReader();
    LineReader(const LineReader&) = delete;
    LineReader& operator=(const LineReader&) = delete;

    // Gives the next line without its line end; false at the end of the
    // file. Throws FileError on a read error.
    bool ReadLine(std::string& line);

private:
    bool FillBuffer();
    void SkipLfAfterCr();

    std::FILE* File = nullptr;
    size_t BlockSize = 0;
    bool Finished = false;
    std::string Buffer;
    size_t BufferPos = 0;
};

} // namespace pembrill
