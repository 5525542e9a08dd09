#pragma once

#include <stdexcept>
#include <string>

namespace pembrill {

// Raised when a file cannot be opened or read. what() is the platform's own
// text for the failure (strerror on POSIX), which callers show when the
// program has no message of its own for the situation.
class FileError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// A FileError carrying the text of the current errno.
FileError LastFileError();

} // namespace pembrill
