#pragma once

#include "output/PageFacts.h"
#include "output/PageStore.h"
#include "output/ReportBand.h"

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
// the stored pages.
class TBandReport {
public:
    // Bands are printed in the order in which they were added.
    void AddBand(TReportBand& band) { Bands.push_back(&band); }

    // Lays the report out on pages of the printer's size (its orientation is
    // set from Orientation first). nullopt when the user cancelled.
    std::optional<PageStore> Prepare(QPrinter& printer);
    // The same on pages given explicitly.
    std::optional<PageStore> Run(const PageFacts& facts);
    // Prepares and sends the pages to the printer; false after a cancel or
    // when the printer cannot be opened.
    bool Print(QPrinter& printer);

    // During a run: finishes the current page and begins the next.
    void NewPage();

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
    bool PrintDetails();
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
    int FPageNumber = 0;
    int FPageWidth = 0;
    int FUsableWidth = 0;
    int Margin = 0;
    int Position = 0;
    bool PageHasDetail = false;
};

} // namespace pembrill
