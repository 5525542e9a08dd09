#pragma once

#ifdef _WIN32

#include <windows.h>

#include <string>

namespace pembrill::test {

// A key of the system's registry that a test makes, with values the program
// never makes itself, and removes with everything below it when it ends.
// Machine keys go into the 32-bit view, where a 32-bit installer's are.
class SystemRegistryKeyScope {
public:
    SystemRegistryKeyScope(HKEY root, std::string path)
        : Root(root), Path(std::move(path)),
          View(root == HKEY_LOCAL_MACHINE ? KEY_WOW64_32KEY : 0) {
        ::RegCreateKeyExA(Root, Path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS | View, nullptr, &Key,
                          nullptr);
    }
    ~SystemRegistryKeyScope() {
        ::RegDeleteTreeA(Key, nullptr);
        ::RegCloseKey(Key);
        ::RegDeleteKeyExA(Root, Path.c_str(), View, 0);
    }
    SystemRegistryKeyScope(const SystemRegistryKeyScope&) = delete;
    SystemRegistryKeyScope& operator=(const SystemRegistryKeyScope&) = delete;

    void SetString(const std::string& name, const std::string& value) const {
        Set(name, REG_SZ, value.c_str(), value.size() + 1);
    }
    void SetBinary(const std::string& name) const {
        const BYTE bytes[] = {1, 0, 0, 0};
        Set(name, REG_BINARY, bytes, sizeof bytes);
    }
    // The raw bytes and type of a value as the program stored it.
    bool Get(const std::string& name, DWORD& type, std::string& data) const {
        DWORD size = 0;
        if (::RegQueryValueExA(Key, name.c_str(), nullptr, &type, nullptr, &size) != ERROR_SUCCESS)
            return false;
        data.assign(size, '\0');
        return ::RegQueryValueExA(Key, name.c_str(), nullptr, &type,
                                  reinterpret_cast<BYTE*>(data.data()), &size) == ERROR_SUCCESS;
    }

private:
    void Set(const std::string& name, DWORD type, const void* data, size_t size) const {
        ::RegSetValueExA(Key, name.c_str(), 0, type, static_cast<const BYTE*>(data),
                         static_cast<DWORD>(size));
    }

    HKEY Root;
    std::string Path;
    REGSAM View;
    HKEY Key = nullptr;
};

} // namespace pembrill::test

#endif
