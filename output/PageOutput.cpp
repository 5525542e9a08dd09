#include "output/PageOutput.h"

#include "output/DisplayText.h"
#include "output/PagePainter.h"
#include "output/PdfWriter.h"
#include "output/Prnt.h"
#include "output/RunMonitor.h"
#include "platform/MessageBox.h"
#include "platform/TempFile.h"

#include <QPrinter>

namespace pembrill {

namespace {

QSizeF PaperPoints(const QPrinter& printer) {
    return printer.pageLayout().fullRect(QPageLayout::Point).size();
}

// The monitor, when there is one, watches the pages go out, Cancel and all.
template <typename Output>
bool Watched(RunMonitor* monitor, const std::string& reportTitle, Output output) {
    if (!monitor)
        return output(nullptr);
    monitor->RunStarted(reportTitle);
    const bool done = output(monitor);
    monitor->RunEnded();
    return done;
}

// Waits for the writer to write every page it was given, the monitor, when
// there is one, telling the pages written and asked about Cancel. A PDF file
// is written under a name of its own beside the one the user named and put
// in its place once it is whole, so that a cancelled or failed job leaves no
// half file and the earlier file of that name as it was.
PrintOutcome FinishPdf(PdfWriter& writer, ReplacementFile& file, int pageCount,
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
    std::error_code error;
    return written && file.MoveIntoPlace(error) ? PrintOutcome::Printed : PrintOutcome::Failed;
}

PrintOutcome WritePdfInPlace(const PageStore& store, QPrinter& printer, RunMonitor* monitor) {
    ReplacementFile file(FromDisplay(printer.outputFileName()));
    if (!file.Create())
        return PrintOutcome::Failed;
    PdfWriter writer(file.Path(), PaperPoints(printer), store);
    if (!writer.Start())
        return PrintOutcome::Failed;
    for (int i = 0; i < store.PageCount(); ++i)
        writer.AddPage(store.Page(i));
    return FinishPdf(writer, file, store.PageCount(), monitor);
}

// False after a cancel, and after a failure, which is told.
bool Told(PrintOutcome outcome, const QString& target) {
    if (outcome != PrintOutcome::Failed)
        return outcome == PrintOutcome::Printed;
    ShowMessage(MessageKind::Error, "Can not print to: " + FromDisplay(target));
    return false;
}

} // namespace

bool SendPages(const PageStore& store, QPrinter& printer, RunMonitor* monitor) {
    return Watched(monitor, store.Title(), [&](RunMonitor* watch) {
        if (printer.outputFormat() == QPrinter::PdfFormat)
            return Told(WritePdfInPlace(store, printer, watch), printer.outputFileName());
        return Told(PrintPages(store, printer, watch), printer.printerName());
    });
}

// The file is written on the second core while the rest is laid out on the
// first.
bool ComposeToPdf(TPrintForm& form, QPrinter& printer, const PageFormat& format,
                  ProgressDisplay& progress, RunMonitor* monitor) {
    ReplacementFile file(FromDisplay(printer.outputFileName()));
    if (!file.Create())
        return Told(PrintOutcome::Failed, printer.outputFileName());
    form.BeginCompose(printer, format, progress);
    const PageStore& pages = form.BandReport.Pages();
    PdfWriter writer(file.Path(), PaperPoints(printer), pages);
    if (!writer.Start()) {
        form.EndCompose();
        return Told(PrintOutcome::Failed, printer.outputFileName());
    }
    int sent = 0;
    const auto feed = [&] {
        for (; sent < pages.FinishedPageCount(); ++sent)
            writer.AddPage(pages.Page(sent));
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
    const bool printed = Watched(monitor, pages.Title(), [&](RunMonitor* watch) {
        return Told(FinishPdf(writer, file, pages.PageCount(), watch), printer.outputFileName());
    });
    form.EndCompose();
    return printed;
}

} // namespace pembrill
