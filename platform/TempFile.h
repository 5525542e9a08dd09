#pragma once

#include <cstdio>
#include <string>

namespace pembrill {

// A new, empty, uniquely named file in the temporary directory ($TMPDIR,
// else /tmp), named prefix + six random characters + suffix, readable and
// writable by its owner only, opened for writing. Null (errno set) when it
// cannot be made.
std::FILE* CreateTempFile(const std::string& prefix, const std::string& suffix,
                          std::string& path);

} // namespace pembrill
