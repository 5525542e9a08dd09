#include "ui/ReportOutput.h"

#include "output/PageOutput.h"
#include "output/Printer.h"
#include "output/Prnt.h"
#include "ui/ReportProgress.h"

#include <QFileDialog>
#include <QPrinter>

#include <optional>

namespace pembrill {

namespace {

// The file named last, proposed again, whatever project is printed.
QString LastPdfFile;

} // namespace

bool AskPdfFile(QPrinter& printer, QWidget* parent) {
    if (!PrintsToPdf(printer))
        return true;
    QFileDialog dialog(parent, "Print to PDF file", QString(), "PDF files (*.pdf)");
    dialog.setObjectName("PdfFileDialog");
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setDefaultSuffix("pdf");
    if (!LastPdfFile.isEmpty())
        dialog.selectFile(LastPdfFile);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return false;
    LastPdfFile = dialog.selectedFiles().constFirst();
    SetPdfOutput(printer, LastPdfFile);
    return true;
}

bool PrintReport(TPrintForm& form, QPrinter& printer, const PageFormat& format,
                 ProgressDisplay& progress, QWidget* parent) {
    EngineProgressWindow window(form.BandReport, parent);
    if (printer.outputFormat() == QPrinter::PdfFormat)
        return ComposeToPdf(form, printer, format, progress, window.Monitor());
    const std::optional<PageStore> pages = form.Compose(printer, format, progress);
    return pages && SendPages(*pages, printer, window.Monitor());
}

bool PrintStoredPages(const PageStore& store, QPrinter& printer, QWidget* parent) {
    TReportProgressForm window(parent);
    return SendPages(store, printer, &window);
}

} // namespace pembrill
