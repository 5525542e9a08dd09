#include "platform/TempFile.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace pembrill {
namespace {

namespace fs = std::filesystem;

// Each case runs the files' maker in a child process, so that every child
// starts as the program does, before its first temporary file, and can be
// ended by a signal. The child makes `made` files, removes the first
// `removed` of them, tells their paths and waits to be ended.
class TempFileTest : public ::testing::Test {
protected:
    void SetUp() override { setenv("TMPDIR", Dir.Path.c_str(), 1); }
    void TearDown() override { unsetenv("TMPDIR"); }

    pid_t StartChild(int made, int removed, bool ignoreHangUp) {
        int channel[2];
        EXPECT_EQ(pipe(channel), 0);
        const pid_t child = fork();
        if (child == 0) {
            close(channel[0]);
            if (ignoreHangUp)
                std::signal(SIGHUP, SIG_IGN);
            std::string told;
            for (int i = 0; i < made; ++i) {
                std::string path;
                std::FILE* file = CreateTempFile("pbx", ".TMP", path);
                if (!file)
                    _exit(3);
                std::fclose(file);
                if (i < removed)
                    RemoveTempFile(path);
                told += path + "\n";
            }
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
