#pragma once

#include "output/PageFacts.h"
#include "output/PageStore.h"
#include "output/ReportBand.h"

#include <QRect>

#include <functional>
#include <optional>
#include <string>
#include <vector>

class QPrinter;

namespace pembrill {

class RunMonitor;

enum class TPrinterOrientation { poPortrait, poLandscape };

// A banded report: page header bands at the top of each page, one detail band
// per line the OnNeedData handler supplies, page footer bands at the foot.
// A run lays the report out into a PageStore; printing and previewing draw
// the stored pages. A run goes at once (Run) or in steps (BeginRun,
// ContinueRun, EndRun), so that its first pages can be shown while the rest
// is still being laid out.
class TBandReport {
public:
    // Bands are printed in the order in which they were added.
    void AddBand(TReportBand& band) { Bands.push_back(&band); }

    // Lays the report out on pages given explicitly. nullopt when the user
    // cancelled.
    std::optional<PageStore> Run(const PageFacts& facts);

    // Begins a run: BeforePrint, then page 1. On the printer's page, its
    // orientation set from Orientation first, or on a page given explicitly.
    void BeginRun(QPrinter& printer);
    void BeginRun(const PageFacts& facts);
    // Lays out up to `details` more detail lines. When the data ends or the
    // user cancels, finishes the last page and calls AfterPrint. True while
    // the run goes on.
    bool ContinueRun(int details);
    // The pages of the run begun last, the page being laid out included,
    // until EndRun takes them.
    const PageStore& Pages() const { return *Store; }
    // Ends the run begun last. A run still going on is abandoned: its last
    // page is finished as it stands. nullopt when the user cancelled.
    std::optional<PageStore> EndRun();
    // Whether the run that has ended was cancelled, until EndRun.
    bool RunCancelled() const { return WasCancelled; }
    // The rest of the run goes on without the progress window: it is told
    // that the run has ended and is no longer asked about Cancel.
    void ReleaseMonitor();

    // During a run: finishes the current page and begins the next.
    void NewPage();
    // During a run: a page of its own for a drawing, which `draw` makes in
    // the room between the page's headers and footers. A page that holds
    // detail is finished first; the next detail begins a new page.
    void PrintPageDrawing(const std::function<void(PageStore& store, QRect room)>& draw);
    // During a run: the page begun last is the first of a section of the
    // report, named `title` in a PDF file's outline.
    void AddSection(const std::string& title);

    int PageNumber() const { return FPageNumber; }
    int PageWidth() const { return FPageWidth; }
    // The page width less the left margin, during a run.
    int UsableWidth() const { return FUsableWidth; }

    // One column; the engine lays out no other.
    int Columns = 1;
    // The engine shows no printer dialog of its own; the caller has chosen
    // the printer.
    bool DisplayPrintDialog = false;
    // In tenths of an inch.
    int LeftMarginInches = 0;
    TPrinterOrientation Orientation = TPrinterOrientation::poPortrait;
    std::string ReportTitle;
    // Reports to Monitor during a run, when one is given.
    bool ShowProgress = false;
    RunMonitor* Monitor = nullptr;

    std::function<void()> BeforePrint;
    std::function<void()> OnStartPage;
    std::function<void(bool& moreData)> OnNeedData;
    std::function<void()> AfterPrint;

private:
    void StartRun(const PageFacts& facts);
    void ApplyMargin();
    std::optional<PageStore> FinishRun();
    void CompleteRun(bool cancelled);
    bool PullDetail();
    void BeginPage();
    void FinishPage();
    void PrintBandsOf(TBandType bandType);
    void PrintDetailBands();
    void PrintBand(const TReportBand& band);
    int FooterRoom() const;
    bool Cancelled();

    std::vector<TReportBand*> Bands;
    std::optional<PageStore> Store;
    bool Running = false;
    bool WasCancelled = false;
    int FPageNumber = 0;
    int FPageWidth = 0;
    int FUsableWidth = 0;
    int Margin = 0;
    int Position = 0;
    bool PageHasDetail = false;
};

} // namespace pembrill
