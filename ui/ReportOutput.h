#pragma once

class QPrinter;
class QWidget;

namespace pembrill {

class PageStore;
class ProgressDisplay;
class TPrintForm;
struct PageFormat;

// How the print job runs the composer to the printer or a PDF file (the
// preview: PreviewReport). Each shows the engine's progress window during
// the run when form.BandReport.ShowProgress is on.

// Where printing writes a PDF file (PrintsToPdf), asks the user which,
// proposing the file named last, and sets the printer to write it; the
// dialog asks before a file is replaced. False when the user cancels.
// Printing on a printer asks nothing. The Print buttons ask this before
// anything of the job is done.
bool AskPdfFile(QPrinter& printer, QWidget* parent);

// Composes the job and prints it on the printer, the engine's progress window
// with its Cancel up from the first page laid out to the last page sent. A
// printer in PdfFormat writes its output file, whole or not at all. False
// when the run was cancelled or printing failed.
bool PrintReport(TPrintForm& form, QPrinter& printer, const PageFormat& format,
                 ProgressDisplay& progress, QWidget* parent = nullptr);

// Prints pages already composed (the preview's Print button), on the same
// terms as PrintReport, with the engine's progress window.
bool PrintStoredPages(const PageStore& store, QPrinter& printer, QWidget* parent = nullptr);

} // namespace pembrill
