#include "platform/Files.h"

#include "platform/ByteText.h"
#include "platform/FileError.h"

#include <algorithm>
#include <cerrno>
#include <memory>

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace pembrill {

namespace {

bool IsSeparator(char c) {
    return c == '/' || c == '\\';
}

// Index just past the last separator; 0 when there is none.
size_t NameStart(const std::string& path) {
    const size_t separator = path.find_last_of("/\\");
    return separator == std::string::npos ? 0 : separator + 1;
}

// Index of the extension's dot; npos when the name has no extension.
size_t ExtensionStart(const std::string& path) {
    const size_t dot = path.rfind('.');
    return dot == std::string::npos || dot < NameStart(path) ? std::string::npos : dot;
}

bool StatOf(const std::string& path, struct stat& info) {
    return ::stat(path.c_str(), &info) == 0;
}

bool Exists(const std::string& path) {
    struct stat info;
    return StatOf(path, info);
}

bool IsDirectory(const std::string& path) {
    struct stat info;
    return StatOf(path, info) && S_ISDIR(info.st_mode);
}

struct DirectoryCloser {
    void operator()(DIR* directory) const { ::closedir(directory); }
};

using DirectoryHandle = std::unique_ptr<DIR, DirectoryCloser>;

std::vector<std::string> EntryNames(const std::string& directory) {
    std::vector<std::string> names;
    const DirectoryHandle handle(::opendir(directory.c_str()));
    if (!handle)
        return names;
    while (const dirent* entry = ::readdir(handle.get())) {
        const std::string name = entry->d_name;
        if (name != "." && name != "..")
            names.push_back(name);
    }
    return names;
}

// The entry of `directory` (empty for the current one, else ending in '/')
// that `component` names when case is ignored. An exact match wins; among
// entries differing only in case the first in byte order is taken, so the
// answer does not depend on the order of the directory. A component that
// must lead further has to be a directory.
std::optional<std::string> MatchInDirectory(const std::string& directory,
                                            const std::string& component, bool mustBeDirectory) {
    const auto fits = [&](const std::string& name) {
        const std::string path = directory + name;
        return mustBeDirectory ? IsDirectory(path) : Exists(path);
    };
    if (fits(component))
        return component;
    std::vector<std::string> candidates = EntryNames(directory.empty() ? "." : directory);
    std::sort(candidates.begin(), candidates.end());
    for (const std::string& name : candidates) {
        if (EqualIgnoringAsciiCase(name, component) && fits(name))
            return name;
    }
    return std::nullopt;
}

std::optional<std::string> FindIgnoringCase(const std::string& path) {
    std::string found;
    size_t start = 0;
    while (start <= path.size()) {
        const size_t end = std::min(path.find('/', start), path.size());
        const bool last = end == path.size();
        std::string component = path.substr(start, end - start);
        if (!component.empty() && component != "." && component != "..") {
            const auto match = MatchInDirectory(found, component, !last);
            if (!match)
                return std::nullopt;
            component = *match;
        }
        found += component;
        if (!last)
            found += '/';
        start = end + 1;
    }
    return found;
}

void ThrowUnlessRegularFile(int descriptor) {
    struct stat info {};
    if (::fstat(descriptor, &info) != 0)
        throw LastFileError();
    if (S_ISREG(info.st_mode))
        return;
    if (!S_ISDIR(info.st_mode))
        throw FileError("Not a regular file");
    errno = EISDIR;
    throw LastFileError();
}

} // namespace

bool HasDirectoryPart(const std::string& name) {
    return std::any_of(name.begin(), name.end(), IsSeparator);
}

std::string DirectoryOf(const std::string& path) {
    return path.substr(0, NameStart(path));
}

std::string FileNameOf(const std::string& path) {
    return path.substr(NameStart(path));
}

std::string ChangeFileExt(const std::string& path, const std::string& newExtension) {
    return path.substr(0, std::min(ExtensionStart(path), path.size())) + newExtension;
}

std::string ExtractFileExt(const std::string& path) {
    const size_t dot = ExtensionStart(path);
    return dot == std::string::npos ? std::string() : path.substr(dot);
}

std::string NativePath(const std::string& name) {
    std::string written = name;
    std::replace(written.begin(), written.end(), '\\', '/');
    if (written.empty() || Exists(written))
        return written;
    return FindIgnoringCase(written).value_or(written);
}

std::FILE* OpenFileForReading(const std::string& path) {
    const int descriptor = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (descriptor < 0)
        throw LastFileError();
    try {
        ThrowUnlessRegularFile(descriptor);
        // Reading a regular file never blocks; the flag was for open() alone.
        if (::fcntl(descriptor, F_SETFL, 0) != 0)
            throw LastFileError();
        if (std::FILE* file = ::fdopen(descriptor, "rb"))
            return file;
        throw LastFileError();
    } catch (...) {
        ::close(descriptor);
        throw;
    }
}

bool FileExists(const std::string& path) {
    struct stat info;
    return StatOf(path, info) && S_ISREG(info.st_mode);
}

std::optional<std::chrono::nanoseconds> LastWriteTime(const std::string& path) {
    struct stat info;
    if (!StatOf(path, info) || !S_ISREG(info.st_mode))
        return std::nullopt;
    return std::chrono::seconds(info.st_mtim.tv_sec) +
           std::chrono::nanoseconds(info.st_mtim.tv_nsec);
}

std::vector<std::string> FilesWithExtension(const std::string& directory,
                                            const std::string& extension) {
    std::vector<std::string> names = EntryNames(directory);
    const std::string prefix =
        directory.empty() || IsSeparator(directory.back()) ? directory : directory + "/";
    std::erase_if(names, [&](const std::string& name) {
        return !EqualIgnoringAsciiCase(ExtractFileExt(name), extension) ||
               !FileExists(prefix + name);
    });
    return names;
}

bool SetWorkingDirectory(const std::string& directory) {
    return ::chdir(directory.c_str()) == 0;
}

} // namespace pembrill
