#include "report/RecentProjects.h"

#include "platform/Registry.h"
#include "report/Settings.h"

#include <algorithm>

namespace pembrill {

namespace {

std::string ValueName(int place) {
    return "RecentProject" + std::to_string(place);
}

} // namespace

std::vector<std::string> LoadRecentProjects() {
    std::vector<std::string> projects;
    const auto key =
        RegistryKey::OpenExisting(RegistryRoot::CurrentUser, SettingsKeyPath, RegistryAccess::Read);
    if (!key)
        return projects;
    for (int place = 1; place <= RecentProjectCount; ++place) {
        try {
            const std::string fileName = key->ReadString(ValueName(place));
            if (!fileName.empty())
                projects.push_back(fileName);
        } catch (const RegistryError&) {
            // A value of another type is no project.
        }
    }
    return projects;
}

std::vector<std::string> WithRecentProject(std::vector<std::string> projects,
                                           const std::string& fileName) {
    projects.erase(std::remove(projects.begin(), projects.end(), fileName), projects.end());
    projects.insert(projects.begin(), fileName);
    if (projects.size() > static_cast<size_t>(RecentProjectCount))
        projects.resize(RecentProjectCount);
    return projects;
}

void SaveRecentProjects(const std::vector<std::string>& projects) {
    const auto key = RegistryKey::OpenOrCreate(RegistryRoot::CurrentUser, SettingsKeyPath);
    if (!key)
        return;
    try {
        for (int place = 1; place <= RecentProjectCount; ++place) {
            const auto index = static_cast<size_t>(place - 1);
            key->WriteString(ValueName(place), index < projects.size() ? projects[index] : "");
        }
    } catch (const RegistryError&) {
        // The list is kept for the next start only; this one goes on as is.
    }
}

} // namespace pembrill
