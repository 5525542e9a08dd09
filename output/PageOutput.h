#pragma once

class QPrinter;

namespace pembrill {

class PageStore;
class ProgressDisplay;
class RunMonitor;
class TPrintForm;
struct PageFormat;

// Report lines laid out per step of a run that goes in steps: a few pages,
// short enough for a window to answer input between steps.
inline constexpr int LinesPerStep = 400;

// Sends stored pages to the printer, or, for a printer in PdfFormat, to its
// output file, written under a name of its own and put in place only when
// whole. The monitor, when there is one, watches the pages go out and is
// asked about Cancel. False after a cancel, and after a failure, which is
// told.
bool SendPages(const PageStore& store, QPrinter& printer, RunMonitor* monitor);

// Lays out the job and writes its PDF file at once, each page going to the
// writer as soon as it is laid out, on the same terms as SendPages; the
// monitor watches the pages still to be written when the layout is done.
bool ComposeToPdf(TPrintForm& form, QPrinter& printer, const PageFormat& format,
                  ProgressDisplay& progress, RunMonitor* monitor);

} // namespace pembrill
