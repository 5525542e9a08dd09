#include "output/BandReport.h"

#include "output/LayoutText.h"
#include "output/ReportLabel.h"
#include "output/ReportPrinter.h"
#include "output/ReportShape.h"
#include "output/RunMonitor.h"

#include <QPrinter>

#include <limits>

namespace pembrill {

namespace {

int LabelOffset(const TReportLabel& label, const TReportBand& band) {
    if (label.AlignToBand) {
        switch (label.Alignment) {
        case TAlignment::taLeftJustify:
            return 0;
        case TAlignment::taCenter:
            return (band.Width - label.Width()) / 2;
        case TAlignment::taRightJustify:
            return band.Width - label.Width();
        }
    }
    if (label.Alignment == TAlignment::taLeftJustify)
        return label.Left;
    const int room = label.Width() - label.CaptionWidth();
    return label.Left + (label.Alignment == TAlignment::taCenter ? room / 2 : room);
}

StoredFont StoredFontOf(const TReportLabel& label) {
    return StoredFont{label.Font().Name, label.PixelSize(), label.Font().Bold, label.Font().Colour};
}

} // namespace

std::optional<PageStore> TBandReport::Run(const PageFacts& facts) {
    BeginRun(facts);
    return FinishRun();
}

void TBandReport::BeginRun(QPrinter& printer) {
    printer.setPageOrientation(Orientation == TPrinterOrientation::poLandscape
                                   ? QPageLayout::Landscape
                                   : QPageLayout::Portrait);
    BeginRun(PageFactsOf(printer));
}

void TBandReport::BeginRun(const PageFacts& facts) {
    StartRun(facts);
    if (BeforePrint)
        BeforePrint();
    ApplyMargin();
    BeginPage();
}

bool TBandReport::ContinueRun(int details) {
    for (int pulled = 0; Running && pulled < details; ++pulled) {
        if (Cancelled())
            CompleteRun(true);
        else if (!PullDetail())
            CompleteRun(false);
    }
    return Running;
}

std::optional<PageStore> TBandReport::EndRun() {
    if (Running)
        CompleteRun(false);
    std::optional<PageStore> pages = std::move(Store);
    Store.reset();
    if (WasCancelled)
        return std::nullopt;
    return pages;
}

void TBandReport::ReleaseMonitor() {
    if (Running && ShowProgress && Monitor != nullptr)
        Monitor->RunEnded();
    Monitor = nullptr;
}

void TBandReport::NewPage() {
    if (!Running)
        return;
    FinishPage();
    BeginPage();
}

void TBandReport::PrintPageDrawing(const std::function<void(PageStore& store, QRect room)>& draw) {
    if (!Running)
        return;
    if (PageHasDetail)
        NewPage();
    const int footerTop = Store->Facts().PageHeight - FooterRoom();
    draw(*Store, QRect(Margin, Position, FUsableWidth, std::max(0, footerTop - Position)));
    Position = footerTop;
    PageHasDetail = true;
}

void TBandReport::AddSection(const std::string& title) {
    if (Running)
        Store->AddSection(title);
}

std::optional<PageStore> TBandReport::FinishRun() {
    while (ContinueRun(std::numeric_limits<int>::max())) {
    }
    return EndRun();
}

// Running stays on through AfterPrint: the handler still sees the run.
void TBandReport::CompleteRun(bool cancelled) {
    WasCancelled = cancelled;
    FinishPage();
    if (AfterPrint)
        AfterPrint();
    if (ShowProgress && Monitor != nullptr)
        Monitor->RunEnded();
    Running = false;
}

void TBandReport::StartRun(const PageFacts& facts) {
    Store.emplace(facts, LayoutDpi(), ReportTitle);
    Running = true;
    WasCancelled = false;
    FPageNumber = 0;
    FPageWidth = facts.PageWidth;
    FUsableWidth = facts.PageWidth;
    Margin = 0;
    ReportPrinter().LeftOffset = facts.LeftOffset;
    for (TReportBand* band : Bands)
        band->Width = facts.PageWidth;
    if (ShowProgress && Monitor != nullptr)
        Monitor->RunStarted(ReportTitle);
}

void TBandReport::ApplyMargin() {
    Margin = MarginUnits(LeftMarginInches);
    FUsableWidth = FPageWidth - Margin;
    for (TReportBand* band : Bands)
        band->Width -= Margin;
}

bool TBandReport::PullDetail() {
    bool moreData = false;
    if (OnNeedData)
        OnNeedData(moreData);
    if (!moreData)
        return false;
    PrintDetailBands();
    return true;
}

void TBandReport::BeginPage() {
    ++FPageNumber;
    Store->BeginPage();
    Position = 0;
    PageHasDetail = false;
    if (ShowProgress && Monitor != nullptr)
        Monitor->PageBegun(FPageNumber);
    if (OnStartPage)
        OnStartPage();
    PrintBandsOf(TBandType::rbPageHeader);
}

void TBandReport::FinishPage() {
    Position = Store->Facts().PageHeight - FooterRoom();
    PrintBandsOf(TBandType::rbPageFooter);
    Store->FinishPage();
}

void TBandReport::PrintBandsOf(TBandType bandType) {
    for (const TReportBand* band : Bands) {
        if (band->BandType == bandType)
            PrintBand(*band);
    }
}

// A page that holds no detail band yet takes the next one even when it does
// not fit: headers taller than the page would otherwise start new pages
// without end.
void TBandReport::PrintDetailBands() {
    for (const TReportBand* band : Bands) {
        if (band->BandType != TBandType::rbDetail || !band->Enabled)
            continue;
        const int footerTop = Store->Facts().PageHeight - FooterRoom();
        if (PageHasDetail && Position + band->Height >= footerTop)
            NewPage();
        PrintBand(*band);
        PageHasDetail = true;
    }
}

void TBandReport::PrintBand(const TReportBand& band) {
    if (!band.Enabled)
        return;
    const int left = Margin + band.Left;
    for (const TReportLabel* label : band.Labels) {
        if (label->Caption().empty())
            continue;
        Store->AddText(left + LabelOffset(*label, band), Position + label->Top,
                       StoredFontOf(*label), label->Caption(), label->Shaped());
    }
    for (const TReportShape* shape : band.Shapes) {
        if (shape->Visible && shape->Width > 0)
            Store->AddLine(left + shape->Left, Position + shape->Top, shape->Width);
    }
    Position += band.Height;
}

int TBandReport::FooterRoom() const {
    int room = 0;
    for (const TReportBand* band : Bands) {
        if (band->BandType == TBandType::rbPageFooter)
            room += band->Height;
    }
    return room;
}

bool TBandReport::Cancelled() {
    return ShowProgress && Monitor != nullptr && Monitor->CancelRequested();
}

} // namespace pembrill
