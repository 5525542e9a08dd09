#include "output/WordWrapMemo.h"

#include "output/LayoutText.h"
#include "platform/TextDecoding.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace pembrill {
namespace {

// A memo ten characters of the monospaced font wide.
class WordWrapMemoTest : public testing::Test {
protected:
    WordWrapMemoTest() {
        Memo.SetFont("Courier New", 10);
        Memo.Width = TextWidth(Font, QString(10, QLatin1Char('x')));
    }

    std::vector<std::string> Wrap(const std::string& line) {
        Memo.Append(line);
        std::vector<std::string> pieces;
        while (!Memo.Empty())
            pieces.push_back(Memo.TakeFirst());
        return pieces;
    }

    const QFont Font = LayoutFont("Courier New", FontPixelSize(10), false);
    WordWrapMemo Memo;
};

TEST_F(WordWrapMemoTest, BreaksAtTheLastBlankThatFits) {
    EXPECT_EQ(Wrap("one two three four five"),
              (std::vector<std::string>{"one two", "three four", "five"}));
    EXPECT_EQ(Wrap("short"), (std::vector<std::string>{"short"}));
    EXPECT_EQ(Wrap("exactly10c"), (std::vector<std::string>{"exactly10c"}));
}

TEST_F(WordWrapMemoTest, BlanksAtABreakBelongToNoPiece) {
    EXPECT_EQ(Wrap("a  b      c           d"), (std::vector<std::string>{"a  b", "c", "d"}));
    EXPECT_EQ(Wrap("word\t\tmore words"), (std::vector<std::string>{"word", "more words"}));
    EXPECT_EQ(Wrap("tail      "), (std::vector<std::string>{"tail      "}));
    EXPECT_EQ(Wrap("tail            "), (std::vector<std::string>{"tail"}));
}

TEST_F(WordWrapMemoTest, KeepsIndentationAndCutsWhatCannotBreak) {
    EXPECT_EQ(Wrap("    begin end"), (std::vector<std::string>{"    begin", "end"}));
    EXPECT_EQ(Wrap("abcdefghijklmnopqrstuvwxy"),
              (std::vector<std::string>{"abcdefghij", "klmnopqrst", "uvwxy"}));
    EXPECT_EQ(Wrap("          indented"), (std::vector<std::string>{"          ", "indented"}));
    EXPECT_EQ(Wrap("ab 0123456789abc"), (std::vector<std::string>{"ab", "0123456789", "abc"}));
}

TEST_F(WordWrapMemoTest, AWidthBelowOneCharacterStillMovesOn) {
    Memo.Width = 0;
    EXPECT_EQ(Wrap("ab c"), (std::vector<std::string>{"a", "b", "c"}));
    Memo.Width = -50;
    EXPECT_EQ(Wrap("xy"), (std::vector<std::string>{"x", "y"}));
}

TEST_F(WordWrapMemoTest, PiecesShowTheCharactersOfTheWholeLine) {
    const std::string utf8 = "\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9"
                             "\xC3\xA9\xC3\xA9\xE2\x82\xAC\xE2\x82\xAC";
    EXPECT_EQ(Wrap(utf8), (std::vector<std::string>{utf8.substr(0, 20), utf8.substr(20)}));
    // Windows-1252 bytes that would each read differently in a piece of their
    // own: the pieces carry the line's display text.
    const std::string latin = "\xC3\xA9 caf\xE9 na\xEFve d\xE9j\xE0";
    std::string joined;
    for (const std::string& piece : Wrap(latin))
        joined += (joined.empty() ? "" : " ") + piece;
    EXPECT_EQ(joined, DecodeForDisplay(latin));
    const std::string emoji = "\xF0\x9F\x98\x80";
    std::string faces;
    for (int i = 0; i < 12; ++i)
        faces += emoji;
    for (const std::string& piece : Wrap(faces))
        EXPECT_EQ(piece.size() % emoji.size(), 0u);
}

// In a proportional font, at any width, a word too wide for a line is cut
// where the longest piece that fits ends: what fits, and one character more
// does not.
TEST(WordWrapMemoCutTest, EachPieceIsTheLongestThatFits) {
    const QFont arial = LayoutFont("Arial", FontPixelSize(10), false);
    WordWrapMemo memo;
    memo.SetFont("Arial", 10);
    std::string word;
    for (int i = 0; i < 400; ++i)
        word += "WiMl.,AVif"[(i * 7 + i / 3) % 10];
    for (const int width : {7, 31, 60, 97, 150, 333}) {
        memo.Width = width;
        memo.Append(word);
        std::string rest = word;
        while (!memo.Empty()) {
            const std::string piece = memo.TakeFirst();
            ASSERT_EQ(rest.compare(0, piece.size(), piece), 0);
            rest.erase(0, piece.size());
            EXPECT_TRUE(piece.size() == 1 ||
                        TextWidth(arial, QString::fromStdString(piece)) <= width)
                << piece;
            if (!rest.empty()) {
                EXPECT_GT(TextWidth(arial, QString::fromStdString(piece + rest[0])), width)
                    << piece << " at " << width;
            }
        }
        EXPECT_EQ(rest, "");
    }
}

TEST_F(WordWrapMemoTest, TakesOneLineAtATimeInOrder) {
    Memo.Append("one two three four five");
    EXPECT_EQ(Memo.LineCount(), 3u);
    EXPECT_EQ(Memo.TakeFirst(), "one two");
    Memo.Clear();
    EXPECT_TRUE(Memo.Empty());
    Memo.Append("");
    EXPECT_TRUE(Memo.Empty());
}

} // namespace
} // namespace pembrill
