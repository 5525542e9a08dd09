#pragma once

#include <QDialog>

class QAction;
class QLabel;
class QPrinter;
class QScrollArea;
class QToolBar;

namespace pembrill {

class PageStore;
class TPreviewPage;

enum class TZoomMode { FitInWindow, Actual, PageWidth };

// The preview of a finished run: one page at a time, with zoom and page
// buttons, and a button that prints the stored pages. Opened maximised and
// modal by the caller; it offers no loading or saving of reports.
class TPreviewForm : public QDialog {
    Q_OBJECT

public:
    TPreviewForm(const PageStore& store, QPrinter& printer, QWidget* parent = nullptr);

    int PageIndex() const;
    void ShowPage(int index);
    TZoomMode ZoomMode() const { return FZoomMode; }
    void SetZoomMode(TZoomMode mode);

    QAction* ZoomFitButton;
    QAction* Zoom100Button;
    QAction* ZoomWidthButton;
    QAction* FirstPageButton;
    QAction* PrevPageButton;
    QLabel* PageLabel;
    QAction* NextPageButton;
    QAction* LastPageButton;
    QAction* PrintButton;
    QAction* ExitButton;

protected:
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    QAction* AddButton(const QString& text, const char* name);
    void BuildToolBar(QToolBar& bar);
    void ApplyZoom();
    bool WheelTurned(int delta);
    void PrintButtonClick();

    const PageStore& Store;
    QPrinter& Printer;
    QScrollArea* Scroller;
    TPreviewPage* Page;
    TZoomMode FZoomMode = TZoomMode::FitInWindow;
};

} // namespace pembrill
