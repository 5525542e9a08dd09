#include "ui/Preview.h"

#include "output/DisplayText.h"
#include "output/PageOutput.h"
#include "output/PageStore.h"
#include "output/Prnt.h"
#include "output/ReportPrinter.h"
#include "platform/ProgressDisplay.h"
#include "ui/PreviewPage.h"
#include "ui/ReportOutput.h"
#include "ui/ReportProgress.h"
#include "ui/widgets/WaitCursor.h"

#include <QActionGroup>
#include <QIntValidator>
#include <QKeyEvent>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QSplitter>
#include <QTimer>
#include <QToolBar>
#include <QVBoxLayout>
#include <QWheelEvent>

#include <algorithm>
#include <limits>
#include <optional>
#include <utility>

namespace pembrill {

namespace {

// The sheet's border on both sides, kept free when the page is fitted.
constexpr double FitRoom = 24.0;

} // namespace

TPreviewForm::TPreviewForm(const PageStore& store, QPrinter& printer, QWidget* parent)
    : QDialog(parent), Store(store), Printer(printer) {
    setObjectName("PreviewForm");
    setWindowTitle(ToDisplay(ReportPrinter().PreviewCaption));
    setWindowFlags(windowFlags() | Qt::WindowMaximizeButtonHint | Qt::WindowMinimizeButtonHint);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    auto* bar = new QToolBar(this);
    bar->setObjectName("ToolBar");
    BuildToolBar(*bar);
    layout->addWidget(bar);
    auto* splitter = new QSplitter(this);
    splitter->setObjectName("SectionSplitter");
    SectionList = new QListWidget(splitter);
    SectionList->setObjectName("SectionList");
    connect(SectionList, &QListWidget::itemClicked, this,
            [this](QListWidgetItem* item) { SectionClicked(SectionList->row(item)); });
    connect(SectionList, &QListWidget::itemActivated, this,
            [this](QListWidgetItem* item) { SectionClicked(SectionList->row(item)); });
    Scroller = new QScrollArea(splitter);
    Scroller->setObjectName("PageScroller");
    Scroller->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    Scroller->setBackgroundRole(QPalette::Dark);
    Scroller->viewport()->installEventFilter(this);
    Page = new TPreviewPage(store, Scroller);
    Scroller->setWidget(Page);
    splitter->addWidget(SectionList);
    splitter->addWidget(Scroller);
    splitter->setStretchFactor(1, 1);
    splitter->setSizes({200, 800});
    layout->addWidget(splitter);
    RunTimer = new QTimer(this);
    RunTimer->setSingleShot(true);
    RunTimer->setInterval(0);
    connect(RunTimer, &QTimer::timeout, this, &TPreviewForm::StepRun);
    ShowPage(0);
}

void TPreviewForm::FollowRun(std::function<bool()> composeMore) {
    ComposeMore = std::move(composeMore);
    if (ComposeMore)
        RunTimer->start();
    ShowPageCount();
}

QAction* TPreviewForm::AddButton(const QString& text, const char* name) {
    auto* action = new QAction(text, this);
    action->setObjectName(name);
    return action;
}

void TPreviewForm::BuildToolBar(QToolBar& bar) {
    ZoomFitButton = AddButton("Fit in Window", "ZoomFitButton");
    Zoom100Button = AddButton("100%", "Zoom100Button");
    ZoomWidthButton = AddButton("Page Width", "ZoomWidthButton");
    auto* zoom = new QActionGroup(this);
    for (QAction* action : {ZoomFitButton, Zoom100Button, ZoomWidthButton}) {
        action->setCheckable(true);
        zoom->addAction(action);
        bar.addAction(action);
    }
    ZoomFitButton->setChecked(true);
    connect(ZoomFitButton, &QAction::triggered, this,
            [this] { SetZoomMode(TZoomMode::FitInWindow); });
    connect(Zoom100Button, &QAction::triggered, this, [this] { SetZoomMode(TZoomMode::Actual); });
    connect(ZoomWidthButton, &QAction::triggered, this,
            [this] { SetZoomMode(TZoomMode::PageWidth); });
    bar.addSeparator();

    FirstPageButton = AddButton("First page", "FirstPageButton");
    PrevPageButton = AddButton("Previous page", "PrevPageButton");
    PageLabel = new QLabel("Page", this);
    PageLabel->setObjectName("PageLabel");
    PageLabel->setContentsMargins(8, 0, 4, 0);
    PageEdit = new QLineEdit(this);
    PageEdit->setObjectName("PageEdit");
    PageEdit->setValidator(new QIntValidator(1, std::numeric_limits<int>::max(), PageEdit));
    PageEdit->setAlignment(Qt::AlignRight);
    PageEdit->setFixedWidth(PageEdit->fontMetrics().horizontalAdvance(QStringLiteral("0000000")));
    PageCountLabel = new QLabel(this);
    PageCountLabel->setObjectName("PageCountLabel");
    PageCountLabel->setContentsMargins(4, 0, 8, 0);
    NextPageButton = AddButton("Next page", "NextPageButton");
    LastPageButton = AddButton("Last page", "LastPageButton");
    bar.addAction(FirstPageButton);
    bar.addAction(PrevPageButton);
    bar.addWidget(PageLabel);
    bar.addWidget(PageEdit);
    bar.addWidget(PageCountLabel);
    bar.addAction(NextPageButton);
    bar.addAction(LastPageButton);
    connect(FirstPageButton, &QAction::triggered, this, [this] { ShowPage(0); });
    connect(PrevPageButton, &QAction::triggered, this, [this] { ShowPage(PageIndex() - 1); });
    connect(NextPageButton, &QAction::triggered, this, [this] { ShowPage(PageIndex() + 1); });
    connect(LastPageButton, &QAction::triggered, this, &TPreviewForm::ShowLastPage);
    connect(PageEdit, &QLineEdit::returnPressed, this, &TPreviewForm::GoToTypedPage);
    bar.addSeparator();

    PrintButton = AddButton("Print report", "PrintButton");
    ExitButton = AddButton("&Exit", "ExitButton");
    bar.addAction(PrintButton);
    bar.addAction(ExitButton);
    connect(PrintButton, &QAction::triggered, this, &TPreviewForm::PrintButtonClick);
    connect(ExitButton, &QAction::triggered, this, &QDialog::accept);
    bar.addSeparator();
    BuildSearch(bar);
}

// Ctrl+F goes to the field, Enter and F3 find the next line, Shift+F3 the
// previous one.
void TPreviewForm::BuildSearch(QToolBar& bar) {
    auto* label = new QLabel("&Find", this);
    label->setContentsMargins(8, 0, 4, 0);
    SearchEdit = new QLineEdit(this);
    SearchEdit->setObjectName("SearchEdit");
    SearchEdit->setFixedWidth(SearchEdit->fontMetrics().horizontalAdvance(QString(18, 'x')));
    label->setBuddy(SearchEdit);
    FindNextButton = AddButton("Find next", "FindNextButton");
    FindNextButton->setShortcut(QKeySequence::FindNext);
    FindPrevButton = AddButton("Find previous", "FindPrevButton");
    FindPrevButton->setShortcut(QKeySequence::FindPrevious);
    SearchStatusLabel = new QLabel(this);
    SearchStatusLabel->setObjectName("SearchStatusLabel");
    SearchStatusLabel->setContentsMargins(8, 0, 8, 0);
    auto* focusSearch = new QAction(this);
    focusSearch->setShortcut(QKeySequence::Find);
    addAction(focusSearch);
    // The answer stands next to the question, where a narrow window's bar
    // still shows it.
    bar.addWidget(label);
    bar.addWidget(SearchEdit);
    bar.addWidget(SearchStatusLabel);
    bar.addAction(FindPrevButton);
    bar.addAction(FindNextButton);
    connect(focusSearch, &QAction::triggered, this, [this] {
        SearchEdit->setFocus();
        SearchEdit->selectAll();
    });
    connect(SearchEdit, &QLineEdit::returnPressed, this, [this] { FindText(true); });
    connect(FindNextButton, &QAction::triggered, this, [this] { FindText(true); });
    connect(FindPrevButton, &QAction::triggered, this, [this] { FindText(false); });
}

// The whole report is searched: the rest of the run is laid out first, as
// Last page waits for it.
void TPreviewForm::FindText(bool forward) {
    FinishRun();
    const int pageLines = static_cast<int>(Store.Page(PageIndex()).Texts.size());
    PageLine from{PageIndex(), forward ? -1 : pageLines};
    if (Marked && Marked->Page == PageIndex())
        from = *Marked;
    const std::optional<PageLine> found = FindPageText(Store, SearchEdit->text(), from, forward);
    SearchStatusLabel->setText(found || SearchEdit->text().isEmpty() ? QString()
                                                                     : QString("Not found"));
    if (!found)
        return;
    ShowPage(found->Page);
    Mark(found);
}

void TPreviewForm::Mark(std::optional<PageLine> line) {
    Marked = line;
    Page->SetMark(line ? PageLineBounds(Store, *line) : QRectF());
    if (line)
        Scroller->ensureVisible(static_cast<int>(Page->MarkOnWidget().center().x()),
                                static_cast<int>(Page->MarkOnWidget().center().y()), 50, 50);
}

void TPreviewForm::SectionClicked(int row) {
    const std::vector<StoredSection>& sections = Store.Sections();
    if (row >= 0 && row < static_cast<int>(sections.size()))
        GoToPage(sections[static_cast<size_t>(row)].FirstPage);
}

// New sections are added as the run lays them out; the one the page shown
// belongs to is the list's current item.
void TPreviewForm::ShowSections() {
    const std::vector<StoredSection>& sections = Store.Sections();
    for (size_t i = static_cast<size_t>(SectionList->count()); i < sections.size(); ++i)
        SectionList->addItem(ToDisplay(sections[i].Title));
    int current = -1;
    for (size_t i = 0; i < sections.size() && sections[i].FirstPage <= PageIndex(); ++i)
        current = static_cast<int>(i);
    const QSignalBlocker quiet(SectionList);
    SectionList->setCurrentRow(current);
}

int TPreviewForm::PageIndex() const {
    return Page->PageIndex();
}

void TPreviewForm::ShowPage(int index) {
    const int last = std::max(Store.FinishedPageCount() - 1, 0);
    const int shown = std::clamp(index, 0, last);
    if (shown != PageIndex() && Marked)
        Mark(std::nullopt);
    Page->SetPageIndex(shown);
    ShowPageCount();
}

// Last page stays on while the run goes on: it waits for the run's end.
void TPreviewForm::ShowPageCount() {
    const int index = PageIndex();
    const int count = Store.FinishedPageCount();
    PageEdit->setText(QString::number(index + 1));
    PageCountLabel->setText(QString("of %1").arg(count));
    FirstPageButton->setEnabled(index > 0);
    PrevPageButton->setEnabled(index > 0);
    NextPageButton->setEnabled(index < count - 1);
    LastPageButton->setEnabled(index < count - 1 || RunGoingOn());
    ShowSections();
}

void TPreviewForm::StepRun() {
    if (!ComposeMore)
        return;
    if (ComposeMore())
        RunTimer->start();
    else
        ComposeMore = nullptr;
    ShowPageCount();
}

void TPreviewForm::FinishRun() {
    if (!ComposeMore)
        return;
    RunTimer->stop();
    {
        WaitCursor wait;
        while (ComposeMore()) {
        }
    }
    ComposeMore = nullptr;
    ShowPageCount();
}

void TPreviewForm::ShowLastPage() {
    FinishRun();
    ShowPage(Store.FinishedPageCount() - 1);
}

void TPreviewForm::GoToTypedPage() {
    GoToPage(PageEdit->text().toInt() - 1);
}

// A page not yet laid out is waited for, as Last page waits for the last.
void TPreviewForm::GoToPage(int index) {
    const int wanted = index + 1;
    if (ComposeMore && wanted > Store.FinishedPageCount()) {
        RunTimer->stop();
        WaitCursor wait;
        while (wanted > Store.FinishedPageCount() && ComposeMore()) {
        }
        if (wanted > Store.FinishedPageCount())
            ComposeMore = nullptr;
        else
            RunTimer->start();
    }
    ShowPage(index);
}

void TPreviewForm::SetZoomMode(TZoomMode mode) {
    FZoomMode = mode;
    ZoomFitButton->setChecked(mode == TZoomMode::FitInWindow);
    Zoom100Button->setChecked(mode == TZoomMode::Actual);
    ZoomWidthButton->setChecked(mode == TZoomMode::PageWidth);
    ApplyZoom();
}

void TPreviewForm::ApplyZoom() {
    const QSizeF paper = Page->PaperSize();
    if (paper.isEmpty())
        return;
    const QSize room = Scroller->viewport()->size();
    const double widthScale = std::max(room.width() - FitRoom, 1.0) / paper.width();
    const double heightScale = std::max(room.height() - FitRoom, 1.0) / paper.height();
    switch (FZoomMode) {
    case TZoomMode::FitInWindow:
        Page->SetScale(std::min(widthScale, heightScale));
        break;
    case TZoomMode::Actual:
        Page->SetScale(1.0);
        break;
    case TZoomMode::PageWidth:
        Page->SetScale(widthScale);
        break;
    }
}

void TPreviewForm::resizeEvent(QResizeEvent* event) {
    QDialog::resizeEvent(event);
    ApplyZoom();
}

void TPreviewForm::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
    case Qt::Key_PageDown:
        ShowPage(PageIndex() + 1);
        return;
    case Qt::Key_PageUp:
        ShowPage(PageIndex() - 1);
        return;
    case Qt::Key_Home:
        ShowPage(0);
        return;
    case Qt::Key_End:
        ShowLastPage();
        return;
    default:
        QDialog::keyPressEvent(event);
    }
}

bool TPreviewForm::eventFilter(QObject* watched, QEvent* event) {
    if (watched == Scroller->viewport() && event->type() == QEvent::Wheel)
        return WheelTurned(static_cast<QWheelEvent*>(event)->angleDelta().y());
    if (watched == Scroller->viewport() && event->type() == QEvent::Resize)
        ApplyZoom();
    return QDialog::eventFilter(watched, event);
}

// The wheel scrolls a page taller than the window; at either end of the page,
// or when the page fits, it moves to the next or previous page.
bool TPreviewForm::WheelTurned(int delta) {
    if (delta == 0)
        return false;
    QScrollBar* bar = Scroller->verticalScrollBar();
    const bool down = delta < 0;
    const bool atEnd = down ? bar->value() >= bar->maximum() : bar->value() <= bar->minimum();
    if (!atEnd)
        return false;
    const int before = PageIndex();
    ShowPage(before + (down ? 1 : -1));
    if (PageIndex() != before)
        bar->setValue(down ? bar->minimum() : bar->maximum());
    return true;
}

void TPreviewForm::PrintButtonClick() {
    FinishRun();
    if (AskPdfFile(Printer, this))
        PrintStoredPages(Store, Printer, this);
}

namespace {

// Lays out the job up to the end of its first page, with the engine's
// progress window up meanwhile. False when the run is over by then, complete
// or cancelled.
bool ComposeFirstPage(TPrintForm& form, QPrinter& printer, const PageFormat& format,
                      ProgressDisplay& progress, QWidget* parent) {
    EngineProgressWindow window(form.BandReport, parent);
    form.BeginCompose(printer, format, progress);
    bool more = true;
    while (more && form.BandReport.Pages().FinishedPageCount() == 0)
        more = form.ComposeMore(1);
    return more;
}

// The preview, maximised and modal, until the user closes it; it lays out
// the rest of the run meanwhile when `composeMore` is given.
void ShowPreview(const PageStore& pages, QPrinter& printer, QWidget* parent,
                 std::function<bool()> composeMore) {
    TPreviewForm preview(pages, printer, parent);
    preview.FollowRun(std::move(composeMore));
    // Without a window manager a window cannot be maximised; it then takes
    // the screen's room itself.
    if (const QScreen* screen = preview.screen())
        preview.setGeometry(screen->availableGeometry());
    preview.setWindowState(Qt::WindowMaximized);
    preview.exec();
}

} // namespace

// The run must be over before the call returns: the job deletes the print
// files it reads then.
bool PreviewReport(TPrintForm& form, QPrinter& printer, const PageFormat& format,
                   ProgressDisplay& progress, QWidget* parent) {
    if (!ComposeFirstPage(form, printer, format, progress, parent)) {
        const std::optional<PageStore> pages = form.EndCompose();
        if (!pages)
            return false;
        ShowPreview(*pages, printer, parent, nullptr);
        return true;
    }
    // The preview's page count tells the progress from here on.
    progress.Close();
    ShowPreview(form.BandReport.Pages(), printer, parent,
                [&form] { return form.ComposeMore(LinesPerStep); });
    form.EndCompose();
    return true;
}

} // namespace pembrill
