#include "output/BandReport.h"

#include "output/LayoutText.h"
#include "output/PagePainter.h"
#include "output/ReportLabel.h"
#include "output/ReportShape.h"
#include "output/RunMonitor.h"

#include <QImage>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace pembrill {
namespace {

PageFacts Facts(int width, int height) {
    PageFacts facts;
    facts.PageWidth = width;
    facts.PageHeight = height;
    facts.PaperWidth = width;
    facts.PaperHeight = height;
    return facts;
}

// A report of page header, detail and page footer bands with one label each;
// the detail handler hands out Lines, one per pull.
struct SmallReport {
    SmallReport() {
        Header.Height = 30;
        Header.AddLabel(HeaderLabel);
        HeaderLabel.SetCaption("Header");
        Detail.Height = 10;
        Detail.AddLabel(DetailLabel);
        Footer.Height = 25;
        Footer.AddLabel(FooterLabel);
        Footer.AddShape(FooterLine);
        FooterLabel.Top = 8;
        FooterLine.Top = 2;
        FooterLine.Width = 100;
        Report.AddBand(Header);
        Report.AddBand(Detail);
        Report.AddBand(Footer);
        Report.OnStartPage = [this] {
            FooterLabel.SetCaption("Page " + std::to_string(Report.PageNumber()));
        };
        Report.OnNeedData = [this](bool& more) {
            more = Next < Lines.size();
            if (more)
                DetailLabel.SetCaption(Lines[Next++]);
        };
    }

    void AddLines(int count) {
        for (int i = 1; i <= count; ++i)
            Lines.push_back("Line " + std::to_string(i));
    }

    TBandReport Report;
    TReportBand Header{TBandType::rbPageHeader};
    TReportBand Detail{TBandType::rbDetail};
    TReportBand Footer{TBandType::rbPageFooter};
    TReportLabel HeaderLabel, DetailLabel, FooterLabel;
    TReportShape FooterLine;
    std::vector<std::string> Lines;
    size_t Next = 0;
};

// Every text of a page as "y:text", in drawing order.
std::vector<std::string> TextsOf(const PageStore& store, int index) {
    std::vector<std::string> texts;
    const StoredPage& page = store.Page(index);
    for (const StoredText& text : page.Texts)
        texts.push_back(std::to_string(text.Y) + ":" + std::string(page.TextOf(text)));
    return texts;
}

const StoredText* FindText(const PageStore& store, int index, const std::string& wanted) {
    const StoredPage& page = store.Page(index);
    for (const StoredText& text : page.Texts) {
        if (page.TextOf(text) == wanted)
            return &text;
    }
    return nullptr;
}

TEST(BandReportTest, BreaksPagesWhereTheNextDetailReachesTheFooterRoom) {
    SmallReport report;
    report.AddLines(7);
    // Body from 30 to 100 - 25 = 75: details at 30, 40, 50, 60; a fifth at 70
    // would reach 80, past the room's top, so it starts page 2.
    const auto pages = report.Report.Run(Facts(400, 100));
    ASSERT_TRUE(pages);
    ASSERT_EQ(pages->PageCount(), 2);
    EXPECT_EQ(TextsOf(*pages, 0),
              (std::vector<std::string>{"0:Header", "30:Line 1", "40:Line 2", "50:Line 3",
                                        "60:Line 4", "83:Page 1"}));
    EXPECT_EQ(TextsOf(*pages, 1), (std::vector<std::string>{"0:Header", "30:Line 5", "40:Line 6",
                                                            "50:Line 7", "83:Page 2"}));
    ASSERT_EQ(pages->Page(1).Lines.size(), 1u);
    EXPECT_EQ(pages->Page(1).Lines[0].Y, 77);
}

TEST(BandReportTest, DetailThatExactlyReachesTheRoomStartsANewPage) {
    SmallReport report;
    report.AddLines(5);
    // With the footer at 25 the room begins at 80: a detail at 70 ends at 80.
    report.Footer.Height = 20;
    const auto pages = report.Report.Run(Facts(400, 100));
    ASSERT_TRUE(pages);
    ASSERT_EQ(pages->PageCount(), 2);
    EXPECT_TRUE(FindText(*pages, 0, "Line 4"));
    EXPECT_TRUE(FindText(*pages, 1, "Line 5"));
}

TEST(BandReportTest, DisabledFooterKeepsItsRoomAndDisabledHeaderTakesNone) {
    SmallReport report;
    report.AddLines(8);
    TReportBand spareFooter{TBandType::rbPageFooter};
    spareFooter.Height = 10;
    spareFooter.Enabled = false;
    report.Report.AddBand(spareFooter);
    report.Header.Enabled = false;
    // Room 35 from 65; body from 0: details at 0..50, six to a page.
    const auto pages = report.Report.Run(Facts(400, 100));
    ASSERT_TRUE(pages);
    ASSERT_EQ(pages->PageCount(), 2);
    EXPECT_EQ(TextsOf(*pages, 0).front(), "0:Line 1");
    EXPECT_EQ(TextsOf(*pages, 0).back(), "73:Page 1");
    EXPECT_TRUE(FindText(*pages, 0, "Line 6"));
    EXPECT_TRUE(FindText(*pages, 1, "Line 7"));
}

TEST(BandReportTest, HandlersChangeBandsBetweenDetails) {
    SmallReport report;
    report.AddLines(4);
    report.Report.OnNeedData = [&](bool& more) {
        more = report.Next < report.Lines.size();
        if (!more)
            return;
        report.DetailLabel.SetCaption(report.Lines[report.Next++]);
        report.Detail.Height = report.Next == 2 ? 20 : 10;
        report.Detail.Enabled = report.Next != 3;
        if (report.Next == 4)
            report.Report.NewPage();
    };
    const auto pages = report.Report.Run(Facts(400, 200));
    ASSERT_TRUE(pages);
    ASSERT_EQ(pages->PageCount(), 2);
    EXPECT_EQ(TextsOf(*pages, 0),
              (std::vector<std::string>{"0:Header", "30:Line 1", "40:Line 2", "183:Page 1"}));
    EXPECT_EQ(TextsOf(*pages, 1),
              (std::vector<std::string>{"0:Header", "30:Line 4", "183:Page 2"}));
}

TEST(BandReportTest, MarginShiftsContentAndAlignsFooterCellsToTheUsableWidth) {
    SmallReport report;
    report.AddLines(1);
    TReportLabel centre, right;
    centre.SetCaption("Centre");
    centre.AlignToBand = true;
    centre.Alignment = TAlignment::taCenter;
    right.SetCaption("Right");
    right.AlignToBand = true;
    right.Alignment = TAlignment::taRightJustify;
    report.Footer.AddLabel(centre);
    report.Footer.AddLabel(right);
    report.Report.LeftMarginInches = 5;
    int widthDuringRun = 0;
    report.Report.AfterPrint = [&] { widthDuringRun = report.Report.UsableWidth(); };
    const auto pages = report.Report.Run(Facts(400, 100));
    ASSERT_TRUE(pages);
    const int margin = static_cast<int>(0.5 * LayoutDpi());
    EXPECT_EQ(widthDuringRun, 400 - margin);
    EXPECT_EQ(FindText(*pages, 0, "Line 1")->X, margin);
    EXPECT_EQ(FindText(*pages, 0, "Right")->X, 400 - right.Width());
    EXPECT_EQ(FindText(*pages, 0, "Centre")->X, margin + (400 - margin - centre.Width()) / 2);
    EXPECT_EQ(pages->Page(0).Lines[0].X, margin);
}

TEST(BandReportTest, HeaderTallerThanThePageStillMovesOn) {
    SmallReport report;
    report.AddLines(3);
    report.Header.Height = 500;
    const auto pages = report.Report.Run(Facts(400, 100));
    ASSERT_TRUE(pages);
    EXPECT_EQ(pages->PageCount(), 3);
}

class CancellingMonitor : public RunMonitor {
public:
    void RunStarted(const std::string& title) override { Title = title; }
    void PageBegun(int page) override { Pages.push_back(page); }
    bool CancelRequested() override { return ++Polls > 5; }
    void RunEnded() override { Ended = true; }

    std::string Title;
    std::vector<int> Pages;
    int Polls = 0;
    bool Ended = false;
};

TEST(BandReportTest, CancelEndsTheRunWithoutPages) {
    SmallReport report;
    report.AddLines(100);
    CancellingMonitor monitor;
    bool afterPrint = false;
    report.Report.ShowProgress = true;
    report.Report.Monitor = &monitor;
    report.Report.ReportTitle = "Job";
    report.Report.AfterPrint = [&] { afterPrint = true; };
    EXPECT_FALSE(report.Report.Run(Facts(400, 100)));
    EXPECT_TRUE(afterPrint);
    EXPECT_TRUE(monitor.Ended);
    EXPECT_EQ(monitor.Title, "Job");
    EXPECT_EQ(monitor.Pages, (std::vector<int>{1, 2}));
    EXPECT_EQ(report.Next, 5u);
}

TEST(BandReportTest, MonitorIsLeftAloneWithoutShowProgress) {
    SmallReport report;
    report.AddLines(100);
    CancellingMonitor monitor;
    report.Report.Monitor = &monitor;
    const auto pages = report.Report.Run(Facts(400, 100));
    ASSERT_TRUE(pages);
    EXPECT_EQ(pages->PageCount(), 25);
    EXPECT_EQ(monitor.Polls, 0);
}

TEST(BandReportTest, RunInStepsLaysOutTheSamePages) {
    SmallReport whole;
    whole.AddLines(100);
    const auto expected = whole.Report.Run(Facts(400, 100));
    ASSERT_TRUE(expected);

    SmallReport stepped;
    stepped.AddLines(100);
    int afterPrint = 0;
    stepped.Report.AfterPrint = [&] { ++afterPrint; };
    stepped.Report.BeginRun(Facts(400, 100));
    EXPECT_EQ(stepped.Report.Pages().PageCount(), 1);
    EXPECT_EQ(stepped.Report.Pages().FinishedPageCount(), 0);
    int steps = 1;
    while (stepped.Report.ContinueRun(7)) {
        ++steps;
        // Only the page being laid out is unfinished.
        EXPECT_EQ(stepped.Report.Pages().FinishedPageCount(),
                  stepped.Report.Pages().PageCount() - 1);
    }
    EXPECT_EQ(steps, 15);
    EXPECT_EQ(afterPrint, 1);
    EXPECT_FALSE(stepped.Report.ContinueRun(7));
    const auto pages = stepped.Report.EndRun();
    ASSERT_TRUE(pages);
    EXPECT_EQ(afterPrint, 1);
    ASSERT_EQ(pages->PageCount(), expected->PageCount());
    EXPECT_EQ(pages->FinishedPageCount(), pages->PageCount());
    for (int i = 0; i < pages->PageCount(); ++i)
        EXPECT_EQ(TextsOf(*pages, i), TextsOf(*expected, i)) << i;
}

TEST(BandReportTest, EndingARunEarlyFinishesThePageAsItStands) {
    SmallReport report;
    report.AddLines(100);
    bool afterPrint = false;
    report.Report.AfterPrint = [&] { afterPrint = true; };
    report.Report.BeginRun(Facts(400, 100));
    EXPECT_TRUE(report.Report.ContinueRun(6));
    const auto pages = report.Report.EndRun();
    ASSERT_TRUE(pages);
    EXPECT_TRUE(afterPrint);
    EXPECT_EQ(report.Next, 6u);
    ASSERT_EQ(pages->FinishedPageCount(), 2);
    EXPECT_EQ(TextsOf(*pages, 1),
              (std::vector<std::string>{"0:Header", "30:Line 5", "40:Line 6", "83:Page 2"}));
    // The handlers' NewPage does nothing once the run is over.
    report.Report.NewPage();
    EXPECT_EQ(report.Report.PageNumber(), 2);
}

TEST(BandReportTest, ReleasedMonitorIsNoLongerAskedAboutCancel) {
    SmallReport report;
    report.AddLines(100);
    CancellingMonitor monitor;
    report.Report.ShowProgress = true;
    report.Report.Monitor = &monitor;
    report.Report.BeginRun(Facts(400, 100));
    EXPECT_TRUE(report.Report.ContinueRun(3));
    report.Report.ReleaseMonitor();
    EXPECT_TRUE(monitor.Ended);
    EXPECT_EQ(report.Report.Monitor, nullptr);
    while (report.Report.ContinueRun(10)) {
    }
    const auto pages = report.Report.EndRun();
    ASSERT_TRUE(pages);
    EXPECT_EQ(pages->PageCount(), 25);
    EXPECT_EQ(monitor.Polls, 3);
    EXPECT_EQ(monitor.Pages, (std::vector<int>{1}));
}

TEST(BandReportTest, StoreOfTwoThousandFullPagesStaysSmall) {
    SmallReport report;
    report.DetailLabel.SetFontName("Courier New");
    report.Report.OnNeedData = [&](bool& more) {
        more = report.Next < 66 * 2000;
        report.DetailLabel.SetCaption(std::to_string(report.Next++) + std::string(90, 'm'));
    };
    // 66 lines to a page.
    const auto pages = report.Report.Run(Facts(794, 30 + 66 * 10 + 5 + 25));
    ASSERT_TRUE(pages);
    EXPECT_EQ(pages->PageCount(), 2000);
    EXPECT_EQ(pages->Page(0).Texts.size(), 66u + 2);
    EXPECT_LT(pages->MemoryBytes(), 200u * 1024 * 1024);
}

// Dark pixels of the image within the columns [from, to).
int InkBetween(const QImage& image, int from, int to) {
    int ink = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = std::max(from, 0); x < std::min(to, image.width()); ++x)
            ink += qGray(image.pixel(x, y)) < 128 ? 1 : 0;
    }
    return ink;
}

TEST(BandReportTest, TextIsDrawnWithinTheWidthItWasMeasuredAt) {
    SmallReport report;
    report.Lines = {"\tIndented\twith tabs", "WWWWWWWWWWWWWWWWWWWW"};
    report.DetailLabel.SetFontName("Courier New");
    report.Detail.Height = 20;
    const auto pages = report.Report.Run(Facts(600, 200));
    ASSERT_TRUE(pages);
    for (const double scale : {1.0, 3.0}) {
        for (const std::string& line : report.Lines) {
            report.DetailLabel.SetCaption(line);
            const int width = report.DetailLabel.Width();
            const QImage image = RenderPage(*pages, 0, scale);
            const StoredText* text = FindText(*pages, 0, line);
            ASSERT_TRUE(text);
            const int right = static_cast<int>((text->X + width) * scale);
            const QImage row = image.copy(0, static_cast<int>(text->Y * scale), image.width(),
                                          static_cast<int>(report.DetailLabel.Height() * scale));
            EXPECT_GT(InkBetween(row, right - static_cast<int>(8 * scale), right), 0) << line;
            EXPECT_EQ(InkBetween(row, right + static_cast<int>(2 * scale), row.width()), 0) << line;
        }
    }
}

} // namespace
} // namespace pembrill
