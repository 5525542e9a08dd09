#include "platform/LineReader.h"

#include "platform/FileError.h"

#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>

#ifndef _WIN32
#include <sys/stat.h>
#include <unistd.h>
#endif

using namespace pembrill;

namespace {

class LineReaderTest : public ::testing::Test {
protected:
    std::string Write(const std::string& bytes) {
        const std::string path = (Dir / ("f" + std::to_string(++Count))).string();
        std::ofstream(path, std::ios::binary) << bytes;
        return path;
    }

    // Each line in brackets, so that empty lines show.
    std::string Lines(const std::string& bytes) {
        LineReader reader(Write(bytes));
        std::string all, line;
        while (reader.ReadLine(line))
            all += "[" + line + "]";
        return all;
    }

    test::TempDir Temp;
    std::filesystem::path Dir = Temp.Path;
    int Count = 0;
};

// The line rule byte by byte over the whole text, for comparing with the
// block-wise reader on inputs that cross its block boundaries.
std::vector<std::string> ReferenceLines(const std::string& bytes) {
    const std::string text = bytes.substr(0, bytes.find('\x1A'));
    std::vector<std::string> lines;
    size_t begin = 0;
    while (begin < text.size()) {
        const size_t stop = text.find_first_of("\r\n", begin);
        if (stop == std::string::npos) {
            lines.push_back(text.substr(begin));
            break;
        }
        lines.push_back(text.substr(begin, stop - begin));
        begin = stop + 1;
        if (text[stop] == '\r' && begin < text.size() && text[begin] == '\n')
            ++begin;
    }
    return lines;
}

} // namespace

TEST_F(LineReaderTest, CrLfCrAndLfEachEndALine) {
    EXPECT_EQ(Lines(""), "");
    EXPECT_EQ(Lines("a\r\nb\rc"), "[a][b][c]");
    EXPECT_EQ(Lines("a\r\n"), "[a]");
    EXPECT_EQ(Lines("\r\n"), "[]");
    EXPECT_EQ(Lines("a\r\r\n\r\n"), "[a][][]");
    EXPECT_EQ(Lines("a\r\n\nb"), "[a][][b]");
    // Edited on two systems: the ends are mixed.
    EXPECT_EQ(Lines("one\ntwo\r\nthree\n\rfour"), "[one][two][three][][four]");
    EXPECT_EQ(Lines("a\nb\n\nc"), "[a][b][][c]");
    EXPECT_EQ(Lines("\n"), "[]");
    EXPECT_EQ(Lines("no break"), "[no break]");
}

TEST_F(LineReaderTest, CtrlZEndsTheText) {
    EXPECT_EQ(Lines("a\rb\x1A"
                    "c\rd"),
              "[a][b]");
    EXPECT_EQ(Lines("a\r\n\x1A"), "[a]");
    EXPECT_EQ(Lines("\x1A"
                    "a\r\n"),
              "");
    EXPECT_EQ(Lines("a\nb\x1A\r\n"), "[a][b]");
}

TEST_F(LineReaderTest, LineEndFoundBeyondTheFirstBlock) {
    const std::string head(700000, 'x');
    EXPECT_EQ(Lines(head + "\ny\rz"), "[" + head + "][y][z]");
    EXPECT_EQ(Lines(head + "\ny\x1A\r"), "[" + head + "][y]");
}

TEST_F(LineReaderTest, LongLineIsReadWhole) {
    const std::string line(5'000'000, 'q');
    LineReader reader(Write(line + "\r\nend"));
    std::string got;
    ASSERT_TRUE(reader.ReadLine(got));
    EXPECT_EQ(got, line);
    ASSERT_TRUE(reader.ReadLine(got));
    EXPECT_EQ(got, "end");
    EXPECT_FALSE(reader.ReadLine(got));
    EXPECT_FALSE(reader.ReadLine(got));
    EXPECT_EQ(got, "");
}

TEST_F(LineReaderTest, AgreesWithTheRuleAcrossBlockBoundaries) {
    std::mt19937 random(7);
    for (int round = 0; round < 40; ++round) {
        const size_t size = 250000 + random() % 600000;
        std::string bytes(size, 'a');
        // Sparse line ends so that lines are long and land on every offset.
        const int density = round % 2 ? 3000 : 40;
        for (auto& byte : bytes) {
            if (random() % density == 0)
                byte = random() % 2 ? '\r' : '\n';
        }
        if (round % 4 == 0)
            bytes[random() % size] = '\x1A';
        if (round % 3 == 0)
            std::erase(bytes, '\r');
        LineReader reader(Write(bytes));
        std::vector<std::string> lines;
        std::string line;
        while (reader.ReadLine(line))
            lines.push_back(line);
        EXPECT_EQ(lines, ReferenceLines(bytes)) << "round " << round;
    }
}

TEST_F(LineReaderTest, CrLfSplitAtAnyBlockBoundary) {
    for (int power : {16, 17, 18, 19, 20}) {
        for (int delta : {-2, -1, 0}) {
            const std::string head((size_t{1} << power) + delta, 'h');
            EXPECT_EQ(Lines(head + "\r\n\r\nt"), "[" + head + "][][t]");
        }
    }
}

TEST_F(LineReaderTest, MissingDirectoryOrUnreadableFileThrows) {
    EXPECT_THROW(LineReader((Dir / "missing").string()), FileError);
    EXPECT_THROW(LineReader(Dir.string()), FileError);
#ifndef _WIN32
    if (geteuid() == 0)
        return; // root reads files whatever their mode
    const std::string path = Write("secret");
    std::filesystem::permissions(path, std::filesystem::perms::none);
    EXPECT_THROW(LineReader{path}, FileError);
#endif
}

// A project may name any path as a unit file. A device never ends and a named
// pipe blocks until someone writes to it: neither is read, and opening the
// pipe does not wait.
TEST_F(LineReaderTest, DevicesAndNamedPipesAreRefused) {
#ifdef _WIN32
    EXPECT_THROW(LineReader("NUL"), FileError);
    EXPECT_THROW(LineReader("CON"), FileError);
#else
    EXPECT_THROW(LineReader("/dev/zero"), FileError);
    const std::string pipe = (Dir / "pipe").string();
    ASSERT_EQ(mkfifo(pipe.c_str(), 0600), 0);
    EXPECT_THROW(LineReader{pipe}, FileError);
#endif
}
