#pragma once

#include <cstdio>
#include <string>

namespace pembrill {

// Reads a text file line by line with the line rule every reader of the
// program shares: CR ends a line and an LF right after it belongs to that
// line end; a bare LF is an ordinary character; Ctrl-Z (26) ends the file.
// A file whose text holds no CR at all is a Unix text file (projects checked
// out on Linux) and is read with LF as its line end instead. The text ends at
// the first Ctrl-Z, so a CR behind one does not count: what decides the line
// end is only what the reader would hand out.
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
    bool FileHoldsNoCr();
    void SkipLfAfterCr();

    std::FILE* File = nullptr;
    size_t BlockSize = 0;
    bool LfEndsLines = false;
    bool Finished = false;
    std::string Buffer;
    size_t BufferPos = 0;
};

} // namespace pembrill
