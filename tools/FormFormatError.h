#pragma once

#include <stdexcept>

namespace pembrill {

// Raised when a form file is not what it claims to be: truncated, corrupt or
// of an unknown kind. what() says what is wrong and, for binary forms, at
// which byte offset.
class FormFormatError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

} // namespace pembrill
