#include "platform/Files.h"

#include "platform/ByteText.h"
#include "platform/FileError.h"
#include "platform/TextDecoding.h"

#include <algorithm>
#include <cerrno>
#include <memory>
#include <string_view>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#include <windows.h>
#else
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace pembrill {

namespace {

// A drive's colon ends a directory part too on Windows: C:Unit1.pas.
#ifdef _WIN32
constexpr const char* Separators = "/\\:";
#else
constexpr const char* Separators = "/\\";
#endif

bool IsSeparator(char c) {
    return std::string_view(Separators).find(c) != std::string_view::npos;
}

// Index just past the last separator; 0 when there is none.
size_t NameStart(const std::string& path) {
    const size_t separator = path.find_last_of(Separators);
    return separator == std::string::npos ? 0 : separator + 1;
}

// Index of the extension's dot; npos when the name has no extension.
size_t ExtensionStart(const std::string& path) {
    const size_t dot = path.rfind('.');
    return dot == std::string::npos || dot < NameStart(path) ? std::string::npos : dot;
}

// The directory as the start of its entries' paths.
std::string EntryPrefix(const std::string& directory) {
    return directory.empty() || IsSeparator(directory.back()) ? directory : directory + "/";
}

#ifdef _WIN32

// The attributes of an existing file or directory; nullopt when none exists.
std::optional<WIN32_FILE_ATTRIBUTE_DATA> AttributesOf(const std::string& path) {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!::GetFileAttributesExW(ToWide(path).c_str(), GetFileExInfoStandard, &data))
        return std::nullopt;
    return data;
}

bool IsRegularFile(const WIN32_FILE_ATTRIBUTE_DATA& data) {
    return (data.dwFileAttributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_DEVICE)) == 0;
}

// Hidden and system files included, as a search with no attribute filter
// finds them.
std::vector<std::string> EntryNames(const std::string& directory) {
    std::vector<std::string> names;
    WIN32_FIND_DATAW found{};
    const HANDLE search = ::FindFirstFileW(ToWide(EntryPrefix(directory) + "*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return names;
    do {
        const std::string name = FromWide(found.cFileName);
        if (name != "." && name != "..")
            names.push_back(name);
    } while (::FindNextFileW(search, &found));
    ::FindClose(search);
    return names;
}

// errno for what CreateFileW failed with, as the C runtime's own open sets it.
int ErrnoOf(DWORD error) {
    switch (error) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_NAME:
    case ERROR_INVALID_DRIVE:
        return ENOENT;
    case ERROR_ACCESS_DENIED:
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
        return EACCES;
    case ERROR_TOO_MANY_OPEN_FILES:
        return EMFILE;
    default:
        return EINVAL;
    }
}

// Shared for deletion too: a print file the preview is still reading can
// then be removed when the session ends, and goes once it is closed.
std::FILE* OpenSharingDeletion(const std::string& path) {
    const HANDLE handle = ::CreateFileW(ToWide(path).c_str(), GENERIC_READ,
                                        FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                        nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        errno = ErrnoOf(::GetLastError());
        return nullptr;
    }
    const int descriptor =
        ::_open_osfhandle(reinterpret_cast<intptr_t>(handle), _O_RDONLY | _O_BINARY);
    if (descriptor < 0) {
        ::CloseHandle(handle);
        return nullptr;
    }
    std::FILE* file = ::_fdopen(descriptor, "rb");
    if (!file)
        ::_close(descriptor);
    return file;
}

// A device (NUL, CON, COM1) opens like a file but never ends or blocks.
void ThrowUnlessDiskFile(std::FILE* file) {
    const auto handle = reinterpret_cast<HANDLE>(::_get_osfhandle(::_fileno(file)));
    if (::GetFileType(handle) == FILE_TYPE_DISK)
        return;
    std::fclose(file);
    throw FileError("Not a regular file");
}

#else

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

#endif

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

#ifdef _WIN32

// The file system ignores case itself, and takes both slashes.
std::string NativePath(const std::string& name) {
    return name;
}

std::FILE* OpenFileForReading(const std::string& path) {
    const auto attributes = AttributesOf(path);
    if (attributes && (attributes->dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) {
        errno = EISDIR;
        throw LastFileError();
    }
    std::FILE* file = OpenSharingDeletion(path);
    if (!file)
        throw LastFileError();
    ThrowUnlessDiskFile(file);
    return file;
}

bool FileExists(const std::string& path) {
    const auto attributes = AttributesOf(path);
    return attributes && IsRegularFile(*attributes);
}

// The system counts in 100 ns since 1601; the result counts since 1970, as on
// POSIX.
std::optional<std::chrono::nanoseconds> LastWriteTime(const std::string& path) {
    const auto attributes = AttributesOf(path);
    if (!attributes || !IsRegularFile(*attributes))
        return std::nullopt;
    constexpr int64_t TicksFrom1601To1970 = 116444736000000000;
    const FILETIME& time = attributes->ftLastWriteTime;
    const uint64_t ticks = (uint64_t{time.dwHighDateTime} << 32) | time.dwLowDateTime;
    return std::chrono::nanoseconds((static_cast<int64_t>(ticks) - TicksFrom1601To1970) * 100);
}

bool SetWorkingDirectory(const std::string& directory) {
    return ::SetCurrentDirectoryW(ToWide(directory).c_str()) != 0;
}

std::FILE* OpenFile(const std::string& path, const char* mode) {
    return ::_wfopen(ToWide(path).c_str(), ToWide(mode).c_str());
}

std::filesystem::path ToFileSystemPath(const std::string& name) {
    return ToWide(name);
}

std::string FromFileSystemPath(const std::filesystem::path& path) {
    return FromWide(path.wstring());
}

#else

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

bool SetWorkingDirectory(const std::string& directory) {
    return ::chdir(directory.c_str()) == 0;
}

std::FILE* OpenFile(const std::string& path, const char* mode) {
    return std::fopen(path.c_str(), mode);
}

std::filesystem::path ToFileSystemPath(const std::string& name) {
    return name;
}

std::string FromFileSystemPath(const std::filesystem::path& path) {
    return path.string();
}

#endif

std::vector<std::string> FilesWithExtension(const std::string& directory,
                                            const std::string& extension) {
    std::vector<std::string> names = EntryNames(directory);
    const std::string prefix = EntryPrefix(directory);
    std::erase_if(names, [&](const std::string& name) {
        return !EqualIgnoringAsciiCase(ExtractFileExt(name), extension) ||
               !FileExists(prefix + name);
    });
    return names;
}

} // namespace pembrill
