#include "ui/Preview.h"

#include "output/LayoutText.h"
#include "output/PageFacts.h"
#include "output/Printer.h"
#include "output/Prnt.h"
#include "tests/support/CommandOutput.h"
#include "tests/support/FakeProgress.h"
#include "tests/support/PdfFileAnswer.h"
#include "tests/support/TempDir.h"
#include "ui/PreviewPage.h"
#include "ui/ReportOutput.h"
#include "ui/ReportProgress.h"

#include <QAction>
#include <QApplication>
#include <QImage>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPrinter>
#include <QPushButton>
#include <QScrollArea>
#include <QTest>
#include <QTimer>
#include <QWheelEvent>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace pembrill {
namespace {

// A composer with three sections of a page or more each, and its pages.
class PreviewTest : public testing::Test {
protected:
    PreviewTest() {
        std::vector<PrintSection> sections;
        for (const std::string name : {"Demo.dpr", "Unit1.pas", "Unit2.pas"}) {
            std::string text;
            for (int i = 1; i <= 40; ++i)
                text += name + " line " + std::to_string(i) + "\r\n";
            sections.push_back({Dir.Write(name + ".txt", text),
                                "Source Code for: /p/Demo.dpr",
                                name,
                                {"Courier New", "10"},
                                name});
        }
        Form.SetSections(sections);
        PageFacts facts;
        facts.PageWidth = facts.PaperWidth = 500;
        facts.PageHeight = facts.PaperHeight = 700;
        Pages = Form.Compose(facts, Format, Progress);
    }

    // One section of `lines` report lines instead of the three, on the
    // printer's page: many pages.
    void UseLongSection(int lines) {
        std::string text;
        for (int i = 1; i <= lines; ++i)
            text += "  FCount := FCount + " + std::to_string(i) + ";\r\n";
        Form.SetSections({{Dir.Write("Long.pas.txt", text),
                           "Source Code for: /p/Long.dpr",
                           "Long.pas",
                           {"Courier New", "10"},
                           "Long.pas"}});
        Form.Now = [] { return QDateTime(QDate(2024, 3, 5), QTime(14, 7)); };
        Whole = Form.Compose(Printer, Format, Progress);
    }

    // Calls `look` with the preview each time the event loop comes round
    // while it is the modal window, until the preview is closed.
    void WatchPreview(const std::function<void(TPreviewForm&)>& look) {
        QObject::connect(&Watcher, &QTimer::timeout, [look] {
            if (auto* preview = qobject_cast<TPreviewForm*>(QApplication::activeModalWidget()))
                look(*preview);
        });
        Watcher.start(0);
    }

    void Press(QWidget& widget, Qt::Key key) {
        QKeyEvent event(QEvent::KeyPress, key, Qt::NoModifier);
        QApplication::sendEvent(&widget, &event);
    }

    void Wheel(TPreviewForm& preview, int delta) {
        QWidget* viewport = preview.findChild<QScrollArea*>("PageScroller")->viewport();
        QWheelEvent event(QPointF(10, 10), QPointF(10, 10), QPoint(), QPoint(0, delta),
                          Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(viewport, &event);
    }

    test::TempDir Dir;
    test::FakeProgress Progress;
    PageFormat Format;
    TPrintForm Form;
    std::optional<PageStore> Pages;
    QPrinter Printer;
    std::optional<PageStore> Whole;
    QTimer Watcher;
};

// The page indicator as it reads: "Page 3 of 6".
QString Indicator(const TPreviewForm& preview) {
    return preview.PageLabel->text() + " " + preview.PageEdit->text() + " " +
           preview.PageCountLabel->text();
}

bool ProgressWindowUp() {
    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (qobject_cast<TReportProgressForm*>(window) != nullptr && window->isVisible())
            return true;
    }
    return false;
}

bool SamePages(const PageStore& a, const PageStore& b) {
    if (a.PageCount() != b.PageCount())
        return false;
    for (int i = 0; i < a.PageCount(); ++i) {
        if (a.Page(i).Characters != b.Page(i).Characters ||
            a.Page(i).Texts.size() != b.Page(i).Texts.size())
            return false;
    }
    return true;
}

TEST_F(PreviewTest, OffersZoomPagesPrintAndExitButNoReportFiles) {
    ASSERT_TRUE(Pages);
    TPreviewForm preview(*Pages, Printer);
    EXPECT_EQ(preview.windowTitle(), "Pembrill Preview");
    QStringList texts;
    for (const QAction* action : preview.findChildren<QAction*>(Qt::FindDirectChildrenOnly)) {
        if (!action->text().isEmpty())
            texts << action->text();
    }
    EXPECT_EQ(texts.join('|').toStdString(), "Fit in Window|100%|Page Width|First page|"
                                             "Previous page|Next page|Last page|Print report|"
                                             "&Exit|Find next|Find previous");
    EXPECT_TRUE(preview.ZoomFitButton->isChecked());
    EXPECT_FALSE(preview.Zoom100Button->isChecked());
    EXPECT_EQ(Indicator(preview), "Page 1 of 6");
}

TEST_F(PreviewTest, KeysButtonsAndWheelMoveThroughThePages) {
    ASSERT_TRUE(Pages);
    TPreviewForm preview(*Pages, Printer);
    preview.resize(800, 600);
    preview.show();
    EXPECT_FALSE(preview.PrevPageButton->isEnabled());
    Press(preview, Qt::Key_PageDown);
    Press(preview, Qt::Key_PageDown);
    EXPECT_EQ(Indicator(preview), "Page 3 of 6");
    Press(preview, Qt::Key_PageUp);
    EXPECT_EQ(preview.PageIndex(), 1);
    preview.PageEdit->setText("5");
    QTest::keyClick(preview.PageEdit, Qt::Key_Return);
    EXPECT_EQ(Indicator(preview), "Page 5 of 6");
    Press(preview, Qt::Key_End);
    EXPECT_EQ(preview.PageIndex(), 5);
    EXPECT_FALSE(preview.NextPageButton->isEnabled());
    Press(preview, Qt::Key_PageDown);
    EXPECT_EQ(preview.PageIndex(), 5);
    Press(preview, Qt::Key_Home);
    EXPECT_EQ(preview.PageIndex(), 0);
    preview.LastPageButton->trigger();
    preview.PrevPageButton->trigger();
    EXPECT_EQ(preview.PageIndex(), 4);
    preview.FirstPageButton->trigger();
    preview.NextPageButton->trigger();
    EXPECT_EQ(preview.PageIndex(), 1);
    Wheel(preview, -120);
    EXPECT_EQ(preview.PageIndex(), 2);
    Wheel(preview, 120);
    Wheel(preview, 120);
    EXPECT_EQ(preview.PageIndex(), 0);
}

// The marked line's text.
std::string MarkedText(const TPreviewForm& preview, const PageStore& pages) {
    const std::optional<PageLine> line = preview.MarkedLine();
    if (!line)
        return "";
    const StoredPage& page = pages.Page(line->Page);
    return std::string(page.TextOf(page.Texts.at(static_cast<size_t>(line->Text))));
}

TEST_F(PreviewTest, TheSectionListAndTheSearchFindTheirWayThroughTheReport) {
    ASSERT_TRUE(Pages);
    TPreviewForm preview(*Pages, Printer);
    preview.resize(900, 600);
    preview.show();
    ASSERT_EQ(Pages->Sections().size(), 3u);
    ASSERT_EQ(preview.SectionList->count(), 3);
    EXPECT_EQ(preview.SectionList->item(1)->text(), "Unit1.pas");
    EXPECT_EQ(preview.SectionList->currentRow(), 0);
    QListWidgetItem* last = preview.SectionList->item(2);
    QTest::mouseClick(preview.SectionList->viewport(), Qt::LeftButton, Qt::NoModifier,
                      preview.SectionList->visualItemRect(last).center());
    EXPECT_EQ(preview.PageIndex(), Pages->Sections()[2].FirstPage);
    EXPECT_GT(preview.PageIndex(), 0);
    // Paging back into the section before makes it the current one.
    Press(preview, Qt::Key_PageUp);
    EXPECT_EQ(preview.SectionList->currentRow(), 1);

    // From the page shown on, round the end to the start; case does not count.
    preview.SearchEdit->setText("DEMO.DPR LINE 4");
    QTest::keyClick(preview.SearchEdit, Qt::Key_Return);
    EXPECT_EQ(MarkedText(preview, *Pages), "Demo.dpr line 4");
    EXPECT_EQ(preview.PageIndex(), 0);
    EXPECT_FALSE(preview.findChild<TPreviewPage*>("PreviewPage")->MarkOnWidget().isEmpty());
    preview.FindNextButton->trigger();
    EXPECT_EQ(MarkedText(preview, *Pages), "Demo.dpr line 40");
    const int line40 = preview.PageIndex();
    EXPECT_GT(line40, 0) << "the section's second page";
    preview.FindNextButton->trigger();
    EXPECT_EQ(MarkedText(preview, *Pages), "Demo.dpr line 4");
    preview.FindPrevButton->trigger();
    EXPECT_EQ(MarkedText(preview, *Pages), "Demo.dpr line 40");
    EXPECT_EQ(preview.PageIndex(), line40);
    EXPECT_EQ(preview.SearchStatusLabel->text(), "");

    preview.SearchEdit->setText("Unit3");
    preview.FindNextButton->trigger();
    EXPECT_EQ(preview.SearchStatusLabel->text(), "Not found");
    // Another page takes the mark away.
    preview.FirstPageButton->trigger();
    EXPECT_FALSE(preview.MarkedLine());
}

TEST_F(PreviewTest, ZoomSizesTheSheet) {
    ASSERT_TRUE(Pages);
    TPreviewForm preview(*Pages, Printer);
    preview.resize(900, 500);
    preview.show();
    auto* page = preview.findChild<TPreviewPage*>("PreviewPage");
    EXPECT_LT(page->height(), 500);
    preview.Zoom100Button->trigger();
    EXPECT_EQ(preview.ZoomMode(), TZoomMode::Actual);
    EXPECT_FALSE(preview.ZoomFitButton->isChecked());
    EXPECT_EQ(page->Scale(), 1.0);
    EXPECT_EQ(page->width(), 500 + 24);
    EXPECT_EQ(page->height(), 700 + 24);
    preview.ZoomWidthButton->trigger();
    EXPECT_GT(page->Scale(), 1.0);
    // The wheel scrolls a tall page before it turns it.
    preview.ShowPage(0);
    Wheel(preview, -120);
    EXPECT_EQ(preview.PageIndex(), 0);
}

TEST_F(PreviewTest, SheetShowsThePageText) {
    ASSERT_TRUE(Pages);
    TPreviewForm preview(*Pages, Printer);
    preview.resize(900, 900);
    preview.show();
    preview.Zoom100Button->trigger();
    preview.ShowPage(1);
    auto* page = preview.findChild<TPreviewPage*>("PreviewPage");
    const QImage sheet = page->grab().toImage();
    const auto inkIn = [&](int top, int bottom) {
        int ink = 0;
        for (int y = top; y < bottom; ++y)
            for (int x = 12; x < 12 + 500; ++x)
                ink += qGray(sheet.pixel(x, y)) < 100 ? 1 : 0;
        return ink;
    };
    EXPECT_GT(inkIn(12, 12 + 30), 0) << "header";
    EXPECT_GT(inkIn(12 + 650, 12 + 700), 0) << "footer";
    EXPECT_GT(inkIn(12 + 49, 12 + 49 + 32), 0) << "the page's two lines";
    EXPECT_EQ(inkIn(12 + 100, 12 + 640), 0) << "the rest of the body is empty";
}

TEST_F(PreviewTest, EngineProgressWindowCancels) {
    TReportProgressForm window;
    window.RunStarted("Pembrill");
    EXPECT_EQ(window.windowTitle(), "Progress");
    EXPECT_EQ(window.TitleLabel->text(), "Pembrill");
    window.PageBegun(7);
    EXPECT_EQ(window.PageLabel->text(), "Page 7");
    EXPECT_FALSE(window.CancelRequested());
    window.CancelButton->click();
    EXPECT_TRUE(window.CancelRequested());
    window.RunEnded();
    EXPECT_FALSE(window.isVisible());
    window.RunStarted("again");
    EXPECT_FALSE(window.CancelRequested());
}

TEST_F(PreviewTest, PreviewReportShowsTheRunMaximisedUntilClosed) {
    Form.BandReport.ShowProgress = true;
    QString title;
    bool maximised = false;
    bool progressSeen = false;
    QTimer closer;
    QObject::connect(&closer, &QTimer::timeout, [&] {
        QWidget* modal = QApplication::activeModalWidget();
        progressSeen = progressSeen || qobject_cast<TReportProgressForm*>(modal) != nullptr;
        auto* preview = qobject_cast<TPreviewForm*>(modal);
        if (preview == nullptr)
            return;
        title = preview->windowTitle();
        maximised = preview->windowState() & Qt::WindowMaximized;
        preview->ExitButton->trigger();
    });
    closer.start(0);
    EXPECT_TRUE(PreviewReport(Form, Printer, Format, Progress));
    EXPECT_TRUE(progressSeen);
    EXPECT_EQ(title, "Pembrill Preview");
    EXPECT_TRUE(maximised);
    EXPECT_EQ(Form.BandReport.Monitor, nullptr);
}

TEST_F(PreviewTest, PreviewOpensOnTheFirstPageWhileTheRestIsLaidOut) {
    UseLongSection(3000);
    ASSERT_TRUE(Whole);
    const int total = Whole->PageCount();
    Form.BandReport.ShowProgress = true;
    std::vector<int> counts;
    QStringList labels;
    bool shownFirst = false;
    bool progressUp = true;
    std::optional<PageStore> shown;
    WatchPreview([&](TPreviewForm& preview) {
        if (counts.empty()) {
            shownFirst = preview.isVisible();
            progressUp = ProgressWindowUp() || Progress.Visible;
        }
        counts.push_back(Form.BandReport.Pages().FinishedPageCount());
        labels << Indicator(preview);
        if (preview.RunGoingOn())
            return;
        shown = Form.BandReport.Pages();
        preview.ExitButton->trigger();
    });
    EXPECT_TRUE(PreviewReport(Form, Printer, Format, Progress));
    ASSERT_GE(counts.size(), 3u);
    EXPECT_TRUE(shownFirst);
    EXPECT_FALSE(progressUp);
    EXPECT_GE(counts.front(), 1);
    EXPECT_LT(counts.front(), total);
    EXPECT_EQ(labels.front(), QString("Page 1 of %1").arg(counts.front()));
    EXPECT_TRUE(std::is_sorted(counts.begin(), counts.end()));
    EXPECT_EQ(labels.back(), QString("Page 1 of %1").arg(total));
    ASSERT_TRUE(shown);
    EXPECT_TRUE(SamePages(*shown, *Whole));
    EXPECT_EQ(Form.BandReport.Monitor, nullptr);
}

TEST_F(PreviewTest, LastPageAndPrintWaitForTheRunToEnd) {
    UseLongSection(3000);
    ASSERT_TRUE(Whole);
    const int total = Whole->PageCount();
    const std::string pdf = Dir / "preview.pdf";
    Printer.setOutputFormat(QPrinter::PdfFormat);
    test::PdfFileAnswer answer;
    answer.Answer = QString::fromStdString(pdf);
    bool goingOnAtFirst = false;
    QString afterLast;
    WatchPreview([&](TPreviewForm& preview) {
        goingOnAtFirst = preview.RunGoingOn();
        preview.LastPageButton->trigger();
        afterLast = Indicator(preview);
        EXPECT_FALSE(preview.NextPageButton->isEnabled());
        EXPECT_FALSE(preview.LastPageButton->isEnabled());
        preview.PrintButton->trigger();
        preview.ExitButton->trigger();
    });
    EXPECT_TRUE(PreviewReport(Form, Printer, Format, Progress));
    EXPECT_TRUE(goingOnAtFirst);
    EXPECT_EQ(afterLast, QString("Page %1 of %1").arg(total));
    EXPECT_EQ(answer.Proposed.size(), 1u) << "the preview's Print asks for the file";
    const std::string info = test::CommandOutput("pdfinfo '" + pdf + "'");
    const size_t pagesAt = info.find("Pages:");
    ASSERT_NE(pagesAt, std::string::npos) << info;
    EXPECT_EQ(std::stoi(info.substr(pagesAt + 6)), total);
}

TEST_F(PreviewTest, ClosingThePreviewEarlyEndsTheRunCleanly) {
    UseLongSection(3000);
    ASSERT_TRUE(Whole);
    int shownPages = 0;
    WatchPreview([&](TPreviewForm& preview) {
        shownPages = Form.BandReport.Pages().FinishedPageCount();
        preview.ExitButton->trigger();
    });
    EXPECT_TRUE(PreviewReport(Form, Printer, Format, Progress));
    EXPECT_LT(shownPages, Whole->PageCount());
    EXPECT_FALSE(Progress.Visible);
    // Nothing of the abandoned run is left to the next one.
    const auto again = Form.Compose(Printer, Format, Progress);
    ASSERT_TRUE(again);
    EXPECT_TRUE(SamePages(*again, *Whole));
}

TEST_F(PreviewTest, CancelBeforeThePreviewOpensShowsNothing) {
    UseLongSection(3000);
    Form.BandReport.ShowProgress = true;
    bool previewSeen = false;
    QObject::connect(&Watcher, &QTimer::timeout, [&] {
        QWidget* modal = QApplication::activeModalWidget();
        if (auto* window = qobject_cast<TReportProgressForm*>(modal))
            window->CancelButton->click();
        if (auto* preview = qobject_cast<TPreviewForm*>(modal)) {
            previewSeen = true;
            preview->ExitButton->trigger();
        }
    });
    Watcher.start(0);
    EXPECT_FALSE(PreviewReport(Form, Printer, Format, Progress));
    EXPECT_FALSE(previewSeen);
    EXPECT_FALSE(ProgressWindowUp());
    EXPECT_EQ(Form.BandReport.Monitor, nullptr);
}

TEST_F(PreviewTest, PrintReportWritesThePdfTheJobNamesAsAJobOfThatName) {
    const std::string pdf = Dir / "out.pdf";
    SetPdfOutput(Printer, QString::fromStdString(pdf));
    // A PDF file's page has an office printer's unprintable strip all round.
    const PageFacts facts = PageFactsOf(Printer);
    EXPECT_EQ(facts.LeftOffset, static_cast<int>(LayoutDpi() / 4));
    EXPECT_EQ(facts.TopOffset, static_cast<int>(LayoutDpi() / 4));
    EXPECT_TRUE(PrintReport(Form, Printer, Format, Progress));
    EXPECT_THAT(test::CommandOutput("pdfinfo '" + pdf + "'"),
                testing::HasSubstr("Title:           Pembrill\n"));
}

// Cancel is pressed as soon as the engine's progress window is up: while
// pages already laid out are written, and while the layout still goes on
// and the file is written meanwhile. Escape and the close box are Cancel.
TEST_F(PreviewTest, CancelWhileThePagesGoOutLeavesTheEarlierFileAlone) {
    UseLongSection(3000);
    ASSERT_TRUE(Whole);
    Form.BandReport.ShowProgress = true;
    const std::string pdf = Dir.Write("out.pdf", "earlier");
    SetPdfOutput(Printer, QString::fromStdString(pdf));
    const std::vector<std::pair<std::string, std::function<void(TReportProgressForm&)>>> presses = {
        {"Cancel", [](TReportProgressForm& window) { window.CancelButton->click(); }},
        {"Escape", [](TReportProgressForm& window) { QTest::keyClick(&window, Qt::Key_Escape); }},
        {"close box", [](TReportProgressForm& window) { window.close(); }},
    };
    const std::vector<std::pair<std::string, std::function<bool()>>> ways = {
        {"stored pages", [&] { return PrintStoredPages(*Whole, Printer); }},
        {"pages being laid out", [&] { return PrintReport(Form, Printer, Format, Progress); }},
    };
    bool pressed = false;
    std::function<void(TReportProgressForm&)> press;
    QObject::connect(&Watcher, &QTimer::timeout, [&] {
        auto* window = qobject_cast<TReportProgressForm*>(QApplication::activeModalWidget());
        if (window && !pressed) {
            pressed = true;
            press(*window);
            EXPECT_TRUE(window->isVisible()) << "the window stays until the run has ended";
        }
    });
    for (const auto& [key, pressing] : presses) {
        for (const auto& [way, print] : ways) {
            SCOPED_TRACE(key + ", " + way);
            press = pressing;
            pressed = false;
            Watcher.start(0);
            EXPECT_FALSE(print());
            Watcher.stop();
            EXPECT_TRUE(pressed);
            EXPECT_TRUE(test::FileBytes(pdf) == "earlier");
            EXPECT_FALSE(ProgressWindowUp());
            std::vector<std::string> pdfs;
            for (const auto& entry : std::filesystem::directory_iterator(Dir.Path)) {
                if (entry.path().filename().string().rfind("out.pdf", 0) == 0)
                    pdfs.push_back(entry.path().filename());
            }
            EXPECT_EQ(pdfs, std::vector<std::string>{"out.pdf"}) << "no partial file is left";
        }
    }
}

} // namespace
} // namespace pembrill
