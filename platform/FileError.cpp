#include "platform/FileError.h"

#include <cerrno>
#include <cstring>

namespace pembrill {

FileError LastFileError() {
    return FileError(std::strerror(errno));
}

} // namespace pembrill
