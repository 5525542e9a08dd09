#pragma once

#include "output/BandReport.h"
#include "output/PageFormat.h"
#include "output/PageStore.h"
#include "output/ReportBand.h"
#include "output/ReportLabel.h"
#include "output/ReportShape.h"
#include "output/WordWrapMemo.h"
#include "report/PrintJob.h"

#include <QDateTime>

#include <array>
#include <functional>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

class QPrinter;

namespace pembrill {

class LineReader;
class ProgressDisplay;

// The page composer: lays the sections of a job out on pages through its
// banded report. Each section is a print file of text lines with its page
// header text, footer file name and font; each begins on a new page whose
// footer numbers the pages of the section from 1. Never shown.
class TPrintForm {
public:
    TPrintForm();
    ~TPrintForm();
    TPrintForm(const TPrintForm&) = delete;
    TPrintForm& operator=(const TPrintForm&) = delete;

    // Runs the report for the printer's page with the given page settings,
    // writing its progress to `progress`. nullopt when the user cancelled.
    std::optional<PageStore> Compose(QPrinter& printer, const PageFormat& format,
                                     ProgressDisplay& progress);
    // The same on a page given explicitly.
    std::optional<PageStore> Compose(const PageFacts& facts, const PageFormat& format,
                                     ProgressDisplay& progress);
    // The same in steps: BeginCompose lays out up to the start of page 1,
    // each ComposeMore up to `lines` more report lines (true while the run
    // goes on; BandReport.Pages() holds the pages so far), EndCompose ends
    // the run, abandoning what is left of it, and gives the pages as Compose
    // does. Every BeginCompose is to be followed by an EndCompose.
    void BeginCompose(QPrinter& printer, const PageFormat& format, ProgressDisplay& progress);
    void BeginCompose(const PageFacts& facts, const PageFormat& format, ProgressDisplay& progress);
    bool ComposeMore(int lines);
    std::optional<PageStore> EndCompose();

    // The lists from a job's sections.
    void SetSections(const std::vector<PrintSection>& sections);

    // Entry i of each list describes section i.
    std::vector<std::string> PrintFiles;
    std::vector<std::string> HeaderTexts;
    std::vector<std::string> FooterFileNames;
    std::vector<std::string> FontNames;
    std::vector<std::string> FontSizes;
    // A section's entry in a PDF file's outline; its header text where empty.
    std::vector<std::string> OutlineTitles;
    // The forms' pictures that go before lines of the section.
    std::vector<std::vector<SectionPicture>> Pictures;
    int SectionIndex = 0;
    // Pages begun so far in the current section.
    int SectionPageNumber = 0;

    TBandReport BandReport;
    TReportBand RepPageHeaderBand{TBandType::rbPageHeader};
    TReportLabel RepHeaderLabel;
    TReportShape RepHeaderLine;
    TReportBand RepSpacerBand{TBandType::rbPageHeader};
    TReportBand RepTextBand{TBandType::rbDetail};
    TReportLabel RepTextLabel;
    TReportBand RepPageFooterBand{TBandType::rbPageFooter};
    TReportLabel RepBottomLeftLabel;
    TReportLabel RepBottomCenterLabel;
    TReportLabel RepBottomRightLabel;
    TReportShape RepFooterLine;
    WordWrapMemo WrapMemo;

    // The clock the footer's date and time come from, read once per run.
    std::function<QDateTime()> Now = [] { return QDateTime::currentDateTime(); };

    void BandReportBeforePrint();
    void BandReportStartPage();
    void BandReportNeedData(bool& moreData);
    void BandReportAfterPrint();
    // Breaks an over-wide line in WrapMemo and gives its first display line;
    // the others stay in the memo.
    std::string WrapLine(const std::string& line);

private:
    enum class SectionStart { Started, BlankLine, Complete };
    struct FooterCell {
        TReportLabel* Label;
        const std::string* Choice;
    };

    void FormCreate();
    void StartComposing(const PageFormat& format, ProgressDisplay& progress);
    std::optional<PageStore> ComposeRest();
    void OpenFirstPrintFile();
    void OpenPrintFile(const std::string& path);
    bool ReadPrintLine(std::string& line);
    void PrintPicturesBeforeLine();
    bool ReadAhead();
    void ClosePrintFile();
    SectionStart StartNextSection();
    void SetSectionFont();
    void SetUpMargin();
    void SetUpHeaderAndFooter();
    void SetFooterCellsAtRunStart();
    std::array<FooterCell, 3> FooterCells();
    const std::string& Entry(const std::vector<std::string>& list) const;
    int FontSizeOf(const std::string& text);
    void ShowOncePerRun(const std::string& message);

    PageFormat Format;
    ProgressDisplay* Progress;
    // The page width less the left margin, in layout units.
    int UsableWidth = 0;
    std::string PrintFilePath;
    std::unique_ptr<LineReader> PrintFile;
    // The line after the one last read: knowing it is what tells that the
    // file is at its end before the next pull.
    std::string LookAhead;
    bool HasLookAhead = false;
    // Lines of the section's print file read so far, and its next picture.
    int LinesRead = 0;
    size_t NextPicture = 0;
    std::string DateStamp;
    std::string DateTimeStamp;
    std::set<std::string> ShownThisRun;
};

// The program's page composer.
extern TPrintForm* PrintForm;

} // namespace pembrill
