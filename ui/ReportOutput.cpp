#include "ui/ReportOutput.h"

#include "output/DisplayText.h"
#include "output/PagePainter.h"
#include "output/PdfWriter.h"
#include "output/Printer.h"
#include "output/Prnt.h"
#include "platform/MessageBox.h"
#include "platform/ProgressDisplay.h"
#include "ui/Preview.h"
#include "ui/ReportProgress.h"

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
class PdfFileInPlace {
public:
    explicit PdfFileInPlace(const QString& target)
        : Target(target), Partial(target + QStringLiteral(".XXXXXX")) {}

    bool Open() {
        if (!Partial.open())
            return false;
        Partial.close();
        // A temporary file is its owner's alone; the file it becomes is made
        // as any new file, or keeps the earlier file's permissions.
        Partial.setPermissions(QFileInfo::exists(Target) ? QFile::permissions(Target)
                                                         : NewFilePermissions);
        return true;
    }
    std::string Path() const { return FromDisplay(Partial.fileName()); }
    bool Commit() {
        std::error_code error;
        std::filesystem::rename(Path(), FromDisplay(Target), error);
        return !error;
    }

private:
    QString Target;
    QTemporaryFile Partial;
};

QSizeF PaperPoints(const QPrinter& printer) {
    return printer.pageLayout().fullRect(QPageLayout::Point).size();
}

// Waits for the writer to write every page it was given, the monitor, when
// there is one, telling the pages written and asked about Cancel; a file
// written whole takes its place.
PrintOutcome FinishPdf(PdfWriter& writer, PdfFileInPlace& file, int pageCount,
                       RunMonitor* monitor) {
    bool cancelled = false;
    const bool written = writer.Finish([&](int pages) {
        if (!monitor)
            return true;
        monitor->PageSent(pages, pageCount);
        cancelled = monitor->CancelRequested();
        return !cancelled;
    });
    if (cancelled)
        return PrintOutcome::Cancelled;
    return written && file.Commit() ? PrintOutcome::Printed : PrintOutcome::Failed;
}

// Pages already composed (the preview's Print button).
PrintOutcome WritePdfInPlace(const PageStore& store, QPrinter& printer, RunMonitor* monitor) {
    PdfFileInPlace file(printer.outputFileName());
    if (!file.Open())
        return PrintOutcome::Failed;
    PdfWriter writer(file.Path(), PaperPoints(printer), store);
    if (!writer.Start())
        return PrintOutcome::Failed;
    const std::vector<PdfFontFacts> fonts = PdfFontsOf(store);
    for (int i = 0; i < store.PageCount(); ++i)
        writer.AddPage(store.Page(i), fonts);
    return FinishPdf(writer, file, store.PageCount(), monitor);
}

// False after a cancel, and after a failure, which is told.
bool Told(PrintOutcome outcome, const QString& target) {
    if (outcome != PrintOutcome::Failed)
        return outcome == PrintOutcome::Printed;
    ShowMessage(MessageKind::Error, "Can not print to: " + FromDisplay(target));
    return false;
}

bool SendPages(const PageStore& store, QPrinter& printer, RunMonitor* monitor) {
    if (printer.outputFormat() == QPrinter::PdfFormat)
        return Told(WritePdfInPlace(store, printer, monitor), printer.outputFileName());
    return Told(PrintPages(store, printer, monitor), printer.printerName());
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

    // The same window watches the pages go out, Cancel and all.
    template <typename Output> bool Watch(Output output) {
        if (!Window)
            return output(nullptr);
        Window->RunStarted(Report.ReportTitle);
        const bool done = output(&*Window);
        Window->RunEnded();
        return done;
    }

private:
    TBandReport& Report;
    std::optional<TReportProgressForm> Window;
};

// Layout and PDF file at once: each page goes to the writer's thread as soon
// as it is laid out, so that the file is written on the second core while
// the rest is laid out on the first.
bool ComposePdfInPlace(TPrintForm& form, QPrinter& printer, const PageFormat& format,
                       ProgressDisplay& progress, EngineProgressWindow& window) {
    PdfFileInPlace file(printer.outputFileName());
    if (!file.Open())
        return Told(PrintOutcome::Failed, printer.outputFileName());
    form.BeginCompose(printer, format, progress);
    const PageStore& pages = form.BandReport.Pages();
    PdfWriter writer(file.Path(), PaperPoints(printer), pages);
    if (!writer.Start()) {
        form.EndCompose();
        return Told(PrintOutcome::Failed, printer.outputFileName());
    }
    int sent = 0;
    std::vector<PdfFontFacts> fonts;
    const auto feed = [&] {
        for (; sent < pages.FinishedPageCount(); ++sent) {
            if (static_cast<int>(fonts.size()) != pages.FontCount())
                fonts = PdfFontsOf(pages);
            writer.AddPage(pages.Page(sent), fonts);
        }
    };
    while (form.ComposeMore(LinesPerStep))
        feed();
    // The writer reads the run's pages: it is done with them before the run
    // ends and takes them.
    if (form.BandReport.RunCancelled()) {
        writer.Abandon();
        form.EndCompose();
        return false;
    }
    feed();
    const bool printed = window.Watch([&](RunMonitor* monitor) {
        return Told(FinishPdf(writer, file, pages.PageCount(), monitor), printer.outputFileName());
    });
    form.EndCompose();
    return printed;
}

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
    if (printer.outputFormat() == QPrinter::PdfFormat)
        return ComposePdfInPlace(form, printer, format, progress, window);
    const std::optional<PageStore> pages = form.Compose(printer, format, progress);
    return pages &&
           window.Watch([&](RunMonitor* monitor) { return SendPages(*pages, printer, monitor); });
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
