#include "platform/Process.h"

#include "tests/support/Environment.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <sstream>

#ifndef _WIN32
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/time.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

using namespace pembrill;
using pembrill::test::TempDir;

namespace {

std::string Contents(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}

// The converter stand-in where a Delphi installation keeps its converter: a
// path with blanks.
std::string InstallTestConverter(const TempDir& dir) {
    const std::filesystem::path target =
        std::filesystem::path(dir.Path) / "Delphi 2.0" / "bin" / "convert.exe";
    std::filesystem::create_directories(target.parent_path());
    std::filesystem::copy_file(TEST_CONVERTER_PROGRAM, target);
    return target.string();
}

// "<working directory>|<argument count>|<arguments>" of each call.
struct LoggedCall {
    std::filesystem::path WorkingDirectory;
    std::string Rest;
};

LoggedCall OnlyCall(const std::string& log) {
    const std::string text = Contents(log);
    const size_t bar = text.find('|');
    if (bar == std::string::npos || std::count(text.begin(), text.end(), '\n') != 1)
        return {"", text};
    return {text.substr(0, bar), text.substr(bar + 1)};
}

} // namespace

// Both branches, with the converter stand-in.

TEST(ProcessTest, StartsAProgramWhosePathHoldsBlanksAndWaitsForItsEnd) {
    TempDir dir;
    const std::string converter = InstallTestConverter(dir);
    dir.Write("My Forms/Slow Unit.dfm", "object Form1: TForm1");
    test::SetEnvironment("TEST_CONVERTER_LOG", dir / "calls.log");

    int errorCode = -1;
    EXPECT_TRUE(RunAndWait(converter, "Slow Unit.dfm", dir / "My Forms", errorCode));
    test::UnsetEnvironment("TEST_CONVERTER_LOG");
    EXPECT_EQ(errorCode, 0);
    // The slow converter's text form is there: the call waited for its end.
    EXPECT_EQ(Contents(dir / "My Forms/Slow Unit.txt"), "object Form1: TForm1");
    const LoggedCall call = OnlyCall(dir / "calls.log");
    EXPECT_EQ(call.WorkingDirectory, std::filesystem::path(dir / "My Forms"));
    EXPECT_EQ(call.Rest, "1|Slow Unit.dfm\n");
}

TEST(ProcessTest, AStartedProgramCountsWhateverItsExitCodeAndAMissingOneDoesNot) {
    TempDir dir;
    const std::string converter = InstallTestConverter(dir);
    int errorCode = -1;
    EXPECT_TRUE(RunAndWait(converter, "Failing.dfm", dir.Path, errorCode));
    EXPECT_FALSE(std::filesystem::exists(dir / "Failing.txt"));
    // ENOENT on POSIX and ERROR_FILE_NOT_FOUND on Windows are both 2.
    EXPECT_FALSE(RunAndWait(dir / "missing.exe", "Unit1.dfm", dir.Path, errorCode));
    EXPECT_EQ(errorCode, 2);
}

#ifndef _WIN32

namespace {

std::string WriteScript(const TempDir& dir, const std::string& name, const std::string& body) {
    const std::string path = dir.Write(name, "#!/bin/sh\n" + body);
    ::chmod(path.c_str(), 0755);
    return path;
}

bool HasUnwaitedChild() {
    return ::waitpid(-1, nullptr, WNOHANG) != -1 || errno != ECHILD;
}

size_t OpenDescriptorCount() {
    return static_cast<size_t>(std::distance(std::filesystem::directory_iterator("/proc/self/fd"),
                                             std::filesystem::directory_iterator()));
}

} // namespace

TEST(ProcessTest, RunsTheProgramWithOneArgumentInTheWorkingDirectory) {
    TempDir dir;
    const std::string converter = WriteScript(
        dir, "bin/convert.exe", "pwd > seen.txt\nprintf '[%s][%s]' \"$0\" \"$1\" >> seen.txt\n");
    dir.Write("My Forms/Unit1.dfm", "");
    const std::string workingDirectory = dir / "My Forms";

    int errorCode = -1;
    EXPECT_TRUE(RunAndWait(converter, "Unit 1.dfm", workingDirectory, errorCode));
    EXPECT_EQ(errorCode, 0);
    EXPECT_EQ(Contents(workingDirectory + "/seen.txt"),
              workingDirectory + "\n[" + converter + "][Unit 1.dfm]");
    EXPECT_FALSE(HasUnwaitedChild());
}

TEST(ProcessTest, WaitsUntilTheProgramHasEndedEvenWhenSignalsArrive) {
    TempDir dir;
    const std::string slow = WriteScript(dir, "slow", "sleep 0.3\necho done > finished.txt\n");
    // A handler without SA_RESTART makes a pending wait return EINTR.
    struct sigaction action = {};
    action.sa_handler = [](int) {};
    struct sigaction previous;
    ::sigaction(SIGALRM, &action, &previous);
    const itimerval every50ms = {{0, 50000}, {0, 50000}};
    ::setitimer(ITIMER_REAL, &every50ms, nullptr);

    int errorCode = -1;
    const bool started = RunAndWait(slow, "", dir.Path, errorCode);

    const itimerval off = {};
    ::setitimer(ITIMER_REAL, &off, nullptr);
    ::sigaction(SIGALRM, &previous, nullptr);
    EXPECT_TRUE(started);
    EXPECT_EQ(Contents(dir / "finished.txt"), "done\n");
    EXPECT_FALSE(HasUnwaitedChild());
    // Should the wait have ended early, the later tests must not inherit the child.
    while (::waitpid(-1, nullptr, 0) > 0) {
    }
}

TEST(ProcessTest, TheExitCodeDoesNotMatter) {
    TempDir dir;
    const std::string failing = WriteScript(dir, "failing", "exit 3\n");
    int errorCode = -1;
    EXPECT_TRUE(RunAndWait(failing, "Unit1.dfm", dir.Path, errorCode));
    EXPECT_FALSE(HasUnwaitedChild());
}

TEST(ProcessTest, AFailedStartReportsTheSystemError) {
    TempDir dir;
    const std::string notExecutable = dir.Write("plain.exe", "#!/bin/sh\necho ran > ran.txt\n");
    const std::string program = WriteScript(dir, "convert.exe", "echo ran > ran.txt\n");
    struct Case {
        std::string Program;
        std::string WorkingDirectory;
        int Error;
    };
    const Case cases[] = {{dir / "missing.exe", dir.Path, ENOENT},
                          {notExecutable, dir.Path, EACCES},
                          {program, dir / "no such directory", ENOENT}};
    const size_t descriptors = OpenDescriptorCount();
    for (const Case& c : cases) {
        int errorCode = 0;
        EXPECT_FALSE(RunAndWait(c.Program, "Unit1.dfm", c.WorkingDirectory, errorCode))
            << c.Program;
        EXPECT_EQ(errorCode, c.Error) << c.Program;
    }
    EXPECT_FALSE(std::filesystem::exists(dir / "ran.txt"));
    EXPECT_FALSE(HasUnwaitedChild());
    EXPECT_EQ(OpenDescriptorCount(), descriptors);
}

TEST(ProcessTest, ARelativeProgramIsFoundFromTheCallersDirectory) {
    TempDir dir;
    WriteScript(dir, "delphi/bin/convert.exe", "echo ran > ran.txt\n");
    dir.Write("forms/Unit1.dfm", "");
    const std::filesystem::path saved = std::filesystem::current_path();
    std::filesystem::current_path(dir.Path);

    int errorCode = -1;
    const bool started =
        RunAndWait("delphi/bin/convert.exe", "Unit1.dfm", dir / "forms", errorCode);

    std::filesystem::current_path(saved);
    EXPECT_TRUE(started) << errorCode;
    EXPECT_EQ(Contents(dir / "forms/ran.txt"), "ran\n");
}

TEST(ProcessTest, TheProgramInheritsNoOpenFilesButTheStandardOnes) {
    TempDir dir;
    const std::string probe =
        WriteScript(dir, "probe",
                    "if [ -e /proc/self/fd/40 ]; then echo open; else echo closed; fi > fd.txt\n");
    const int descriptor = ::open(dir.Write("held.txt", "").c_str(), O_RDONLY);
    ASSERT_EQ(::dup2(descriptor, 40), 40);

    int errorCode = -1;
    const bool started = RunAndWait(probe, "", dir.Path, errorCode);

    ::close(40);
    ::close(descriptor);
    EXPECT_TRUE(started);
    EXPECT_EQ(Contents(dir / "fd.txt"), "closed\n");
}

#endif
