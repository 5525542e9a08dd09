#pragma once

#include <string>
#include <vector>

namespace pembrill {

// Starts `program` with the single argument `argument` in `workingDirectory`,
// without a shell, and blocks until it has ended (no window messages are
// processed meanwhile). True when the process could be started, whatever it
// then did; false when it could not, with the system's error code in
// errorCode.
bool RunAndWait(const std::string& program, const std::string& argument,
                const std::string& workingDirectory, int& errorCode);

// The arguments the program was started with, after its own name, as the
// program keeps names: the bytes given on POSIX, UTF-8 on Windows.
std::vector<std::string> ProgramArguments(int argc, char** argv);

} // namespace pembrill
