#include "ui/ReportOutput.h"

#include "output/PageOutput.h"
#include "output/Printer.h"
#include "output/Prnt.h"
#include "ui/ReportProgress.h"

#include <QCoreApplication>
#include <QFileDialog>
#include <QPrinter>

#include <optional>

namespace pembrill {

namespace {

// One question for the program's life: a file dialog made anew for each
// print costs memory that Qt never gives back. It proposes the file named
// last, whatever project is printed.
struct PdfFileQuestion {
    PdfFileQuestion() : Dialog(nullptr, "Print to PDF file", QString(), "PDF files (*.pdf)") {
        Dialog.setObjectName("PdfFileDialog");
        Dialog.setAcceptMode(QFileDialog::AcceptSave);
        Dialog.setDefaultSuffix("pdf");
    }

    QFileDialog Dialog;
    QString LastFile;
};

PdfFileQuestion* Question = nullptr;

// Gone before the application object, as the windows are.
void DeleteQuestion() {
    delete Question;
    Question = nullptr;
}

PdfFileQuestion& TheQuestion() {
    if (!Question) {
        Question = new PdfFileQuestion;
        qAddPostRoutine(DeleteQuestion);
    }
    return *Question;
}

// The file named, or empty when the user cancels. The dialog stands over
// the window that asks only while it asks: that window may go before it.
QString AskedFile(QWidget* parent) {
    PdfFileQuestion& question = TheQuestion();
    QFileDialog& dialog = question.Dialog;
    if (!question.LastFile.isEmpty())
        dialog.selectFile(question.LastFile);
    dialog.setParent(parent, Qt::Dialog);
    const bool named = dialog.exec() == QDialog::Accepted;
    dialog.setParent(nullptr, Qt::Dialog);
    if (named)
        question.LastFile = dialog.selectedFiles().value(0);
    return named ? question.LastFile : QString();
}

} // namespace

bool AskPdfFile(QPrinter& printer, QWidget* parent) {
    if (!PrintsToPdf(printer))
        return true;
    const QString file = AskedFile(parent);
    if (file.isEmpty())
        return false;
    SetPdfOutput(printer, file);
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
