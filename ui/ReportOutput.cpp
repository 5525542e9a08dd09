#include "ui/ReportOutput.h"

#include "output/PageOutput.h"
#include "output/Printer.h"
#include "output/Prnt.h"
#include "ui/ReportProgress.h"

#include <QFileDialog>
#include <QPrinter>
#include <QPrinterInfo>

#include <optional>

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

} // namespace

bool PrintReport(TPrintForm& form, QPrinter& printer, const PageFormat& format,
                 ProgressDisplay& progress, QWidget* parent) {
    if (!PrinterReady(printer, parent))
        return false;
    EngineProgressWindow window(form.BandReport, parent);
    if (printer.outputFormat() == QPrinter::PdfFormat)
        return ComposeToPdf(form, printer, format, progress, window.Monitor());
    const std::optional<PageStore> pages = form.Compose(printer, format, progress);
    return pages && SendPages(*pages, printer, window.Monitor());
}

bool PrintStoredPages(const PageStore& store, QPrinter& printer, QWidget* parent) {
    if (!PrinterReady(printer, parent))
        return false;
    TReportProgressForm window(parent);
    return SendPages(store, printer, &window);
}

} // namespace pembrill
