#include "platform/Registry.h"

#include "platform/HiveFileKey.h"

#include <cstdlib>

#include <pwd.h>
#include <unistd.h>

namespace pembrill {

namespace {

std::string RootName(RegistryRoot root) {
    return root == RegistryRoot::CurrentUser ? "HKEY_CURRENT_USER" : "HKEY_LOCAL_MACHINE";
}

std::string Environment(const char* name) {
    const char* value = std::getenv(name);
    return value ? value : "";
}

std::string HomeDirectory() {
    const std::string home = Environment("HOME");
    if (!home.empty())
        return home;
    const passwd* user = ::getpwuid(::getuid());
    return user && user->pw_dir ? user->pw_dir : "";
}

} // namespace

std::unique_ptr<RegistryKey> RegistryKey::OpenExisting(RegistryRoot root, const std::string& path) {
    const std::string rootName = RootName(root);
    return HiveFileKey::Open(RegistryDirectory() + "/" + rootName + ".reg",
                             path.empty() ? rootName : rootName + "\\" + path);
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

} // namespace pembrill
