#include "output/Preview.h"

#include "output/PreviewPage.h"
#include "output/Prnt.h"
#include "output/ReportOutput.h"
#include "output/ReportProgress.h"
#include "support/FakeProgress.h"
#include "support/TempDir.h"

#include <QAction>
#include <QApplication>
#include <QImage>
#include <QKeyEvent>
#include <QLabel>
#include <QPrinter>
#include <QPushButton>
#include <QScrollArea>
#include <QTimer>
#include <QWheelEvent>

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

namespace pembrill {
namespace {

// A composer with three sections of a page or more each, and its pages.
class PreviewTest : public testing::Test {
protected:
    PreviewTest() {
        for (const std::string name : {"Demo.dpr", "Unit1.pas", "Unit2.pas"}) {
            std::string text;
            for (int i = 1; i <= 40; ++i)
                text += name + " line " + std::to_string(i) + "\r\n";
            Form.PrintFiles.push_back(Dir.Write(name + ".txt", text));
            Form.HeaderTexts.push_back("Source Code for: /p/Demo.dpr");
            Form.FooterFileNames.push_back(name);
            Form.FontNames.push_back("Courier New");
            Form.FontSizes.push_back("10");
        }
        PageFacts facts;
        facts.PageWidth = facts.PaperWidth = 500;
        facts.PageHeight = facts.PaperHeight = 700;
        Pages = Form.Compose(facts, Format, Progress);
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
};

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
                                             "&Exit");
    EXPECT_TRUE(preview.ZoomFitButton->isChecked());
    EXPECT_FALSE(preview.Zoom100Button->isChecked());
    EXPECT_EQ(preview.PageLabel->text(), "Page 1 of 6");
}

TEST_F(PreviewTest, KeysButtonsAndWheelMoveThroughThePages) {
    ASSERT_TRUE(Pages);
    TPreviewForm preview(*Pages, Printer);
    preview.resize(800, 600);
    preview.show();
    EXPECT_FALSE(preview.PrevPageButton->isEnabled());
    Press(preview, Qt::Key_PageDown);
    Press(preview, Qt::Key_PageDown);
    EXPECT_EQ(preview.PageLabel->text(), "Page 3 of 6");
    Press(preview, Qt::Key_PageUp);
    EXPECT_EQ(preview.PageIndex(), 1);
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

TEST_F(PreviewTest, PrintReportWritesThePdfTheJobNames) {
    const std::string pdf = Dir / "out.pdf";
    Printer.setOutputFormat(QPrinter::PdfFormat);
    Printer.setOutputFileName(QString::fromStdString(pdf));
    EXPECT_TRUE(PrintReport(Form, Printer, Format, Progress));
    EXPECT_GT(std::filesystem::file_size(pdf), 1000u);
}

} // namespace
} // namespace pembrill
