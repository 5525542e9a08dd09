#include "output/ReportOutput.h"

#include "output/PagePainter.h"
#include "output/Preview.h"
#include "output/Prnt.h"
#include "output/ReportProgress.h"
#include "platform/DisplayText.h"
#include "platform/MessageBox.h"
#include "platform/Printer.h"
#include "platform/ProgressDisplay.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QPrinter>
#include <QPrinterInfo>
#include <QScreen>
#include <QTemporaryFile>

#include <filesystem>

#include <functional>
#include <optional>
#include <utility>

namespace pembrill {

namespace {

// A printer that has somewhere to print: a PDF file it names, or a printer of
// the system. Where the system has none, the user names a PDF file instead.
bool PrinterReady(QPrinter& printer, QWidget* parent) {
    if (printer.outputFormat() == QPrinter::PdfFormat && !printer.outputFileName().isEmpty())
        return true;
    if (!QPrinterInfo::availablePrinters().isEmpty())
        return true;
    const QString file =
        QFileDialog::getSaveFileName(parent, "Print to PDF file", QString(), "PDF files (*.pdf)");
    if (file.isEmpty())
        return false;
    SetPdfOutput(printer, file);
    return true;
}

constexpr QFileDevice::Permissions NewFilePermissions =
    QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadUser |
    QFileDevice::WriteUser | QFileDevice::ReadGroup | QFileDevice::ReadOther;

// A PDF file is written under a name of its own beside the one the user
// named and put in its place once it is whole, so that a cancelled or failed
// job leaves no half file and the earlier file of that name as it was.
PrintOutcome WritePdfInPlace(const PageStore& store, QPrinter& printer, RunMonitor* monitor) {
    const QString target = printer.outputFileName();
    QTemporaryFile partial(target + QStringLiteral(".XXXXXX"));
    if (!partial.open())
        return PrintOutcome::Failed;
    partial.close();
    // A temporary file is its owner's alone; the file it becomes is made as
    // any new file, or keeps the earlier file's permissions.
    partial.setPermissions(QFileInfo::exists(target) ? QFile::permissions(target)
                                                     : NewFilePermissions);
    printer.setOutputFileName(partial.fileName());
    PrintOutcome outcome = PrintPages(store, printer, monitor);
    printer.setOutputFileName(target);
    if (outcome != PrintOutcome::Printed)
        return outcome;
    std::error_code error;
    std::filesystem::rename(FromDisplay(partial.fileName()), FromDisplay(target), error);
    return error ? PrintOutcome::Failed : PrintOutcome::Printed;
}

// False after a cancel, and after a failure, which is told.
bool SendPages(const PageStore& store, QPrinter& printer, RunMonitor* monitor) {
    const bool toFile = printer.outputFormat() == QPrinter::PdfFormat;
    const PrintOutcome outcome =
        toFile ? WritePdfInPlace(store, printer, monitor) : PrintPages(store, printer, monitor);
    if (outcome != PrintOutcome::Failed)
        return outcome == PrintOutcome::Printed;
    const QString target = toFile ? printer.outputFileName() : printer.printerName();
    ShowMessage(MessageKind::Error, "Can not print to: " + FromDisplay(target));
    return false;
}

// Report lines laid out per step while the preview is up: a few pages, short
// enough for the window to answer input between steps.
constexpr int LinesPerStep = 400;

// The engine's progress window for the length of a scope, when
// form.BandReport.ShowProgress asks for it; the engine no longer watches it
// once the scope is left, even with the run still going on.
class EngineProgressWindow {
public:
    EngineProgressWindow(TBandReport& report, QWidget* parent) : Report(report) {
        if (!report.ShowProgress)
            return;
        Window.emplace(parent);
        report.Monitor = &*Window;
    }
    ~EngineProgressWindow() { Report.ReleaseMonitor(); }
    EngineProgressWindow(const EngineProgressWindow&) = delete;
    EngineProgressWindow& operator=(const EngineProgressWindow&) = delete;

    // The same window watches the pages go to the printer, Cancel and all.
    bool Send(const PageStore& pages, QPrinter& printer) {
        if (!Window)
            return SendPages(pages, printer, nullptr);
        Window->RunStarted(Report.ReportTitle);
        const bool printed = SendPages(pages, printer, &*Window);
        Window->RunEnded();
        return printed;
    }

private:
    TBandReport& Report;
    std::optional<TReportProgressForm> Window;
};

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

bool PrintReport(TPrintForm& form, QPrinter& printer, const PageFormat& format,
                 ProgressDisplay& progress, QWidget* parent) {
    if (!PrinterReady(printer, parent))
        return false;
    EngineProgressWindow window(form.BandReport, parent);
    const std::optional<PageStore> pages = form.Compose(printer, format, progress);
    return pages && window.Send(*pages, printer);
}

bool PrintStoredPages(const PageStore& store, QPrinter& printer, QWidget* parent) {
    if (!PrinterReady(printer, parent))
        return false;
    TReportProgressForm window(parent);
    window.RunStarted(store.Title());
    const bool printed = SendPages(store, printer, &window);
    window.RunEnded();
    return printed;
}

} // namespace pembrill
