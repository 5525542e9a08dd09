#include "output/PdfWriter.h"

#include "output/Printer.h"
#include "output/Prnt.h"
#include "platform/ProgressDisplay.h"
#include "tests/support/CommandOutput.h"
#include "tests/support/TempDir.h"

#include <QImage>
#include <QPrinter>
#include <QRegularExpression>

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <tuple>
#include <vector>

namespace pembrill {
namespace {

// A glyph where a page shows it: its number, and its origin in points from
// the sheet's top left corner.
struct PlacedGlyph {
    uint32_t Glyph = 0;
    double X = 0;
    double Y = 0;
};

bool Before(const PlacedGlyph& a, const PlacedGlyph& b) {
    return std::tie(a.Y, a.X, a.Glyph) < std::tie(b.Y, b.X, b.Glyph);
}

// Sections of the given lines in their fonts, laid out for the program's
// PDF page (without header and footer unless asked for) and written by the
// PDF writer.
class PdfWriterTest : public testing::Test {
protected:
    PdfWriterTest() : Printer(QPrinter::HighResolution) {
        SetPdfOutput(Printer, QString::fromStdString(Pdf));
        Format.Header = false;
        Format.Footer = false;
    }

    void AddSection(const std::string& font, const std::vector<std::string>& lines) {
        std::string text;
        for (const std::string& line : lines)
            text += line + "\r\n";
        const std::string name = "section" + std::to_string(Sections.size()) + ".txt";
        Sections.push_back({Dir.Write(name, text), "Header", "File", {font, "10"}, ""});
    }

    void Compose() {
        Form.SetSections(Sections);
        Pages = Form.Compose(Printer, Format, Progress);
        ASSERT_TRUE(Pages);
    }

    PdfWriter NewWriter() const {
        return PdfWriter(Pdf, Printer.pageLayout().fullRect(QPageLayout::Point).size(), *Pages);
    }

    bool Write() {
        PdfWriter writer = NewWriter();
        if (!writer.Start())
            return false;
        for (int i = 0; i < Pages->PageCount(); ++i)
            writer.AddPage(Pages->Page(i));
        return writer.Finish([](int) { return true; });
    }

    // The page's text as a reader copies it: bidirectional marks gone, each
    // run of white space one blank.
    std::string CopiedText(int page) const {
        QString text = QString::fromStdString(
            test::CommandOutput("pdftotext -enc UTF-8 -f " + std::to_string(page) + " -l " +
                                std::to_string(page) + " '" + Pdf + "' -"));
        text.remove(QRegularExpression(QStringLiteral("[\\x{200E}\\x{200F}\\x{202A}-\\x{202E}]")));
        return text.simplified().toStdString();
    }

    // Every glyph of the first page as mutool's trace of it places it.
    std::vector<PlacedGlyph> TracedGlyphs() const {
        const std::string trace = test::CommandOutput("mutool trace '" + Pdf + "' 1");
        static const QRegularExpression transform(
            QStringLiteral("<fill_text [^>]*transform=\"(\\S+) \\S+ \\S+ (\\S+) (\\S+) (\\S+)\""));
        static const QRegularExpression glyph(
            QStringLiteral("<g [^>]*glyph=\"(\\d+)\" x=\"(\\S+)\" y=\"(\\S+)\""));
        std::vector<PlacedGlyph> glyphs;
        double scaleX = 1, scaleY = 1, dx = 0, dy = 0;
        for (const QString& line : QString::fromStdString(trace).split(QLatin1Char('\n'))) {
            if (const auto m = transform.match(line); m.hasMatch()) {
                scaleX = m.captured(1).toDouble();
                scaleY = m.captured(2).toDouble();
                dx = m.captured(3).toDouble();
                dy = m.captured(4).toDouble();
            } else if (const auto g = glyph.match(line); g.hasMatch()) {
                glyphs.push_back({g.captured(1).toUInt(), dx + scaleX * g.captured(2).toDouble(),
                                  dy + scaleY * g.captured(3).toDouble()});
            }
        }
        std::sort(glyphs.begin(), glyphs.end(), Before);
        return glyphs;
    }

    // Every glyph of the store's first page where the layout put it.
    std::vector<PlacedGlyph> StoredGlyphs() const {
        const StoredPage& page = Pages->Page(0);
        const PageFacts& facts = Pages->Facts();
        const double points = 72.0 / Pages->LayoutDpi();
        std::vector<PlacedGlyph> glyphs;
        for (const StoredText& text : page.Texts) {
            for (uint32_t r = text.FirstRun; r < text.FirstRun + text.RunCount; ++r) {
                const StoredRun& run = page.Runs[r];
                for (uint32_t i = run.FirstGlyph; i < run.FirstGlyph + run.GlyphCount; ++i)
                    glyphs.push_back({page.Glyphs[i],
                                      (facts.LeftOffset + text.X + page.GlyphX[i]) * points,
                                      (facts.TopOffset + text.Y + run.Baseline) * points});
            }
        }
        std::sort(glyphs.begin(), glyphs.end(), Before);
        return glyphs;
    }

    test::TempDir Dir;
    const std::string Pdf = Dir / "report.pdf";
    QPrinter Printer;
    PageFormat Format;
    NoProgress Progress;
    TPrintForm Form;
    std::vector<PrintSection> Sections;
    std::optional<PageStore> Pages;
};

// More than 256 distinct glyphs of one font: Latin, Greek and Cyrillic
// letters of DejaVu Sans, sixty to a line.
std::vector<std::string> ManyGlyphs() {
    QString all;
    for (char32_t c = 0x21; c <= 0x7E; ++c)
        all += QChar(c);
    for (char32_t c = 0x100; c <= 0x17F; ++c)
        all += QChar(c);
    for (char32_t c = 0x410; c <= 0x44F; ++c)
        all += QChar(c);
    std::vector<std::string> lines;
    for (qsizetype from = 0; from < all.size(); from += 60)
        lines.push_back(all.mid(from, 60).toStdString());
    return lines;
}

struct CopyCase {
    const char* Name;
    const char* Font;
    std::vector<std::string> Lines;
};

TEST_F(PdfWriterTest, CopiedTextGivesBackEveryCharacterAsWritten) {
    const std::vector<CopyCase> cases = {
        {"kerned Latin and tabs", "Arial", {"AV To", "ToTy\tX1", "AVAVAVAVAV\tY5"}},
        {"the bytes of a literal string", "Courier New", {"WriteLn('(a) \\ b)');"}},
        {"Hebrew", "Arial", {"\xD7\xA9\xD7\x9C\xD7\x95\xD7\x9D \xD7\xA2\xD7\x95\xD7\x9C\xD7\x9D"}},
        {"Arabic",
         "Arial",
         {"\xD9\x85\xD8\xB1\xD8\xAD\xD8\xA8\xD8\xA7 "
          "\xD8\xA8\xD8\xA7\xD9\x84\xD8\xB9\xD8\xA7\xD9\x84\xD9\x85"}},
        {"Korean, an emoji and a character no font has",
         "Arial",
         {"{ \xED\x95\x9C\xEA\xB5\xAD\xEC\x96\xB4 \xF0\x9F\x8E\x89 \xF4\x8F\xBF\xBD }"}},
        {"a ligature", "DejaVu Sans", {"office ffi"}},
        {"a CFF font", "URW Gothic", {"Gothic text"}},
        {"a Type 1 font", "Nimbus Sans", {"Nimbus text"}},
        {"more than 256 glyphs of one font", "DejaVu Sans", ManyGlyphs()},
    };
    for (const CopyCase& row : cases)
        AddSection(row.Font, row.Lines);
    Compose();
    ASSERT_EQ(Pages->PageCount(), static_cast<int>(cases.size()));
    ASSERT_TRUE(Write());
    for (size_t i = 0; i < cases.size(); ++i) {
        std::string expected;
        for (const std::string& line : cases[i].Lines)
            expected += (expected.empty() ? "" : " ") + line;
        EXPECT_EQ(CopiedText(static_cast<int>(i) + 1),
                  QString::fromStdString(expected).simplified().toStdString())
            << cases[i].Name;
    }
    const std::string fonts = test::CommandOutput("pdffonts '" + Pdf + "'");
    EXPECT_TRUE(QString::fromStdString(fonts).contains(
        QRegularExpression(QStringLiteral("URWGothic-Book +CID Type 0C"))))
        << fonts;
    EXPECT_EQ(fonts.find("Nimbus"), std::string::npos) << "a Type 1 font is replaced";
}

TEST_F(PdfWriterTest, TextInAType1FontChoiceIsVisible) {
    AddSection("Nimbus Sans", {"Nimbus text"});
    Compose();
    ASSERT_TRUE(Write());
    test::CommandOutput("pdftoppm -r 72 -gray -png '" + Pdf + "' '" + Dir.Path + "/page'");
    const QImage page(QString::fromStdString(Dir / "page-1.png"));
    ASSERT_FALSE(page.isNull());
    int ink = 0;
    for (int y = 0; y < page.height(); ++y) {
        for (int x = 0; x < page.width(); ++x)
            ink += qGray(page.pixel(x, y)) < 128 ? 1 : 0;
    }
    EXPECT_GT(ink, 50);
}

TEST_F(PdfWriterTest, EveryGlyphStandsWhereTheStoreHasIt) {
    Format.Header = true;
    Format.Footer = true;
    AddSection("Arial", {"AV", "To", "ToTy\tX1", "AVAVAVAVAV\tY5",
                         "\xD7\xA9\xD7\x9C\xD7\x95\xD7\x9D \xD7\xA2\xD7\x95\xD7\x9C\xD7\x9D",
                         "\xD9\x85\xD8\xB1\xD8\xAD\xD8\xA8\xD8\xA7 "
                         "\xD8\xA8\xD8\xA7\xD9\x84\xD8\xB9\xD8\xA7\xD9\x84\xD9\x85"});
    Compose();
    ASSERT_TRUE(Write());
    const std::vector<PlacedGlyph> traced = TracedGlyphs();
    const std::vector<PlacedGlyph> stored = StoredGlyphs();
    ASSERT_EQ(traced.size(), stored.size());
    for (size_t i = 0; i < stored.size(); ++i) {
        EXPECT_EQ(traced[i].Glyph, stored[i].Glyph) << i;
        EXPECT_NEAR(traced[i].X, stored[i].X, 0.1) << "glyph " << stored[i].Glyph;
        EXPECT_NEAR(traced[i].Y, stored[i].Y, 0.1) << "glyph " << stored[i].Glyph;
    }
}

TEST_F(PdfWriterTest, AbandonStopsTheWritingOfAFileInTheMiddle) {
    std::vector<std::string> lines(20000, "  FCount := FCount + 1; { running total }");
    AddSection("Courier New", lines);
    Compose();
    {
        PdfWriter writer = NewWriter();
        ASSERT_TRUE(writer.Start());
        for (int i = 0; i < Pages->PageCount(); ++i)
            writer.AddPage(Pages->Page(i));
        writer.Abandon();
        EXPECT_FALSE(writer.Finish([](int) { return true; }));
    }
    const std::string text = test::CommandOutput("tail -c 6 '" + Pdf + "'");
    EXPECT_NE(text, "%%EOF\n") << "the file is left unfinished for the caller to remove";
}

} // namespace
} // namespace pembrill
