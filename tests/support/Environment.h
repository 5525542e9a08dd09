#pragma once

#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <string>

#ifdef _WIN32
#include <windows.h>

#include "platform/TextDecoding.h"
#endif

namespace pembrill::test {

// setenv and unsetenv where Windows has neither; there a value beyond the
// ANSI code page is kept whole.
inline void SetEnvironment(const std::string& name, const std::string& value) {
#ifdef _WIN32
    ::_wputenv_s(ToWide(name).c_str(), ToWide(value).c_str());
#else
    ::setenv(name.c_str(), value.c_str(), 1);
#endif
}

inline void UnsetEnvironment(const std::string& name) {
#ifdef _WIN32
    ::_putenv_s(name.c_str(), "");
#else
    ::unsetenv(name.c_str());
#endif
}

// Gives a file the last-write time `sinceEpoch` after 1970 (to the
// nanosecond where the file system keeps it).
inline void SetLastWriteTime(const std::string& path, std::chrono::nanoseconds sinceEpoch) {
#ifdef _WIN32
    // In the system's 100 ns since 1601: the C runtime sets whole seconds only.
    const uint64_t ticks = static_cast<uint64_t>(sinceEpoch.count() / 100) + 116444736000000000;
    const FILETIME time{static_cast<DWORD>(ticks), static_cast<DWORD>(ticks >> 32)};
    const HANDLE file = ::CreateFileA(path.c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ, nullptr,
                                      OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    ::SetFileTime(file, nullptr, nullptr, &time);
    ::CloseHandle(file);
#else
    const std::chrono::system_clock::time_point moment(
        std::chrono::duration_cast<std::chrono::system_clock::duration>(sinceEpoch));
    std::filesystem::last_write_time(path, std::chrono::file_clock::from_sys(moment));
#endif
}

} // namespace pembrill::test
