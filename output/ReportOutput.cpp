#include "output/ReportOutput.h"

#include "output/PagePainter.h"
#include "output/Preview.h"
#include "output/Prnt.h"
#include "output/ReportProgress.h"
#include "platform/DisplayText.h"
#include "platform/MessageBox.h"

#include <QFileDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <QScreen>

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
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(file);
    return true;
}

bool SendPages(const PageStore& store, QPrinter& printer) {
    if (PrintPages(store, printer))
        return true;
    const QString target = printer.outputFormat() == QPrinter::PdfFormat ? printer.outputFileName()
                                                                         : printer.printerName();
    ShowMessage(MessageKind::Error, "Can not print to: " + FromDisplay(target));
    return false;
}

std::optional<PageStore> ComposeWithProgress(TPrintForm& form, QPrinter& printer,
                                             const PageFormat& format, ProgressDisplay& progress,
                                             QWidget* parent) {
    if (!form.BandReport.ShowProgress)
        return form.Compose(printer, format, progress);
    TReportProgressForm window(parent);
    form.BandReport.Monitor = &window;
    std::optional<PageStore> pages = form.Compose(printer, format, progress);
    form.BandReport.Monitor = nullptr;
    return pages;
}

} // namespace

bool PreviewReport(TPrintForm& form, QPrinter& printer, const PageFormat& format,
                   ProgressDisplay& progress, QWidget* parent) {
    const std::optional<PageStore> pages =
        ComposeWithProgress(form, printer, format, progress, parent);
    if (!pages)
        return false;
    TPreviewForm preview(*pages, printer, parent);
    // Without a window manager a window cannot be maximised; it then takes
    // the screen's room itself.
    if (const QScreen* screen = preview.screen())
        preview.setGeometry(screen->availableGeometry());
    preview.setWindowState(Qt::WindowMaximized);
    preview.exec();
    return true;
}

bool PrintReport(TPrintForm& form, QPrinter& printer, const PageFormat& format,
                 ProgressDisplay& progress, QWidget* parent) {
    if (!PrinterReady(printer, parent))
        return false;
    const std::optional<PageStore> pages =
        ComposeWithProgress(form, printer, format, progress, parent);
    return pages && SendPages(*pages, printer);
}

bool PrintStoredPages(const PageStore& store, QPrinter& printer, QWidget* parent) {
    return PrinterReady(printer, parent) && SendPages(store, printer);
}

} // namespace pembrill
