#pragma once

#include <cstdio>
#include <string>
#include <system_error>

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

// Removes every file above that is still there, as a signal or console event
// does, for a program told of its end otherwise: the desktop program's
// windows when the Windows session ends. It does only what a signal handler
// may do, so it may be called at any moment.
void RemoveAllTempFiles();

// A new version of the file target, written beside it and put in its place
// only when whole, so that a failure or a cancel leaves the earlier file as
// it was and nothing else. The new version is a file named target + "." +
// six random letters and digits, made with the permissions of the file it
// will replace, or else those the user's umask gives a new file. Until it is
// moved into place it is removed when this object goes, and, like the print
// files above, when a signal or console event ends the program.
class ReplacementFile {
public:
    explicit ReplacementFile(std::string target) : Target(std::move(target)) {}
    ~ReplacementFile();
    ReplacementFile(const ReplacementFile&) = delete;
    ReplacementFile& operator=(const ReplacementFile&) = delete;

    // Makes the file, empty; false, with errno set, when it cannot.
    bool Create();
    // Where the new version is written.
    const std::string& Path() const { return Partial; }
    // Renames the new version onto the target in one step.
    bool MoveIntoPlace(std::error_code& error);

private:
    std::string Target;
    std::string Partial;
};

} // namespace pembrill
