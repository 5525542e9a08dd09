#include "platform/TempFile.h"

#include <cstdlib>
#include <sys/stat.h>
#include <unistd.h>

namespace pembrill {

namespace {

std::string TempDirectory() {
    const char* directory = std::getenv("TMPDIR");
    return directory && *directory ? directory : "/tmp";
}

} // namespace

std::FILE* CreateTempFile(const std::string& prefix, const std::string& suffix,
                          std::string& path) {
    std::string pattern = TempDirectory() + "/" + prefix + "XXXXXX" + suffix;
    // mkstemps creates the file with mode 0600 whatever the umask.
    const int descriptor = mkstemps(pattern.data(), static_cast<int>(suffix.size()));
    if (descriptor < 0)
        return nullptr;
    std::FILE* file = fdopen(descriptor, "wb");
    if (!file) {
        close(descriptor);
        unlink(pattern.c_str());
        return nullptr;
    }
    path = pattern;
    return file;
}

} // namespace pembrill
