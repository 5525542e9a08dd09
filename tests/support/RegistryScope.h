#pragma once

#include "tests/support/Environment.h"
#include "tests/support/TempDir.h"

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

namespace pembrill::test {

// Points the registry stand-in at a fresh directory for as long as it lives,
// so that hives can be written by hand as a user would with a text editor.
class RegistryScope {
public:
    RegistryScope() { SetEnvironment("PEMBRILL_REGISTRY", Dir.Path); }
    ~RegistryScope() { UnsetEnvironment("PEMBRILL_REGISTRY"); }
    RegistryScope(const RegistryScope&) = delete;
    RegistryScope& operator=(const RegistryScope&) = delete;

    std::string UserHivePath() const { return Dir / "HKEY_CURRENT_USER.reg"; }

    // A current-user hive holding the settings key with these value lines.
    void WriteSettings(const std::string& valueLines) const {
        WriteUserHive("REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\Software\\Haldover\\Pembrill]\r\n" +
                      valueLines);
    }
    void WriteUserHive(const std::string& text) const { Dir.Write("HKEY_CURRENT_USER.reg", text); }

    std::string UserHiveText() const {
        std::ifstream file(UserHivePath(), std::ios::binary);
        std::ostringstream text;
        text << file.rdbuf();
        return text.str();
    }

    TempDir Dir;
};

} // namespace pembrill::test
