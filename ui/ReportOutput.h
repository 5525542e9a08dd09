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

// Composes the job and prints it on the printer, the engine's progress window
// with its Cancel up from the first page laid out to the last page sent. A
// printer in PdfFormat with an output file name writes that file, whole or
// not at all; where the system has no printer at all, the user is asked for a
// PDF file to print to first. False when the run was cancelled, no file was
// named, or printing failed.
bool PrintReport(TPrintForm& form, QPrinter& printer, const PageFormat& format,
                 ProgressDisplay& progress, QWidget* parent = nullptr);

// Prints pages already composed (the preview's Print button), on the same
// terms as PrintReport, with the engine's progress window.
bool PrintStoredPages(const PageStore& store, QPrinter& printer, QWidget* parent = nullptr);

} // namespace pembrill
