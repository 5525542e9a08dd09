#pragma once

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace pembrill {

// A name "has a directory part" when it holds a backslash or a slash (or,
// on Windows, a drive colon).
bool HasDirectoryPart(const std::string& name);

// The name up to and including its last directory separator; empty when it
// has none.
std::string DirectoryOf(const std::string& path);

// The name after its last directory separator.
std::string FileNameOf(const std::string& path);

// Replaces the extension (from the last '.' after the last separator) or
// appends one when there is none. newExtension includes its dot: ".dfm".
std::string ChangeFileExt(const std::string& path, const std::string& newExtension);

// The extension with its dot ("" when none), after the last separator.
std::string ExtractFileExt(const std::string& path);

// Names in project files come from a file system that ignores case and uses
// backslashes. On POSIX a backslash is read as '/', and a path that does not
// exist as written is looked up again component by component without regard
// to case. Gives the path to open: the one found, or the name as written
// (with '/' for '\') when nothing matches.
std::string NativePath(const std::string& name);

// Opens a file to read as bytes; the caller closes it. Only a regular file is
// opened: a directory, a device such as /dev/zero or a named pipe would never
// end or would block, and opening does not wait for a pipe's writer. Throws
// FileError.
std::FILE* OpenFileForReading(const std::string& path);

// True for an existing regular file (not a directory).
bool FileExists(const std::string& path);

// The last-write time at full precision; nullopt when no regular file of
// that name exists.
std::optional<std::chrono::nanoseconds> LastWriteTime(const std::string& path);

// Names (without directory) of the regular files of a directory whose
// extension is `extension` (with its dot), compared without regard to case as
// on Windows. Hidden files included; a folder named Old.pas is no file. Order
// is unspecified.
std::vector<std::string> FilesWithExtension(const std::string& directory,
                                            const std::string& extension);

// Makes the process's working directory the given one; false when it fails.
bool SetWorkingDirectory(const std::string& directory);

// std::fopen of a name as the program keeps it: on Windows through the wide
// functions (see ToWide), as every file function here.
std::FILE* OpenFile(const std::string& path, const char* mode);

// A name as the program keeps it for the standard library's file functions,
// and back; on Windows through the wide names, not the ANSI code page.
std::filesystem::path ToFileSystemPath(const std::string& name);
std::string FromFileSystemPath(const std::filesystem::path& path);

} // namespace pembrill
