#include "output/Prnt.h"

#include "forms/FormPicture.h"
#include "output/LayoutText.h"
#include "output/PagePainter.h"
#include "output/RunMonitor.h"
#include "platform/MessageBox.h"
#include "tests/support/CommandOutput.h"
#include "tests/support/FakeProgress.h"
#include "tests/support/TempDir.h"

#include <QPrinter>

#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

namespace pembrill {
namespace {

using test::CrLf;

// Keeps every lower line, so that the page numbers of a run can be read back.
class PageLog : public test::FakeProgress {
public:
    void SetLowerLine(const std::string& text) override {
        FakeProgress::SetLowerLine(text);
        if (!text.empty())
            Pages.push_back(text);
    }
    std::vector<std::string> Pages;
};

// A page of the store read back: header, body lines top to bottom, the three
// footer cells.
struct PageView {
    std::string Header;
    std::vector<std::string> Lines;
    std::vector<int> LineTops;
    std::string Left, Centre, Right;
    int HeaderLines = 0;
    int FooterLines = 0;
};

PageFacts Facts(int width = 700, int height = 1000) {
    PageFacts facts;
    facts.PageWidth = width;
    facts.PageHeight = height;
    facts.PaperWidth = width;
    facts.PaperHeight = height;
    return facts;
}

std::vector<std::string> Numbered(const std::string& prefix, int count) {
    std::vector<std::string> lines;
    for (int i = 1; i <= count; ++i)
        lines.push_back(prefix + std::to_string(i));
    return lines;
}

std::string Joined(const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& line : lines)
        text += line + "\r\n";
    return text;
}

class PrntTest : public testing::Test {
protected:
    PrntTest() : Sink(Messages) {
        Form.Now = [] { return QDateTime(QDate(2024, 3, 5), QTime(14, 7, 41)); };
    }

    void AddSection(const std::vector<std::string>& lines, const std::string& header,
                    const std::string& footerName, const std::string& font = "Courier New",
                    const std::string& size = "10") {
        const std::string name = "section" + std::to_string(Form.PrintFiles.size()) + ".txt";
        AddSectionFile(Dir.Write(name, Joined(lines)), header, footerName, font, size);
    }

    void AddSectionFile(const std::string& path, const std::string& header,
                        const std::string& footerName, const std::string& font = "Courier New",
                        const std::string& size = "10") {
        Form.PrintFiles.push_back(path);
        Form.HeaderTexts.push_back(header);
        Form.FooterFileNames.push_back(footerName);
        Form.FontNames.push_back(font);
        Form.FontSizes.push_back(size);
    }

    void Compose(const PageFacts& facts = Facts()) {
        Pages = Form.Compose(facts, Format, Progress);
        ASSERT_TRUE(Pages);
    }

    PageView View(int index) const {
        const StoredPage& page = Pages->Page(index);
        const PageFacts& facts = Pages->Facts();
        const int footerTop = facts.PageHeight - Form.RepPageFooterBand.Height;
        const int bodyTop = (Format.Header ? Form.RepPageHeaderBand.Height : 0) + 20;
        PageView view;
        for (const StoredText& text : page.Texts) {
            const std::string characters(page.TextOf(text));
            if (text.Y >= footerTop) {
                const StoredFont& font = Pages->Font(text.Font);
                const int width = TextWidth(LayoutFont(font.Name, font.PixelSize, font.Bold),
                                            LayoutString(characters));
                if (text.X == MarginUnits(Form.BandReport.LeftMarginInches))
                    view.Left = characters;
                else if (text.X + width == facts.PageWidth)
                    view.Right = characters;
                else
                    view.Centre = characters;
            } else if (text.Y < bodyTop) {
                view.Header = characters;
            } else {
                view.Lines.push_back(characters);
                view.LineTops.push_back(text.Y);
            }
        }
        for (const StoredLine& line : page.Lines)
            ++(line.Y >= footerTop ? view.FooterLines : view.HeaderLines);
        return view;
    }

    std::vector<std::string> AllLines() const {
        std::vector<std::string> lines;
        for (int i = 0; i < Pages->PageCount(); ++i) {
            const PageView view = View(i);
            lines.insert(lines.end(), view.Lines.begin(), view.Lines.end());
        }
        return lines;
    }

    // How many detail lines fit on a page by the engine's rule.
    int LinesPerPage() const {
        const int footerTop = Pages->Facts().PageHeight - Form.RepPageFooterBand.Height;
        const int height = Form.RepTextBand.Height;
        int position = (Format.Header ? Form.RepPageHeaderBand.Height : 0) + 20;
        int count = 0;
        for (; position + height < footerTop; position += height)
            ++count;
        return count;
    }

    test::TempDir Dir;
    RecordingMessageSink Messages;
    ScopedMessageSink Sink;
    PageFormat Format;
    PageLog Progress;
    TPrintForm Form;
    std::optional<PageStore> Pages;
};

TEST_F(PrntTest, SingleSectionFillsPagesAndNumbersThem) {
    const std::vector<std::string> lines = Numbered("Line ", 150);
    AddSection(lines, "Source Code for: demo.dpr", "Unit1.pas");
    Compose();
    const int perPage = LinesPerPage();
    ASSERT_GT(perPage, 20);
    const int pageCount = (150 + perPage - 1) / perPage;
    ASSERT_EQ(Pages->PageCount(), pageCount);
    EXPECT_EQ(AllLines(), lines);
    for (int i = 0; i < pageCount; ++i) {
        const PageView view = View(i);
        EXPECT_EQ(view.Lines.size(), i + 1 < pageCount ? perPage : 150 - perPage * i);
        EXPECT_EQ(view.Header, "Source Code for: demo.dpr");
        EXPECT_EQ(view.Left, "Mar-05-24 14:07");
        EXPECT_EQ(view.Centre, "Unit1.pas");
        EXPECT_EQ(view.Right, "Page " + std::to_string(i + 1));
        EXPECT_EQ(view.HeaderLines, 1);
        EXPECT_EQ(view.FooterLines, 1);
        EXPECT_EQ(Progress.Pages[static_cast<size_t>(i)], "Page " + std::to_string(i + 1));
    }
    EXPECT_EQ(Progress.Pages.size(), static_cast<size_t>(pageCount));
    EXPECT_EQ(Progress.Upper, "Formatting");
    EXPECT_FALSE(Progress.Visible);
    EXPECT_TRUE(Messages.Messages.empty());
    EXPECT_EQ(Form.RepTextBand.Height, Form.RepTextLabel.Height() + 1);
    EXPECT_EQ(Form.RepPageHeaderBand.Height, Form.RepHeaderLabel.Height() + 14);
    EXPECT_EQ(Form.RepPageFooterBand.Height, Form.RepBottomLeftLabel.Height() + 14);
}

TEST_F(PrntTest, EachSectionStartsANewPageNumberedFromOne) {
    AddSection(Numbered("a", 70), "Source Dependencies for: p.dpr", "Source Dependencies");
    AddSection(Numbered("b", 5), "Source Code for: p.dpr", "Unit1.pas", "Arial", "12");
    AddSection(Numbered("c", 3), "Objects for: p.dpr", "");
    Format.BottomLeft = "Filename";
    Compose();
    ASSERT_LT(LinesPerPage(), 70);
    ASSERT_EQ(Pages->PageCount(), 4);
    const std::vector<std::string> headers = {"Source Dependencies for: p.dpr",
                                              "Source Dependencies for: p.dpr",
                                              "Source Code for: p.dpr", "Objects for: p.dpr"};
    const std::vector<std::string> names = {"Source Dependencies", "Source Dependencies",
                                            "Unit1.pas", ""};
    const std::vector<std::string> numbers = {"Page 1", "Page 2", "Page 1", "Page 1"};
    for (int i = 0; i < 4; ++i) {
        const PageView view = View(i);
        EXPECT_EQ(view.Header, headers[i]) << i;
        EXPECT_EQ(view.Left, names[i]) << i;
        EXPECT_EQ(view.Centre, names[i]) << i;
        EXPECT_EQ(view.Right, numbers[i]) << i;
    }
    EXPECT_EQ(View(1).Lines.back(), "a70");
    EXPECT_EQ(View(2).Lines, Numbered("b", 5));
    EXPECT_EQ(View(3).Lines, Numbered("c", 3));
    EXPECT_EQ(Progress.Pages, (std::vector<std::string>{"Page 1", "Page 2", "Page 3", "Page 4"}));
    EXPECT_EQ(Pages->Font(Pages->Page(2).Texts[1].Font).Name, "Arial");
    EXPECT_EQ(Pages->Font(Pages->Page(3).Texts[1].Font).Name, "Courier New");
}

TEST_F(PrntTest, WordWrapBreaksOverWideLinesIntoPiecesThatFit) {
    std::string words;
    while (TextWidth(LayoutFont("Courier New", FontPixelSize(10), false), LayoutString(words)) <=
           3 * 650)
        words += "lorem ipsum dolor ";
    words += "end";
    const std::string longWord(400, 'x');
    AddSection({"first", words, longWord}, "h", "f");
    AddSection({"next"}, "h2", "f2");
    Format.LeftMargin = "0.5";
    PageFacts facts = Facts();
    facts.LeftOffset = 10;
    Compose(facts);
    const int usable = 700 - MarginUnits(5);
    const std::vector<std::string> lines = View(0).Lines;
    ASSERT_GE(lines.size(), 1u + 3 + 2);
    std::string rejoined;
    size_t i = 1;
    for (; i < lines.size() && lines[i][0] != 'x'; ++i) {
        EXPECT_LE(TextWidth(Form.RepTextLabel.LayoutFontOf(), LayoutString(lines[i])), usable - 10);
        rejoined += (rejoined.empty() ? "" : " ") + lines[i];
    }
    EXPECT_GE(i - 1, 3u);
    EXPECT_EQ(rejoined, words);
    std::string word;
    for (; i < lines.size(); ++i)
        word += lines[i];
    EXPECT_EQ(word, longWord);
    EXPECT_EQ(View(1).Lines, (std::vector<std::string>{"next"}));
    for (const StoredText& text : Pages->Page(0).Texts)
        EXPECT_NE(Pages->Font(text.Font).Name, "") << "every piece keeps the section font";
}

TEST_F(PrntTest, WithoutWordWrapAnOverWideLineRunsOnAsOneLine) {
    const std::string wide(300, 'w');
    AddSection({wide, "after"}, "h", "f");
    Format.WordWrap = false;
    Compose();
    EXPECT_EQ(View(0).Lines, (std::vector<std::string>{wide, "after"}));
    EXPECT_GT(TextWidth(Form.RepTextLabel.LayoutFontOf(), LayoutString(wide)), 700);
}

TEST_F(PrntTest, EmptySectionsGivePagesOfTheirOwn) {
    AddSection({}, "first", "f1");
    AddSection({"one", "", "three"}, "second", "f2");
    AddSection({}, "third", "f3");
    AddSection({"last"}, "fourth", "f4");
    Compose();
    ASSERT_EQ(Pages->PageCount(), 4);
    EXPECT_EQ(View(0).Header, "first");
    EXPECT_TRUE(View(0).Lines.empty());
    EXPECT_EQ(View(0).Right, "Page 1");
    const PageView second = View(1);
    EXPECT_EQ(second.Lines, (std::vector<std::string>{"one", "three"}));
    EXPECT_EQ(second.LineTops[1] - second.LineTops[0], 2 * Form.RepTextBand.Height)
        << "an empty line takes a full band";
    EXPECT_EQ(View(2).Header, "third");
    EXPECT_TRUE(View(2).Lines.empty());
    EXPECT_EQ(View(3).Lines, (std::vector<std::string>{"last"}));
}

TEST_F(PrntTest, LeftMarginIsTakenInWholeTenthsOfAnInch) {
    AddSection({"text"}, "h", "f");
    const auto marginFor = [&](const std::string& text) {
        Format.LeftMargin = text;
        Compose();
        return Form.BandReport.LeftMarginInches;
    };
    EXPECT_EQ(marginFor("0.15"), 1);
    EXPECT_EQ(View(0).LineTops.size(), 1u);
    EXPECT_EQ(Pages->Page(0).Texts[1].X, static_cast<int>(0.1 * LayoutDpi()));
    EXPECT_EQ(marginFor("2.3"), 23);
    EXPECT_EQ(marginFor(" -1 "), -10);
    EXPECT_EQ(marginFor("1e-1"), 1);
    EXPECT_EQ(marginFor("0"), 0);
    EXPECT_EQ(Pages->Page(0).Lines[0].Width, 700);
    EXPECT_TRUE(Messages.Messages.empty());
    EXPECT_EQ(marginFor("abc"), 0);
    EXPECT_EQ(Messages.Transcript(), "Error: Invalid left margin: abc\n");
}

TEST_F(PrntTest, HeaderAndFooterCanBeSwitchedOff) {
    AddSection(Numbered("n", 200), "header text", "file");
    Format.Header = false;
    Format.Footer = false;
    Compose();
    const PageView view = View(0);
    EXPECT_EQ(view.LineTops.front(), 20);
    EXPECT_EQ(view.Header, "");
    EXPECT_EQ(view.Left + view.Centre + view.Right, "");
    EXPECT_EQ(view.HeaderLines + view.FooterLines, 0);
    EXPECT_EQ(static_cast<int>(view.Lines.size()), LinesPerPage())
        << "the footer's room stays kept";
}

TEST_F(PrntTest, LinesCanBeSwitchedOffWithTheirBandsShown) {
    AddSection({"x"}, "header text", "file");
    Format.HeaderLine = false;
    Format.FooterLine = false;
    Compose();
    const PageView view = View(0);
    EXPECT_EQ(view.Header, "header text");
    EXPECT_EQ(view.HeaderLines + view.FooterLines, 0);
}

TEST_F(PrntTest, FooterChoicesAreComparedExactly) {
    AddSection({"x"}, "h", "name.pas");
    Format.BottomLeft = "date";
    Format.BottomCenter = "Date";
    Format.BottomRight = "pagenum";
    Compose();
    PageView view = View(0);
    EXPECT_EQ(view.Left, "");
    EXPECT_EQ(view.Centre, "Mar-05-24");
    EXPECT_EQ(view.Right, "");
    Format.BottomLeft = "None";
    Format.BottomCenter = "Filename ";
    Format.BottomRight = "DateTime";
    Compose();
    view = View(0);
    EXPECT_EQ(view.Left + view.Centre, "");
    EXPECT_EQ(view.Right, "Mar-05-24 14:07");
}

TEST_F(PrntTest, StampIsTakenOncePerRun) {
    AddSection(Numbered("n", 200), "h", "f");
    int calls = 0;
    Form.Now = [&] {
        ++calls;
        return QDateTime(QDate(2031, 12, 9), QTime(calls, 5));
    };
    Compose();
    ASSERT_GT(Pages->PageCount(), 1);
    EXPECT_EQ(calls, 1);
    EXPECT_EQ(View(Pages->PageCount() - 1).Left, "Dec-09-31 01:05");
}

TEST_F(PrntTest, UnopenablePrintFilesAreReportedAndSkipped) {
    AddSectionFile(Dir / "missing1.txt", "first", "f1");
    AddSection({"b1", "b2"}, "second", "f2");
    AddSectionFile(Dir.Path, "third", "f3");
    AddSection({"d1"}, "fourth", "f4");
    Compose();
    EXPECT_EQ(Messages.Transcript(), "Error: Error opening print file: " + (Dir / "missing1.txt") +
                                         "\nError: Error opening print file: " + Dir.Path + "\n");
    ASSERT_EQ(Pages->PageCount(), 4);
    EXPECT_EQ(View(0).Header, "first");
    EXPECT_TRUE(View(0).Lines.empty());
    EXPECT_EQ(View(1).Lines, (std::vector<std::string>{"b1", "b2"}));
    EXPECT_EQ(View(2).Header, "third");
    EXPECT_EQ(View(2).Centre, "f3");
    EXPECT_TRUE(View(2).Lines.empty());
    EXPECT_EQ(View(3).Lines, (std::vector<std::string>{"d1"}));
    EXPECT_FALSE(Progress.Visible);
}

TEST_F(PrntTest, EmptyPathsAreNeverOpened) {
    AddSectionFile("", "first", "f1");
    AddSection({"b1"}, "second", "f2");
    AddSectionFile("", "third", "f3");
    AddSection({"d1"}, "fourth", "f4");
    Compose();
    EXPECT_EQ(Messages.Transcript(), "Error: Internal error - tried to open stdin\n"
                                     "Error: Internal error - tried to open stdin\n");
    ASSERT_EQ(Pages->PageCount(), 3);
    EXPECT_EQ(View(0).Header, "first");
    EXPECT_EQ(View(1).Lines, (std::vector<std::string>{"b1"}));
    EXPECT_EQ(View(2).Header, "fourth");
    EXPECT_EQ(View(2).Lines, (std::vector<std::string>{"d1"}));
    EXPECT_FALSE(Progress.Visible);
}

TEST_F(PrntTest, LinesReachThePageAsTheirBytes) {
    const std::string latin = "caf\xE9\tna\xEFve \x0C end";
    const std::string utf8 = "\xE2\x82\xAC 100";
    AddSection({latin, utf8}, "Objects for: C:\\proj\\d\xE9mo.dpr", "");
    Compose();
    EXPECT_EQ(View(0).Lines, (std::vector<std::string>{latin, utf8}));
    EXPECT_EQ(View(0).Header, "Objects for: C:\\proj\\d\xE9mo.dpr");
}

TEST_F(PrntTest, OddSettingsStillGiveEveryLine) {
    AddSection({"one two", "three"}, "h", "f", "No Such Font", "0");
    AddSection({"four"}, "h", "f", "Arial", "-12");
    AddSection({"five"}, "h", "f", "Arial", "2000");
    AddSection({"six"}, "h", "f", "Arial", "twelve");
    // A bad size in every section is told once.
    AddSection({"ten"}, "h", "f", "Arial", "twelve");
    Format.LeftMargin = "1e9";
    Format.HeaderFontSize = "$A";
    Compose();
    EXPECT_EQ(Form.BandReport.LeftMarginInches, 1000000);
    EXPECT_EQ(AllLines(), (std::vector<std::string>{"o", "n", "e", "t", "w", "o", "t", "h", "r",
                                                    "e", "e", "f", "o", "u", "r", "f", "i", "v",
                                                    "e", "s", "i", "x", "t", "e", "n"}));
    EXPECT_EQ(Messages.Transcript(), "Error: Invalid font size: twelve\n");
    Format.LeftMargin = "-1e9";
    Messages.Messages.clear();
    Compose();
    EXPECT_EQ(AllLines(),
              (std::vector<std::string>{"one two", "three", "four", "five", "six", "ten"}));
    Form.PrintFiles.clear();
    Compose();
    EXPECT_EQ(Pages->PageCount(), 1);
}

class CancelAfter : public RunMonitor {
public:
    explicit CancelAfter(int polls) : Polls(polls) {}
    void RunStarted(const std::string&) override {}
    void PageBegun(int) override {}
    bool CancelRequested() override { return --Polls < 0; }
    void RunEnded() override {}
    int Polls;
};

TEST_F(PrntTest, CancelLeavesNothingForTheNextRun) {
    AddSection({std::string(2000, 'y'), "after"}, "h", "f");
    CancelAfter monitor(2);
    Form.BandReport.ShowProgress = true;
    Form.BandReport.Monitor = &monitor;
    EXPECT_FALSE(Form.Compose(Facts(), Format, Progress));
    EXPECT_FALSE(Progress.Visible);
    Form.BandReport.Monitor = nullptr;
    Compose();
    const std::vector<std::string> lines = AllLines();
    ASSERT_GT(lines.size(), 2u);
    EXPECT_EQ(lines.front(), std::string(lines.front().size(), 'y'));
    EXPECT_EQ(lines.back(), "after");
}

TEST_F(PrntTest, PdfThroughThePrinterHoldsTheTextInOrder) {
    const std::vector<std::string> first = Numbered("first section line ", 90);
    std::vector<std::string> second = Numbered("second section line ", 4);
    second.push_back("begin\tTabbed\tline");
    AddSection(first, "Source Code for: /p/demo.dpr", "Unit1.pas");
    AddSection(second, "Objects for: /p/demo.dpr", "");
    const std::string pdf = Dir / "report.pdf";
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(QString::fromStdString(pdf));
    const auto pages = Form.Compose(printer, Format, Progress);
    ASSERT_TRUE(pages);
    ASSERT_EQ(PrintPages(*pages, printer, nullptr), PrintOutcome::Printed);

    const std::string info = test::CommandOutput("pdfinfo '" + pdf + "'");
    const size_t pagesAt = info.find("Pages:");
    ASSERT_NE(pagesAt, std::string::npos) << info;
    EXPECT_EQ(std::stoi(info.substr(pagesAt + 6)), pages->PageCount());
    const std::string text = test::CommandOutput("pdftotext -layout '" + pdf + "' -");
    size_t at = 0;
    const auto expectNext = [&](const std::string& wanted) {
        const size_t found = text.find(wanted, at);
        ASSERT_NE(found, std::string::npos) << wanted;
        at = found + wanted.size();
    };
    expectNext("Source Code for: /p/demo.dpr");
    for (const std::string& line : first)
        expectNext(line + "\n");
    expectNext("Mar-05-24 14:07");
    expectNext("Unit1.pas");
    expectNext("Page 2");
    expectNext("Objects for: /p/demo.dpr");
    for (size_t i = 0; i < 4; ++i)
        expectNext(second[i] + "\n");
    for (const std::string word : {"begin", " Tabbed", " line\n"})
        expectNext(word);
    expectNext("Page 1");
}

// Each picture takes a page of its own before its line, at a form pixel to a
// screen pixel when it fits, else made smaller to fit, keeping its shape.
TEST_F(PrntTest, FormPicturesTakePagesOfTheirOwnBeforeTheirObjects) {
    const auto frame = [](int width, int height) {
        auto picture = std::make_shared<FormPicture>();
        picture->Elements.resize(1);
        picture->Elements[0].Kind = PictureKind::Frame;
        picture->Elements[0].Bounds = picture->Elements[0].Client = {0, 0, width, height};
        return std::shared_ptr<const FormPicture>(std::move(picture));
    };
    AddSection(Numbered("c", 6), "Objects for: p.dpr", "");
    Form.Pictures = {{{0, frame(100, 50)}, {3, frame(5000, 3000)}}};
    Compose();
    ASSERT_EQ(Pages->PageCount(), 4);
    EXPECT_TRUE(View(0).Lines.empty());
    EXPECT_EQ(View(1).Lines, Numbered("c", 3));
    EXPECT_TRUE(View(2).Lines.empty());
    EXPECT_EQ(View(3).Lines, (std::vector<std::string>{"c4", "c5", "c6"}));
    const auto filled = [&](int page) {
        const StoredPage& stored = Pages->Page(page);
        EXPECT_FALSE(stored.Shapes.empty());
        const StoredShape& first = stored.Shapes.front();
        EXPECT_EQ(first.Kind, ShapeKind::Fill);
        return QRectF(stored.Points[first.First], stored.Points[first.First + 1]);
    };
    const double pixel = Pages->LayoutDpi() / 96;
    const QRectF small = filled(0);
    EXPECT_DOUBLE_EQ(small.width(), 100 * pixel);
    EXPECT_DOUBLE_EQ(small.height(), 50 * pixel);
    EXPECT_GE(small.top(), Form.RepPageHeaderBand.Height);
    const QRectF large = filled(2);
    EXPECT_NEAR(large.width(), Facts().PageWidth - MarginUnits(Form.BandReport.LeftMarginInches),
                0.01);
    EXPECT_NEAR(large.width() / large.height(), 5000.0 / 3000.0, 0.001);
    EXPECT_TRUE(Pages->Page(1).Shapes.empty());
}

} // namespace
} // namespace pembrill
