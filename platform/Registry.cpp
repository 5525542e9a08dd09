#include "platform/Registry.h"

#include "platform/HiveFileKey.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <cwchar>

#ifdef _WIN32
#include <windows.h>

#include "platform/TextDecoding.h"
#else
#include <pwd.h>
#include <unistd.h>
#endif

namespace pembrill {

namespace {

std::string RootName(RegistryRoot root) {
    return root == RegistryRoot::CurrentUser ? "HKEY_CURRENT_USER" : "HKEY_LOCAL_MACHINE";
}

std::string Environment(const char* name) {
    const char* value = std::getenv(name);
    return value ? value : "";
}

std::unique_ptr<RegistryKey> OpenHiveFileKey(RegistryRoot root, const std::string& path,
                                             RegistryAccess access) {
    const std::string rootName = RootName(root);
    return HiveFileKey::Open(RegistryDirectory() + "/" + rootName + ".reg",
                             path.empty() ? rootName : rootName + "\\" + path, access);
}

std::unique_ptr<RegistryKey> CreateHiveFileKey(RegistryRoot root, const std::string& path) {
    const std::string rootName = RootName(root);
    return HiveFileKey::Create(RegistryDirectory() + "/" + rootName + ".reg",
                               rootName + "\\" + path);
}

#ifdef _WIN32

// A key of the system's registry, through the wide functions: the program's
// bytes go in as they would be shown, and the registry's texts come back as
// UTF-8, also those that Windows' ANSI code page cannot hold.
class SystemRegistryKey : public RegistryKey {
public:
    SystemRegistryKey(HKEY key, std::string name) : Key(key), Name(std::move(name)) {}
    ~SystemRegistryKey() override { ::RegCloseKey(Key); }
    SystemRegistryKey(const SystemRegistryKey&) = delete;
    SystemRegistryKey& operator=(const SystemRegistryKey&) = delete;

    std::string ReadString(const std::string& name) override {
        const std::wstring valueName = ToWide(name);
        DWORD type = 0;
        DWORD size = 0;
        const LONG found =
            ::RegQueryValueExW(Key, valueName.c_str(), nullptr, &type, nullptr, &size);
        if (found == ERROR_FILE_NOT_FOUND)
            return "";
        if (found != ERROR_SUCCESS || (type != REG_SZ && type != REG_EXPAND_SZ))
            Fail(name, "is not a string");
        std::wstring text(size / sizeof(wchar_t) + 1, L'\0');
        if (size > 0 &&
            ::RegQueryValueExW(Key, valueName.c_str(), nullptr, &type,
                               reinterpret_cast<BYTE*>(text.data()), &size) != ERROR_SUCCESS)
            Fail(name, "cannot be read");
        // A C string: the stored text usually, but not always, ends in its
        // zero, and nothing after a zero counts.
        text.resize(std::wcslen(text.c_str()));
        return FromWide(text);
    }

    uint32_t ReadInteger(const std::string& name) override {
        DWORD type = 0;
        DWORD value = 0;
        DWORD size = sizeof value;
        const LONG read = ::RegQueryValueExW(Key, ToWide(name).c_str(), nullptr, &type,
                                             reinterpret_cast<BYTE*>(&value), &size);
        if (read == ERROR_FILE_NOT_FOUND)
            Fail(name, "does not exist");
        if (read != ERROR_SUCCESS || type != REG_DWORD || size != sizeof value)
            Fail(name, "is not a 32-bit number");
        return value;
    }

    void WriteString(const std::string& name, const std::string& value) override {
        const std::wstring text = ToWide(value.substr(0, std::strlen(value.c_str())));
        Write(name, REG_SZ, text.c_str(), (text.size() + 1) * sizeof(wchar_t));
    }

    void WriteInteger(const std::string& name, uint32_t value) override {
        const DWORD stored = value;
        Write(name, REG_DWORD, &stored, sizeof stored);
    }

private:
    void Write(const std::string& name, DWORD type, const void* data, size_t size) {
        if (::RegSetValueExW(Key, ToWide(name).c_str(), 0, type, static_cast<const BYTE*>(data),
                             static_cast<DWORD>(size)) != ERROR_SUCCESS)
            Fail(name, "cannot be written");
    }

    [[noreturn]] void Fail(const std::string& name, const std::string& what) const {
        throw RegistryError("The registry value " + name + " of " + Name + " " + what);
    }

    HKEY Key;
    std::string Name;
};

std::unique_ptr<RegistryKey> OpenSystemKey(RegistryRoot root, const std::string& path,
                                           RegistryAccess access) {
    const HKEY rootKey = root == RegistryRoot::CurrentUser ? HKEY_CURRENT_USER : HKEY_LOCAL_MACHINE;
    REGSAM rights = access == RegistryAccess::Read ? KEY_READ : KEY_READ | KEY_WRITE;
    // Delphi's installer is a 32-bit program: the system kept its machine
    // keys in the 32-bit view (WOW6432Node), which a 64-bit program opens
    // only when it asks for it. The current user's Software is one for both.
    if (root == RegistryRoot::LocalMachine)
        rights |= KEY_WOW64_32KEY;
    HKEY key = nullptr;
    if (::RegOpenKeyExW(rootKey, ToWide(path).c_str(), 0, rights, &key) != ERROR_SUCCESS)
        return nullptr;
    return std::make_unique<SystemRegistryKey>(key, RootName(root) + "\\" + path);
}

std::unique_ptr<RegistryKey> CreateSystemKey(RegistryRoot root, const std::string& path) {
    const HKEY rootKey = root == RegistryRoot::CurrentUser ? HKEY_CURRENT_USER : HKEY_LOCAL_MACHINE;
    HKEY key = nullptr;
    if (::RegCreateKeyExW(rootKey, ToWide(path).c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                          KEY_READ | KEY_WRITE, nullptr, &key, nullptr) != ERROR_SUCCESS)
        return nullptr;
    return std::make_unique<SystemRegistryKey>(key, RootName(root) + "\\" + path);
}

#else

std::string HomeDirectory() {
    const std::string home = Environment("HOME");
    if (!home.empty())
        return home;
    const passwd* user = ::getpwuid(::getuid());
    return user && user->pw_dir ? user->pw_dir : "";
}

#endif

} // namespace

#ifdef _WIN32

// The system's registry, unless PEMBRILL_REGISTRY names a directory of hive
// files to use instead, as on POSIX.
std::unique_ptr<RegistryKey> RegistryKey::OpenExisting(RegistryRoot root, const std::string& path,
                                                       RegistryAccess access) {
    if (!RegistryDirectory().empty())
        return OpenHiveFileKey(root, path, access);
    return OpenSystemKey(root, path, access);
}

std::unique_ptr<RegistryKey> RegistryKey::OpenOrCreate(RegistryRoot root, const std::string& path) {
    if (!RegistryDirectory().empty())
        return CreateHiveFileKey(root, path);
    return CreateSystemKey(root, path);
}

std::string RegistryDirectory() {
    return Environment("PEMBRILL_REGISTRY");
}

#else

std::unique_ptr<RegistryKey> RegistryKey::OpenExisting(RegistryRoot root, const std::string& path,
                                                       RegistryAccess access) {
    return OpenHiveFileKey(root, path, access);
}

std::unique_ptr<RegistryKey> RegistryKey::OpenOrCreate(RegistryRoot root, const std::string& path) {
    return CreateHiveFileKey(root, path);
}

std::string RegistryDirectory() {
    const std::string chosen = Environment("PEMBRILL_REGISTRY");
    if (!chosen.empty())
        return chosen;
    std::string config = Environment("XDG_CONFIG_HOME");
    if (config.empty())
        config = HomeDirectory() + "/.config";
    return config + "/pembrill/registry";
}

#endif

} // namespace pembrill
