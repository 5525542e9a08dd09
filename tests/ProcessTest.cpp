#include "platform/Process.h"

#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <sstream>

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/time.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace pembrill;
using pembrill::test::TempDir;

namespace {

std::string Contents(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}

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
