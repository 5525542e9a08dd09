#pragma once

#include <cstdio>
#include <string>

namespace pembrill {

// A new, empty, uniquely named file in the temporary directory, opened for
// writing; null when it cannot be made. On POSIX it is in $TMPDIR (else
// /tmp), named prefix + six random characters + suffix, readable and
// writable by its owner only. On Windows it is in the system's temporary
// directory, named prefix + four hex digits + suffix, as the system names
// its own temporary files.
//
// Such files must not outlive the program: until RemoveTempFile removes one,
// it is also removed when SIGHUP, SIGINT or SIGTERM ends the program (a
// logout, Ctrl+C or kill while a job runs or its preview is open), or on
// Windows a console control event (Ctrl+C, Ctrl+Break, the console closed,
// logoff, shutdown). A signal that was ignored or handled elsewhere before
// the first file is made is left as it was.
std::FILE* CreateTempFile(const std::string& prefix, const std::string& suffix, std::string& path);

void RemoveTempFile(const std::string& path);

} // namespace pembrill
