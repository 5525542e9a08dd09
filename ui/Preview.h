#pragma once

#include <QDialog>

#include "output/PageSearch.h"

#include <functional>
#include <optional>

class QAction;
class QLabel;
class QLineEdit;
class QListWidget;
class QPrinter;
class QScrollArea;
class QTimer;
class QToolBar;

namespace pembrill {

class PageStore;
class ProgressDisplay;
class TPreviewPage;
class TPrintForm;
struct PageFormat;

enum class TZoomMode { FitInWindow, Actual, PageWidth };

// The preview of a run: one page at a time, with zoom and page buttons, a
// list of the report's sections beside the page (a click shows a section's
// first page), a search field that finds text on the pages and marks the
// line it stands in, and a button that prints the stored pages. Opened maximised and modal by the
// caller; it offers no loading or saving of reports. It shows the finished
// pages of the store, so it can open while the run is still laying out the
// rest (FollowRun).
class TPreviewForm : public QDialog {
    Q_OBJECT

public:
    TPreviewForm(const PageStore& store, QPrinter& printer, QWidget* parent = nullptr);

    // `composeMore` lays out a further part of the run and answers whether
    // any is left. It is called from the window's event loop until it answers
    // false, the page count growing meanwhile; Last page and Print report
    // first call it until the run is over.
    void FollowRun(std::function<bool()> composeMore);
    bool RunGoingOn() const { return static_cast<bool>(ComposeMore); }

    int PageIndex() const;
    void ShowPage(int index);
    TZoomMode ZoomMode() const { return FZoomMode; }
    void SetZoomMode(TZoomMode mode);

    QAction* ZoomFitButton;
    QAction* Zoom100Button;
    QAction* ZoomWidthButton;
    QAction* FirstPageButton;
    QAction* PrevPageButton;
    // "Page", the page number, which takes a typed number (Enter goes
    // there), and "of" the total.
    QLabel* PageLabel;
    QLineEdit* PageEdit;
    QLabel* PageCountLabel;
    QAction* NextPageButton;
    QAction* LastPageButton;
    QAction* PrintButton;
    QAction* ExitButton;
    // The sections as the PDF's bookmarks have them, with their first pages.
    QListWidget* SectionList;
    QLineEdit* SearchEdit;
    QAction* FindNextButton;
    QAction* FindPrevButton;
    // "Not found" after a search that found nothing, empty otherwise.
    QLabel* SearchStatusLabel;

    // Searches from the line marked last, or from the page shown.
    void FindText(bool forward);
    // The line marked by the last search; nullopt when none is.
    std::optional<PageLine> MarkedLine() const { return Marked; }

protected:
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    QAction* AddButton(const QString& text, const char* name);
    void BuildToolBar(QToolBar& bar);
    void ShowPageCount();
    void StepRun();
    void FinishRun();
    void ShowLastPage();
    void GoToTypedPage();
    void ApplyZoom();
    bool WheelTurned(int delta);
    void PrintButtonClick();
    void BuildSearch(QToolBar& bar);
    void GoToPage(int index);
    void ShowSections();
    void SectionClicked(int row);
    void Mark(std::optional<PageLine> line);

    const PageStore& Store;
    QPrinter& Printer;
    QScrollArea* Scroller;
    TPreviewPage* Page;
    TZoomMode FZoomMode = TZoomMode::FitInWindow;
    std::function<bool()> ComposeMore;
    // Single-shot, started again after each step: a step that lets events
    // through cannot start another inside itself.
    QTimer* RunTimer;
    std::optional<PageLine> Marked;
};

// Shows the job in the preview, maximised and modal, as soon as its first
// page is laid out; the rest is laid out while the preview is up. Returns
// when the preview is closed, the run ended by then (what was still to come
// is dropped). False when the run was cancelled before the preview opened.
// The engine's progress window is up until the first page is laid out when
// form.BandReport.ShowProgress is on.
bool PreviewReport(TPrintForm& form, QPrinter& printer, const PageFormat& format,
                   ProgressDisplay& progress, QWidget* parent = nullptr);

} // namespace pembrill
