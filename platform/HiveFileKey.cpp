#include "platform/HiveFileKey.h"

#include "platform/Files.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string_view>
#include <utility>

#ifdef _WIN32
#include <windows.h>

#include "platform/TextDecoding.h"
#else
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace pembrill {

namespace {

#ifdef _WIN32

// The file's bytes; "" when it does not exist. nullopt, with errno set, when
// it cannot be read.
std::optional<std::string> ReadHiveText(const std::string& path) {
    std::FILE* file = OpenFile(path, "rb");
    if (!file)
        return errno == ENOENT ? std::optional<std::string>("") : std::nullopt;
    std::string text;
    char buffer[65536];
    size_t count = 0;
    while ((count = std::fread(buffer, 1, sizeof buffer, file)) > 0)
        text.append(buffer, count);
    const bool failed = std::ferror(file) != 0;
    std::fclose(file);
    if (failed)
        errno = EIO;
    return failed ? std::nullopt : std::optional<std::string>(text);
}

bool WriteAll(HANDLE file, std::string_view text) {
    while (!text.empty()) {
        DWORD written = 0;
        const auto chunk = static_cast<DWORD>(std::min<size_t>(text.size(), 1 << 30));
        if (!::WriteFile(file, text.data(), chunk, &written, nullptr) || written == 0)
            return false;
        text.remove_prefix(written);
    }
    return true;
}

// As on POSIX: the new text goes to a file beside the hive, to the disk, and
// then takes the hive's name in one step, so that the hive is always the old
// file or the new one. A hive made read-only is not replaced.
bool ReplaceFile(const std::string& path, const std::string& text) {
    const std::wstring hive = ToWide(path);
    const DWORD attributes = ::GetFileAttributesW(hive.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY)) {
        errno = EACCES;
        return false;
    }
    const std::wstring temporary = hive + L".new";
    const HANDLE file = ::CreateFileW(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                      FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        errno = EACCES;
        return false;
    }
    const bool written = WriteAll(file, text) && ::FlushFileBuffers(file);
    ::CloseHandle(file);
    if (written && ::MoveFileExW(temporary.c_str(), hive.c_str(),
                                 MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        return true;
    ::DeleteFileW(temporary.c_str());
    errno = EIO;
    return false;
}

#else

class FileDescriptor {
public:
    explicit FileDescriptor(int descriptor) : Descriptor(descriptor) {}
    ~FileDescriptor() {
        if (Descriptor != -1)
            ::close(Descriptor);
    }
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;

    int Get() const { return Descriptor; }
    // Some file systems report a failed write only when the file is closed.
    bool Close() { return ::close(std::exchange(Descriptor, -1)) == 0; }

private:
    int Descriptor;
};

// The file's bytes; "" when it does not exist. nullopt, with errno set, when
// it cannot be read.
std::optional<std::string> ReadHiveText(const std::string& path) {
    FileDescriptor file(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
    if (file.Get() == -1)
        return errno == ENOENT ? std::optional<std::string>("") : std::nullopt;
    std::string text;
    char buffer[65536];
    for (;;) {
        const ssize_t count = ::read(file.Get(), buffer, sizeof buffer);
        if (count == 0)
            return text;
        if (count > 0)
            text.append(buffer, static_cast<size_t>(count));
        else if (errno != EINTR)
            return std::nullopt;
    }
}

bool WriteAll(int descriptor, std::string_view text) {
    while (!text.empty()) {
        const ssize_t written = ::write(descriptor, text.data(), text.size());
        if (written > 0)
            text.remove_prefix(static_cast<size_t>(written));
        else if (errno != EINTR)
            return false;
    }
    return true;
}

std::string DirectoryPart(const std::string& path) {
    const size_t slash = path.rfind('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

// Without this the rename itself might not survive a power cut.
void SyncDirectoryOf(const std::string& path) {
    FileDescriptor directory(
        ::open(DirectoryPart(path).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (directory.Get() != -1)
        ::fsync(directory.Get());
}

// A hive that is a link is replaced where it points to, so the link stays.
std::string ResolvedPath(const std::string& path) {
    const std::unique_ptr<char, decltype(&::free)> resolved(::realpath(path.c_str(), nullptr),
                                                            &::free);
    return resolved ? std::string(resolved.get()) : path;
}

// A crash, a full disk or a refused write in the middle of writing must not
// cost the user the values already stored. So the new text goes to a
// temporary file beside the hive, is synced to the disk, and only then takes
// the hive's name with rename(), which replaces it in one step: the hive is
// always the old file or the new one, never a part of either. The file keeps
// its permissions, and one made read-only is not replaced.
bool ReplaceFile(const std::string& hivePath, const std::string& text) {
    const std::string path = ResolvedPath(hivePath);
    struct stat old;
    const bool exists = ::stat(path.c_str(), &old) == 0;
    if (exists && ::access(path.c_str(), W_OK) != 0)
        return false;
    std::string temporary = path + ".XXXXXX";
    FileDescriptor file(::mkostemp(temporary.data(), O_CLOEXEC));
    if (file.Get() == -1)
        return false;
    const bool replaced = (!exists || ::fchmod(file.Get(), old.st_mode & 07777) == 0) &&
                          WriteAll(file.Get(), text) && ::fsync(file.Get()) == 0 && file.Close() &&
                          ::rename(temporary.c_str(), path.c_str()) == 0;
    if (!replaced) {
        const int error = errno;
        ::unlink(temporary.c_str());
        errno = error;
        return false;
    }
    SyncDirectoryOf(path);
    return true;
}

#endif

} // namespace

std::unique_ptr<HiveFileKey> HiveFileKey::Open(const std::string& hivePath,
                                               const std::string& keyName, RegistryAccess access) {
    const auto text = ReadHiveText(hivePath);
    if (!text || !RegistryHive(*text).HasKey(keyName))
        return nullptr;
    return std::unique_ptr<HiveFileKey>(new HiveFileKey(hivePath, keyName, access));
}

std::unique_ptr<HiveFileKey> HiveFileKey::Create(const std::string& hivePath,
                                                 const std::string& keyName) {
    const auto text = ReadHiveText(hivePath);
    if (!text)
        return nullptr;
    RegistryHive hive(*text);
    if (!hive.HasKey(keyName)) {
        hive.AddKey(keyName);
        std::error_code error;
        std::filesystem::create_directories(ToFileSystemPath(hivePath).parent_path(), error);
        if (error || !ReplaceFile(hivePath, hive.Text()))
            return nullptr;
    }
    return std::unique_ptr<HiveFileKey>(
        new HiveFileKey(hivePath, keyName, RegistryAccess::ReadWrite));
}

std::string HiveFileKey::ReadString(const std::string& name) {
    const auto value = Find(name);
    if (!value)
        return "";
    const auto text = value->AsString();
    if (!text)
        throw RegistryError("The registry value " + name + " of " + KeyName + " is not a string");
    return *text;
}

uint32_t HiveFileKey::ReadInteger(const std::string& name) {
    const auto value = Find(name);
    if (!value)
        throw RegistryError("The registry value " + name + " of " + KeyName + " does not exist");
    const auto number = value->AsDword();
    if (!number)
        throw RegistryError("The registry value " + name + " of " + KeyName + " is not a DWORD");
    return *number;
}

void HiveFileKey::WriteString(const std::string& name, const std::string& value) {
    Store(name, RegistryValue::FromString(value));
}

void HiveFileKey::WriteInteger(const std::string& name, uint32_t value) {
    Store(name, RegistryValue::FromDword(value));
}

RegistryHive HiveFileKey::Load() const {
    const auto text = ReadHiveText(HivePath);
    if (!text)
        Fail("Cannot read");
    return RegistryHive(*text);
}

std::optional<RegistryValue> HiveFileKey::Find(const std::string& name) const {
    return Load().FindValue(KeyName, name);
}

void HiveFileKey::Store(const std::string& name, const RegistryValue& value) {
    if (Access == RegistryAccess::Read)
        throw RegistryError("The registry key " + KeyName + " is open for reading only");
    RegistryHive hive = Load();
    if (!hive.HasKey(KeyName))
        throw RegistryError("The registry key " + KeyName + " no longer exists");
    hive.SetValue(KeyName, name, value);
    if (!ReplaceFile(HivePath, hive.Text()))
        Fail("Cannot write");
}

void HiveFileKey::Fail(const std::string& what) const {
    throw RegistryError(what + " " + HivePath + ": " + std::strerror(errno));
}

} // namespace pembrill
