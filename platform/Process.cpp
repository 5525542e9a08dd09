#include "platform/Process.h"

#ifdef _WIN32

#include <windows.h>

#include "platform/TextDecoding.h"

#include <shellapi.h>

namespace pembrill {

namespace {

// One argument as the C runtime splits a command line back into arguments:
// in quotes, each quote escaped, and the backslashes before a quote (or
// before the closing quote) doubled. A path with blanks then arrives whole.
// Each name is made wide on its own: the converter's path from the registry
// and a form's name from a Delphi 2 project need not share an encoding.
std::wstring QuotedArgument(const std::string& name) {
    std::wstring quoted = L"\"";
    size_t backslashes = 0;
    for (const wchar_t c : ToWide(name)) {
        if (c == L'\\') {
            ++backslashes;
            continue;
        }
        quoted.append(c == L'"' ? backslashes * 2 + 1 : backslashes, L'\\');
        backslashes = 0;
        quoted += c;
    }
    quoted.append(backslashes * 2, L'\\');
    return quoted + L'"';
}

} // namespace

// The converter starts minimised without taking the focus, inherits no
// handle, and gets a console of its own (hidden) when it is a console
// program: on Pembrill's console what it prints would mix with pembrill-cli's
// output.
bool RunAndWait(const std::string& program, const std::string& argument,
                const std::string& workingDirectory, int& errorCode) {
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_SHOWMINNOACTIVE;
    PROCESS_INFORMATION process{};
    std::wstring commandLine = QuotedArgument(program) + L" " + QuotedArgument(argument);
    if (!::CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE,
                          NORMAL_PRIORITY_CLASS | CREATE_NO_WINDOW, nullptr,
                          ToWide(workingDirectory).c_str(), &startup, &process)) {
        errorCode = static_cast<int>(::GetLastError());
        return false;
    }
    errorCode = 0;
    ::WaitForSingleObject(process.hProcess, INFINITE);
    ::CloseHandle(process.hThread);
    ::CloseHandle(process.hProcess);
    return true;
}

// The C runtime's argv holds the arguments in the ANSI code page, with '?'
// for what it cannot hold; the wide command line holds them all.
std::vector<std::string> ProgramArguments(int, char**) {
    std::vector<std::string> arguments;
    int count = 0;
    wchar_t** wide = ::CommandLineToArgvW(::GetCommandLineW(), &count);
    if (!wide)
        return arguments;
    for (int i = 1; i < count; ++i)
        arguments.push_back(FromWide(wide[i]));
    ::LocalFree(wide);
    return arguments;
}

} // namespace pembrill

#else

#include <cerrno>
#include <cstdlib>
#include <memory>

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace pembrill {

namespace {

// The child changes directory before it starts the program, so a relative
// program name would be looked up from there; the caller means its own
// working directory.
std::string AbsoluteFromHere(const std::string& program) {
    if (program.empty() || program.front() == '/')
        return program;
    const std::unique_ptr<char, decltype(&::free)> here(::getcwd(nullptr, 0), &::free);
    return here ? std::string(here.get()) + "/" + program : program;
}

class SpawnActions {
public:
    SpawnActions() { ::posix_spawn_file_actions_init(&Actions); }
    ~SpawnActions() { ::posix_spawn_file_actions_destroy(&Actions); }
    SpawnActions(const SpawnActions&) = delete;
    SpawnActions& operator=(const SpawnActions&) = delete;

    posix_spawn_file_actions_t Actions;
};

void WaitUntilEnded(pid_t child) {
    while (::waitpid(child, nullptr, 0) == -1 && errno == EINTR) {
    }
}

} // namespace

bool RunAndWait(const std::string& program, const std::string& argument,
                const std::string& workingDirectory, int& errorCode) {
    const std::string executable = AbsoluteFromHere(program);
    SpawnActions spawn;
    int error = ::posix_spawn_file_actions_addchdir_np(&spawn.Actions, workingDirectory.c_str());
    // Like a Windows process started without inheriting handles: the
    // converter must not hold our open files (a hive being replaced, a print
    // file about to be deleted), and its standard streams are not ours, so
    // that nothing it reads or prints mixes with pembrill-cli's output and
    // messages.
    for (const int stream : {STDIN_FILENO, STDOUT_FILENO, STDERR_FILENO})
        if (error == 0)
            error =
                ::posix_spawn_file_actions_addopen(&spawn.Actions, stream, "/dev/null",
                                                   stream == STDIN_FILENO ? O_RDONLY : O_WRONLY, 0);
    if (error == 0)
        error = ::posix_spawn_file_actions_addclosefrom_np(&spawn.Actions, STDERR_FILENO + 1);
    char* argv[] = {const_cast<char*>(program.c_str()), const_cast<char*>(argument.c_str()),
                    nullptr};
    pid_t child = 0;
    // glibc reports a failed chdir or exec as posix_spawn's result and reaps
    // the failed child itself.
    if (error == 0)
        error = ::posix_spawn(&child, executable.c_str(), &spawn.Actions, nullptr, argv, environ);
    errorCode = error;
    if (error != 0)
        return false;
    WaitUntilEnded(child);
    return true;
}

std::vector<std::string> ProgramArguments(int argc, char** argv) {
    return std::vector<std::string>(argv + 1, argv + argc);
}

} // namespace pembrill

#endif
