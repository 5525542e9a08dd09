#include "report/SourceListing.h"

#include "platform/MessageBox.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

using namespace pembrill;
using pembrill::test::TempDir;

namespace {

std::string Listing(const std::string& path, bool numbers, RecordingMessageSink& messages) {
    ScopedMessageSink install(messages);
    StringLineSink sink;
    WriteSourceListing(path, numbers, sink);
    return sink.Text;
}

} // namespace

TEST(SourceListingTest, NumbersLinesAndCopiesThemByteForByte) {
    TempDir dir;
    RecordingMessageSink messages;
    const auto path = dir.Write("U.pas", "unit Unit1;\r\n\r\n\tx := 'caf\xE9';  \r\nend.");
    EXPECT_EQ(Listing(path, true, messages),
              "   1: unit Unit1;\r\n   2: \r\n   3: \tx := 'caf\xE9';  \r\n   4: end.\r\n");
    EXPECT_EQ(Listing(path, false, messages), "unit Unit1;\r\n\r\n\tx := 'caf\xE9';  \r\nend.\r\n");
    EXPECT_EQ(messages.Transcript(), "");
}

TEST(SourceListingTest, LineEndsFollowTheSharedLineRule) {
    TempDir dir;
    RecordingMessageSink messages;
    // CR, LF and CR LF each end a line, also mixed in one file; Ctrl-Z ends it.
    EXPECT_EQ(Listing(dir.Write("a.pas", "one\rtwo\nthree\r\nfour\x1Anot listed"), true, messages),
              "   1: one\r\n   2: two\r\n   3: three\r\n   4: four\r\n");
    EXPECT_EQ(Listing(dir.Write("b.pas", "one\ntwo\n"), true, messages),
              "   1: one\r\n   2: two\r\n");
    EXPECT_EQ(Listing(dir.Write("c.pas", ""), true, messages), "");
}

TEST(SourceListingTest, NumbersPastFourDigitsWiden) {
    TempDir dir;
    RecordingMessageSink messages;
    std::string text;
    for (int i = 0; i < 10000; ++i)
        text += "x\r\n";
    const std::string listing = Listing(dir.Write("big.pas", text), true, messages);
    EXPECT_NE(listing.find("\r\n9999: x\r\n10000: x\r\n"), std::string::npos);
}

TEST(SourceListingTest, MissingFileGivesItsMessageAndThreeLines) {
    TempDir dir;
    RecordingMessageSink messages;
    EXPECT_EQ(Listing(dir / "gone.pas", true, messages),
              "\r\n\r\nERROR: Could not open source file\r\n");
    EXPECT_EQ(messages.Transcript(),
              "Error: Could not open source file\\r\\r" + dir.Path + "/gone.pas\n");
}
