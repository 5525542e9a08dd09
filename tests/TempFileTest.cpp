#include "platform/TempFile.h"

#include "platform/Files.h"
#include "tests/support/Environment.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#ifdef _WIN32
#include <windows.h>
#else
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

namespace pembrill {
namespace {

namespace fs = std::filesystem;

// Both branches: the files are made where the platform keeps temporary
// files, by its naming, and removed again, also where that folder's name
// holds characters of no ANSI code page (a user profile named Łukasz 한).
TEST(TempFileNamesTest, FilesAreMadeInTheTemporaryDirectoryAndRemoved) {
    test::TempDir dir;
    const std::string where = dir / "\xC5\x81ukasz \xED\x95\x9C";
    fs::create_directory(ToFileSystemPath(where));
#ifdef _WIN32
    const char* variable = "TMP";
    const size_t unique = 4; // the system's four hex digits
#else
    const char* variable = "TMPDIR";
    const size_t unique = 6;
#endif
    const char* before = std::getenv(variable);
    const std::string earlier = before ? before : "";
    test::SetEnvironment(variable, where);
    std::vector<std::string> paths;
    for (int i = 0; i < 3; ++i) {
        std::string path;
        std::FILE* file = CreateTempFile("pbx", ".TMP", path);
        ASSERT_NE(file, nullptr);
        EXPECT_GE(std::fputs("line\r\n", file), 0);
        std::fclose(file);
        paths.push_back(path);
    }
    if (earlier.empty())
        test::UnsetEnvironment(variable);
    else
        test::SetEnvironment(variable, earlier);
    for (const std::string& path : paths) {
        const fs::path file = ToFileSystemPath(path);
        EXPECT_TRUE(fs::equivalent(file.parent_path(), ToFileSystemPath(where))) << path;
        const std::string name = FromFileSystemPath(file.filename());
        EXPECT_EQ(name.substr(0, 3), "pbx");
        EXPECT_EQ(name.size(), 3 + unique + 4) << name;
        EXPECT_EQ(name.substr(name.size() - 4), ".TMP");
        EXPECT_TRUE(fs::exists(file));
    }
    EXPECT_NE(paths[0], paths[1]);
    // Removed also while being read, as an open preview's files are when
    // the session ends.
    for (const std::string& path : paths) {
        std::FILE* reading = OpenFileForReading(path);
        RemoveTempFile(path);
        std::fclose(reading);
        EXPECT_FALSE(fs::exists(ToFileSystemPath(path)));
    }
}

std::vector<std::string> FileNames(const std::string& directory) {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(directory))
        names.push_back(entry.path().filename().string());
    return names;
}

// A new version replaces the file once moved into place, and goes without a
// trace when it is not.
TEST(ReplacementFileTest, ReplacesTheTargetWhenMovedOrLeavesItAlone) {
    test::TempDir dir;
    const std::string target = dir.Write("out.pdf", "earlier");
    {
        ReplacementFile abandoned(target);
        ASSERT_TRUE(abandoned.Create());
        std::ofstream(abandoned.Path(), std::ios::binary) << "half";
    }
    EXPECT_EQ(test::FileBytes(target), "earlier");
    ReplacementFile file(target);
    ASSERT_TRUE(file.Create());
    const std::string name = fs::path(file.Path()).filename().string();
    EXPECT_EQ(fs::path(file.Path()).parent_path(), fs::path(target).parent_path());
    EXPECT_EQ(name.substr(0, 8), "out.pdf.");
    EXPECT_EQ(name.size(), 8u + 6u) << name;
    std::ofstream(file.Path(), std::ios::binary) << "new";
    std::error_code error;
    EXPECT_TRUE(file.MoveIntoPlace(error)) << error.message();
    EXPECT_EQ(test::FileBytes(target), "new");
    EXPECT_EQ(FileNames(dir.Path), std::vector<std::string>{"out.pdf"});

    ReplacementFile intoADirectory(dir / "no/such/folder/out.pdf");
    EXPECT_FALSE(intoADirectory.Create());
}

#ifdef _WIN32

// The child half of the next test: run only when the test starts this
// program again. It makes files, tells their paths and waits to be ended.
TEST(TempFileChild, MakesFilesAndWaitsToBeEnded) {
    const char* told = std::getenv("TEMP_FILE_CHILD_OUT");
    if (!told || !*told)
        GTEST_SKIP() << "only as the child of CtrlBreakRemovesTheFilesStillThere";
    std::string paths;
    for (int i = 0; i < 3; ++i) {
        std::string path;
        std::fclose(CreateTempFile("pbx", ".TMP", path));
        paths += path + "\n";
    }
    std::ofstream(told, std::ios::binary) << paths;
    ::Sleep(30000);
}

std::vector<std::string> ToldPaths(const std::string& file) {
    std::vector<std::string> paths;
    std::ifstream in(file);
    for (std::string line; std::getline(in, line);)
        paths.push_back(line);
    return paths;
}

TEST(TempFileTest, CtrlBreakRemovesTheFilesStillThere) {
    test::TempDir dir;
    const std::string told = dir / "told.txt";
    // Control events go to the processes of one console: this test's own,
    // or one it makes where it was started without.
    if (!::GetConsoleWindow())
        ::AllocConsole();
    test::SetEnvironment("TEMP_FILE_CHILD_OUT", told);
    char self[MAX_PATH];
    ::GetModuleFileNameA(nullptr, self, MAX_PATH);
    std::string commandLine =
        std::string("\"") + self + "\" --gtest_filter=TempFileChild.MakesFilesAndWaitsToBeEnded";
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION child{};
    ASSERT_TRUE(::CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, FALSE,
                                 CREATE_NEW_PROCESS_GROUP, nullptr, nullptr, &startup, &child));
    test::UnsetEnvironment("TEMP_FILE_CHILD_OUT");
    for (int wait = 0; wait < 200 && ToldPaths(told).size() < 3; ++wait)
        ::Sleep(50);
    const std::vector<std::string> paths = ToldPaths(told);
    const bool sent = ::GenerateConsoleCtrlEvent(CTRL_BREAK_EVENT, child.dwProcessId);
    const bool ended = sent && ::WaitForSingleObject(child.hProcess, 10000) == WAIT_OBJECT_0;
    if (!ended)
        ::TerminateProcess(child.hProcess, 1);
    ::CloseHandle(child.hThread);
    ::CloseHandle(child.hProcess);
    ASSERT_EQ(paths.size(), 3u);
    if (!sent) {
        for (const std::string& path : paths)
            RemoveTempFile(path);
        GTEST_SKIP() << "this console delivers no control events";
    }
    EXPECT_TRUE(ended);
    for (const std::string& path : paths)
        EXPECT_FALSE(fs::exists(path)) << path;
}

#endif

} // namespace
} // namespace pembrill

#ifndef _WIN32

namespace pembrill {
namespace {

namespace fs = std::filesystem;

// Each case runs the files' maker in a child process, so that every child
// starts as the program does, before its first temporary file, and can be
// ended by a signal. The child makes `made` files, removes (or moves into
// place) the first `removed` of them, tells their paths and waits to be
// ended.
class TempFileTest : public ::testing::Test {
protected:
    void SetUp() override { test::SetEnvironment("TMPDIR", Dir.Path); }
    void TearDown() override { test::UnsetEnvironment("TMPDIR"); }

    // Makes one file and gives its path; removeAgain removes it again (a
    // replacement: moves it into place).
    using Maker = std::function<std::string(bool removeAgain)>;

    static std::string PrintFile(bool removeAgain) {
        std::string path;
        std::FILE* file = CreateTempFile("pbx", ".TMP", path);
        if (!file)
            _exit(3);
        std::fclose(file);
        if (removeAgain)
            RemoveTempFile(path);
        return path;
    }

    // Left to the signal unless moved into place.
    std::string Replacement(bool moveIntoPlace) const {
        auto file = std::make_unique<ReplacementFile>(Dir / "out.pdf");
        std::error_code error;
        if (!file->Create() || (moveIntoPlace && !file->MoveIntoPlace(error)))
            _exit(3);
        return moveIntoPlace ? Dir / "out.pdf" : file.release()->Path();
    }

    pid_t StartChild(int made, int removed, bool ignoreHangUp, const Maker& make = PrintFile) {
        int channel[2];
        EXPECT_EQ(pipe(channel), 0);
        const pid_t child = fork();
        if (child == 0) {
            close(channel[0]);
            if (ignoreHangUp)
                std::signal(SIGHUP, SIG_IGN);
            std::string told;
            for (int i = 0; i < made; ++i)
                told += make(i < removed) + "\n";
            if (write(channel[1], told.data(), told.size()) != static_cast<ssize_t>(told.size()))
                _exit(4);
            close(channel[1]);
            for (;;)
                pause();
        }
        close(channel[1]);
        std::string told;
        char buffer[4096];
        for (ssize_t got; (got = read(channel[0], buffer, sizeof buffer)) > 0;)
            told.append(buffer, static_cast<size_t>(got));
        close(channel[0]);
        for (size_t start = 0, end; (end = told.find('\n', start)) != std::string::npos;
             start = end + 1)
            Paths.push_back(told.substr(start, end - start));
        return child;
    }

    // The signal that ended the child, or 0 when it exited.
    static int EndChild(pid_t child, int signal) {
        kill(child, signal);
        int status = 0;
        waitpid(child, &status, 0);
        return WIFSIGNALED(status) ? WTERMSIG(status) : 0;
    }

    bool NoFileLeft() const { return fs::is_empty(Dir.Path); }

    test::TempDir Dir;
    std::vector<std::string> Paths;
};

TEST_F(TempFileTest, FilesAreMadeForTheOwnerOnlyWithTheirPrefixAndSuffix) {
    const pid_t child = StartChild(3, 0, false);
    ASSERT_EQ(Paths.size(), 3u);
    for (const std::string& path : Paths) {
        const std::string name = fs::path(path).filename();
        EXPECT_EQ(name.size(), 3u + 6u + 4u) << name;
        EXPECT_EQ(name.substr(0, 3), "pbx");
        EXPECT_EQ(name.substr(9), ".TMP");
        struct stat info {};
        ASSERT_EQ(stat(path.c_str(), &info), 0);
        EXPECT_EQ(info.st_mode & 0777, 0600u);
    }
    EXPECT_NE(Paths[0], Paths[1]);
    EXPECT_EQ(EndChild(child, SIGKILL), SIGKILL);
}

TEST_F(TempFileTest, EndingSignalsRemoveTheFilesStillThere) {
    for (const int signal : {SIGTERM, SIGINT, SIGHUP}) {
        Paths.clear();
        const pid_t child = StartChild(3, 1, false);
        ASSERT_EQ(Paths.size(), 3u);
        EXPECT_FALSE(fs::exists(Paths[0]));
        EXPECT_TRUE(fs::exists(Paths[1]));
        // The program still ends as the signal says.
        EXPECT_EQ(EndChild(child, signal), signal);
        EXPECT_TRUE(NoFileLeft()) << strsignal(signal);
    }
}

// The partial file of a PDF job goes as the print files do; the file it
// became once in place stays.
TEST_F(TempFileTest, EndingSignalsRemoveReplacementsNotYetInPlace) {
    const pid_t child = StartChild(3, 1, false, [this](bool moved) { return Replacement(moved); });
    ASSERT_EQ(Paths.size(), 3u);
    EXPECT_TRUE(fs::exists(Paths[1]));
    EXPECT_EQ(EndChild(child, SIGTERM), SIGTERM);
    EXPECT_EQ(FileNames(Dir.Path), std::vector<std::string>{"out.pdf"});
}

// A new file is made as the user's umask says; a replacement keeps the
// permissions of the file it replaces.
TEST_F(TempFileTest, ReplacementsTakeTheUmaskOrTheReplacedFilesPermissions) {
    const std::string target = Dir / "out.pdf";
    const auto modeOf = [](const std::string& path) {
        struct stat info {};
        stat(path.c_str(), &info);
        return info.st_mode & 0777;
    };
    const mode_t before = umask(027);
    for (const mode_t earlier : {0u, 0604u}) {
        if (earlier)
            chmod(target.c_str(), earlier);
        ReplacementFile file(target);
        ASSERT_TRUE(file.Create());
        EXPECT_EQ(modeOf(file.Path()), earlier ? earlier : 0640u);
        std::error_code error;
        EXPECT_TRUE(file.MoveIntoPlace(error));
        EXPECT_EQ(modeOf(target), earlier ? earlier : 0640u);
    }
    umask(before);
}

TEST_F(TempFileTest, EveryFileOfALargeJobIsRemoved) {
    const pid_t child = StartChild(60, 20, false);
    ASSERT_EQ(Paths.size(), 60u);
    EXPECT_EQ(EndChild(child, SIGTERM), SIGTERM);
    EXPECT_TRUE(NoFileLeft());
}

TEST_F(TempFileTest, AnIgnoredHangUpStaysIgnored) {
    const pid_t child = StartChild(1, 0, true);
    ASSERT_EQ(Paths.size(), 1u);
    kill(child, SIGHUP);
    // Pending signals arrive lowest number first: had the hang-up not been
    // ignored, it would have ended the child before the SIGTERM.
    EXPECT_EQ(EndChild(child, SIGTERM), SIGTERM);
    EXPECT_TRUE(NoFileLeft());
}

} // namespace
} // namespace pembrill

#endif
