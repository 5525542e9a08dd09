#pragma once

#include "platform/Registry.h"
#include "platform/RegistryHive.h"
#include "platform/RegistryValue.h"

#include <memory>
#include <string>

namespace pembrill {

// A registry key kept in a hive file. Each call reads the file afresh and
// each write replaces it at once, so that two keys open side by side in the
// same root never write back each other's stale values.
class HiveFileKey : public RegistryKey {
public:
    // nullptr when the file cannot be read or holds no such key. A missing
    // file is a root with no keys. keyName is full: "HKEY_CURRENT_USER\...".
    static std::unique_ptr<HiveFileKey> Open(const std::string& hivePath,
                                             const std::string& keyName, RegistryAccess access);

    // Opens the key for writing, adding it to the hive first when it is
    // missing (and making the file and its directory when they are).
    // nullptr when the key cannot be added.
    static std::unique_ptr<HiveFileKey> Create(const std::string& hivePath,
                                               const std::string& keyName);

    std::string ReadString(const std::string& name) override;
    uint32_t ReadInteger(const std::string& name) override;
    void WriteString(const std::string& name, const std::string& value) override;
    void WriteInteger(const std::string& name, uint32_t value) override;

private:
    HiveFileKey(std::string hivePath, std::string keyName, RegistryAccess access)
        : HivePath(std::move(hivePath)), KeyName(std::move(keyName)), Access(access) {}

    RegistryHive Load() const;
    std::optional<RegistryValue> Find(const std::string& name) const;
    void Store(const std::string& name, const RegistryValue& value);
    [[noreturn]] void Fail(const std::string& what) const;

    std::string HivePath;
    std::string KeyName;
    RegistryAccess Access;
};

} // namespace pembrill
