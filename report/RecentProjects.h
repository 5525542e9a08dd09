#pragma once

#include <string>
#include <vector>

namespace pembrill {

// How many projects the File menu lists.
inline constexpr int RecentProjectCount = 4;

// The projects opened last, newest first, from the settings key's values
// RecentProject1 to RecentProject4. Absent, empty or unreadable values, or
// no key at all, are left out without a word.
std::vector<std::string> LoadRecentProjects();

// `projects` with `fileName` moved or added to the front, at most
// RecentProjectCount long.
std::vector<std::string> WithRecentProject(std::vector<std::string> projects,
                                           const std::string& fileName);

// Stores the list in RecentProject1 to RecentProject4 (an empty text for a
// place the list does not fill), creating the settings key when it is
// missing. A list that cannot be stored is not worth a message.
void SaveRecentProjects(const std::vector<std::string>& projects);

} // namespace pembrill
