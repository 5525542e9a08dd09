#pragma once

#include <cstdint>
#include <memory>
#include <stdexcept>
#include <string>

namespace pembrill {

// A registry read or write that failed (wrong type, missing DWORD, refused
// write).
class RegistryError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

enum class RegistryRoot { CurrentUser, LocalMachine };

// A key opened for reading refuses writes. Reading is all an ordinary user
// may do in HKEY_LOCAL_MACHINE.
enum class RegistryAccess { Read, ReadWrite };

// The system registry as the program uses it: string and 32-bit values of
// keys opened, or created only when asked to. On Windows it is the system's registry. On POSIX, and
// on Windows too when $PEMBRILL_REGISTRY is set, each root is a REGEDIT4 text file
// (HKEY_CURRENT_USER.reg, HKEY_LOCAL_MACHINE.reg) in the registry directory: $PEMBRILL_REGISTRY,
// else
// ${XDG_CONFIG_HOME:-$HOME/.config}/pembrill/registry.
class RegistryKey {
public:
    virtual ~RegistryKey() = default;

    // Opens an existing key (never creates it); nullptr when it is absent or
    // cannot be opened. Key names compare without regard to case.
    static std::unique_ptr<RegistryKey>
    OpenExisting(RegistryRoot root, const std::string& path,
                 RegistryAccess access = RegistryAccess::ReadWrite);

    // Opens a key for writing, creating it (and the keys above it) when it
    // is missing; nullptr when it can be neither opened nor created.
    static std::unique_ptr<RegistryKey> OpenOrCreate(RegistryRoot root, const std::string& path);

    // Missing or empty value: "". A value that is not a string: RegistryError.
    virtual std::string ReadString(const std::string& name) = 0;
    // Missing, or not a 4-byte DWORD: RegistryError.
    virtual uint32_t ReadInteger(const std::string& name) = 0;
    // A refused write: RegistryError. Each write is stored at once.
    virtual void WriteString(const std::string& name, const std::string& value) = 0;
    virtual void WriteInteger(const std::string& name, uint32_t value) = 0;
};

// The directory holding the hive files; on Windows "" when the system's
// registry is used.
std::string RegistryDirectory();

} // namespace pembrill
