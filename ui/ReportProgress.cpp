#include "ui/ReportProgress.h"

#include "output/BandReport.h"
#include "output/DisplayText.h"
#include "output/ReportPrinter.h"
#include "ui/Progress.h"
#include "ui/widgets/DialogControls.h"

#include <QCoreApplication>
#include <QLabel>
#include <QPushButton>
#include <QScreen>

#include <algorithm>

namespace pembrill {

namespace {

// Events are let through this often while a run polls between bands: often
// enough for Cancel to answer at once, seldom enough not to slow the run.
constexpr qint64 EventIntervalMs = 40;

constexpr int TitleBarRoom = 48;

} // namespace

TReportProgressForm::TReportProgressForm(QWidget* parent) : QDialog(parent) {
    setObjectName("ReportProgressForm");
    setWindowModality(Qt::ApplicationModal);
    setWindowFlag(Qt::WindowStaysOnTopHint);
    const ProgressControls controls = MakeProgressControls(*this, "TitleLabel", "PageLabel");
    TitleLabel = controls.Upper;
    PageLabel = controls.Lower;
    CancelButton = controls.Cancel;
    connect(CancelButton, &QPushButton::clicked, this, [this] { Cancelled = true; });
    setMinimumWidth(300);
}

void TReportProgressForm::RunStarted(const std::string& reportTitle) {
    Cancelled = false;
    setWindowTitle(ToDisplay(ReportPrinter().ProgressCaption));
    TitleLabel->setText(ToDisplay(reportTitle));
    PageLabel->clear();
    adjustSize();
    PlaceBelowCentre();
    show();
    ProcessEvents();
}

// The composer's progress window is centred on the screen; this one stands
// below it with room for both title bars.
void TReportProgressForm::PlaceBelowCentre() {
    const QScreen* screen = this->screen();
    if (!screen)
        return;
    const QPoint centre = screen->geometry().center();
    const int top = centre.y() + ProgressFormHeight / 2 + TitleBarRoom;
    move(centre.x() - width() / 2, std::min(top, screen->availableGeometry().bottom() - height()));
}

void TReportProgressForm::PageBegun(int pageNumber) {
    PageLabel->setText(QString("Page %1").arg(pageNumber));
}

void TReportProgressForm::PageSent(int pageNumber, int pageCount) {
    PageLabel->setText(QString("Printing page %1 of %2").arg(pageNumber).arg(pageCount));
}

bool TReportProgressForm::CancelRequested() {
    if (SinceEvents.hasExpired(EventIntervalMs))
        ProcessEvents();
    return Cancelled;
}

void TReportProgressForm::RunEnded() {
    hide();
}

void TReportProgressForm::reject() {
    Cancelled = true;
}

void TReportProgressForm::ProcessEvents() {
    QCoreApplication::processEvents();
    SinceEvents.start();
}

EngineProgressWindow::EngineProgressWindow(TBandReport& report, QWidget* parent) : Report(report) {
    if (!report.ShowProgress)
        return;
    Window.emplace(parent);
    report.Monitor = &*Window;
}

EngineProgressWindow::~EngineProgressWindow() {
    Report.ReleaseMonitor();
}

} // namespace pembrill
