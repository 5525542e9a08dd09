#include "output/Prnt.h"

#include "output/DecimalSeparator.h"
#include "output/DisplayText.h"
#include "output/LayoutText.h"
#include "output/PaintPicture.h"
#include "output/PictureCanvas.h"
#include "output/ReportPrinter.h"
#include "platform/FileError.h"
#include "platform/LineReader.h"
#include "platform/MessageBox.h"
#include "platform/NumberText.h"
#include "platform/ProgressDisplay.h"

#include <QLocale>
#include <QPrinter>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>

namespace pembrill {

TPrintForm* PrintForm = nullptr;

namespace {

// Where progress goes while no run is under way.
NoProgress Idle;

constexpr int DefaultFontSize = 10;
constexpr int HeaderLineLift = 2;
// Margins are held to a hundred thousand inches either way, far past any
// paper, so that the page arithmetic cannot overflow.
constexpr double MarginTenthsLimit = 1000000;

// The margin in whole tenths of an inch, truncated toward zero. A product
// within a hair of a whole number is that number: 2.3 inches are 23 tenths,
// though 2.3 times 10 in binary falls just short of 23.
int MarginTenthsOf(double inches) {
    double tenths = inches * 10.0;
    const double nearest = std::round(tenths);
    if (std::abs(tenths - nearest) <= 1e-12 * std::max(1.0, std::abs(nearest)))
        tenths = nearest;
    return static_cast<int>(std::clamp(std::trunc(tenths), -MarginTenthsLimit, MarginTenthsLimit));
}

std::string TwoDigits(int value) {
    return QString::number(value).rightJustified(2, QLatin1Char('0')).toStdString();
}

// "mmm-dd-yy", the month by the locale's abbreviated name.
std::string DateStampOf(const QDate& date) {
    const QString month = QLocale::system().monthName(date.month(), QLocale::ShortFormat);
    return FromDisplay(month) + "-" + TwoDigits(date.day()) + "-" + TwoDigits(date.year() % 100);
}

// "mmm-dd-yy hh:mm" on the 24-hour clock.
std::string DateTimeStampOf(const QDateTime& moment) {
    const QTime time = moment.time();
    return DateStampOf(moment.date()) + " " + TwoDigits(time.hour()) + ":" +
           TwoDigits(time.minute());
}

} // namespace

TPrintForm::TPrintForm() : Progress(&Idle) {
    BandReport.Columns = 1;
    BandReport.DisplayPrintDialog = false;
    BandReport.Orientation = TPrinterOrientation::poPortrait;
    BandReport.ReportTitle = "Pembrill";
    BandReport.AddBand(RepPageHeaderBand);
    BandReport.AddBand(RepSpacerBand);
    BandReport.AddBand(RepTextBand);
    BandReport.AddBand(RepPageFooterBand);
    BandReport.BeforePrint = [this] { BandReportBeforePrint(); };
    BandReport.OnStartPage = [this] { BandReportStartPage(); };
    BandReport.OnNeedData = [this](bool& moreData) { BandReportNeedData(moreData); };
    BandReport.AfterPrint = [this] { BandReportAfterPrint(); };

    RepPageHeaderBand.AddLabel(RepHeaderLabel);
    RepPageHeaderBand.AddShape(RepHeaderLine);
    RepHeaderLabel.Top = 4;
    RepHeaderLabel.SetFont(ReportFont{"Arial", DefaultFontSize, true});
    RepSpacerBand.Height = 20;
    RepTextBand.AddLabel(RepTextLabel);
    RepTextLabel.SetFont(ReportFont{"Courier New", DefaultFontSize, false});
    RepPageFooterBand.AddLabel(RepBottomLeftLabel);
    RepPageFooterBand.AddLabel(RepBottomCenterLabel);
    RepPageFooterBand.AddLabel(RepBottomRightLabel);
    RepPageFooterBand.AddShape(RepFooterLine);
    for (TReportLabel* label : {&RepBottomLeftLabel, &RepBottomCenterLabel, &RepBottomRightLabel})
        label->Top = 8;
    RepBottomCenterLabel.AlignToBand = true;
    RepBottomCenterLabel.Alignment = TAlignment::taCenter;
    RepBottomRightLabel.AlignToBand = true;
    RepBottomRightLabel.Alignment = TAlignment::taRightJustify;
    FormCreate();
}

TPrintForm::~TPrintForm() = default;

void TPrintForm::SetSections(const std::vector<PrintSection>& sections) {
    for (auto* list :
         {&PrintFiles, &HeaderTexts, &FooterFileNames, &FontNames, &FontSizes, &OutlineTitles})
        list->clear();
    Pictures.clear();
    for (const PrintSection& section : sections) {
        PrintFiles.push_back(section.PrintFile);
        HeaderTexts.push_back(section.HeaderText);
        FooterFileNames.push_back(section.FooterFileName);
        FontNames.push_back(section.Font.Name);
        FontSizes.push_back(section.Font.Size);
        OutlineTitles.push_back(section.OutlineTitle);
        Pictures.push_back(section.Pictures);
    }
}

void TPrintForm::FormCreate() {
    ReportPrinter().PreviewCaption = "Pembrill Preview";
    ReportPrinter().ProgressCaption = "Progress";
    ReportPrinter().ShowLoadButton = false;
    ReportPrinter().ShowSaveButton = false;
    SectionIndex = 0;
}

std::optional<PageStore> TPrintForm::Compose(QPrinter& printer, const PageFormat& format,
                                             ProgressDisplay& progress) {
    BeginCompose(printer, format, progress);
    return ComposeRest();
}

std::optional<PageStore> TPrintForm::Compose(const PageFacts& facts, const PageFormat& format,
                                             ProgressDisplay& progress) {
    BeginCompose(facts, format, progress);
    return ComposeRest();
}

void TPrintForm::BeginCompose(QPrinter& printer, const PageFormat& format,
                              ProgressDisplay& progress) {
    StartComposing(format, progress);
    BandReport.BeginRun(printer);
}

void TPrintForm::BeginCompose(const PageFacts& facts, const PageFormat& format,
                              ProgressDisplay& progress) {
    StartComposing(format, progress);
    BandReport.BeginRun(facts);
}

bool TPrintForm::ComposeMore(int lines) {
    return BandReport.ContinueRun(lines);
}

std::optional<PageStore> TPrintForm::EndCompose() {
    std::optional<PageStore> pages = BandReport.EndRun();
    // A run cancelled or abandoned stops mid-section: its file and wrapped
    // pieces go too.
    ClosePrintFile();
    WrapMemo.Clear();
    Progress = &Idle;
    return pages;
}

void TPrintForm::StartComposing(const PageFormat& format, ProgressDisplay& progress) {
    Format = format;
    Progress = &progress;
}

std::optional<PageStore> TPrintForm::ComposeRest() {
    while (ComposeMore(std::numeric_limits<int>::max())) {
    }
    return EndCompose();
}

// Every section of a job takes its size from the same box: a bad one is
// told once a run, not once a section.
void TPrintForm::ShowOncePerRun(const std::string& message) {
    if (ShownThisRun.insert(message).second)
        ShowMessage(MessageKind::Error, message);
}

int TPrintForm::FontSizeOf(const std::string& text) {
    int32_t size = DefaultFontSize;
    if (!TryStrToInt(text, size))
        ShowOncePerRun("Invalid font size: " + text);
    return size;
}

void TPrintForm::BandReportBeforePrint() {
    SectionIndex = 0;
    ShownThisRun.clear();
    const QDateTime now = Now();
    DateStamp = DateStampOf(now.date());
    DateTimeStamp = DateTimeStampOf(now);
    OpenFirstPrintFile();
    Progress->SetUpperLine("Formatting");
    Progress->SetLowerLine("");
    Progress->ShowAndRepaint();
    SetUpMargin();
    SetSectionFont();
    SetUpHeaderAndFooter();
    SectionPageNumber = 0;
}

void TPrintForm::BandReportStartPage() {
    Progress->SetLowerLine("Page " + std::to_string(BandReport.PageNumber()));
    Progress->Repaint();
    ++SectionPageNumber;
    if (SectionPageNumber == 1) {
        const std::string& title = Entry(OutlineTitles);
        BandReport.AddSection(title.empty() ? Entry(HeaderTexts) : title);
    }
    for (const FooterCell& cell : FooterCells()) {
        if (*cell.Choice == "PageNum")
            cell.Label->SetCaption("Page " + std::to_string(SectionPageNumber));
    }
}

void TPrintForm::BandReportNeedData(bool& moreData) {
    moreData = true;
    if (Format.WordWrap && !WrapMemo.Empty()) {
        RepTextLabel.SetCaption(WrapMemo.TakeFirst());
        return;
    }
    if (!HasLookAhead) {
        const SectionStart start = StartNextSection();
        if (start != SectionStart::Started) {
            moreData = start == SectionStart::BlankLine;
            return;
        }
    }
    PrintPicturesBeforeLine();
    std::string line;
    ReadPrintLine(line);
    RepTextLabel.SetCaption(line);
    if (Format.WordWrap && RepTextLabel.Width() > BandReport.UsableWidth())
        RepTextLabel.SetCaption(WrapLine(line));
}

// Each on a page of its own, drawn from the top left corner of the room
// between header and footer, made smaller when it does not fit, never
// larger: a pixel of the form is a pixel of the screen.
void TPrintForm::PrintPicturesBeforeLine() {
    if (SectionIndex < 0 || SectionIndex >= static_cast<int>(Pictures.size()))
        return;
    const std::vector<SectionPicture>& pictures = Pictures[static_cast<size_t>(SectionIndex)];
    for (; NextPicture < pictures.size() && pictures[NextPicture].Line <= LinesRead;
         ++NextPicture) {
        const FormPicture& picture = *pictures[NextPicture].Picture;
        if (picture.Elements.empty())
            continue;
        BandReport.PrintPageDrawing([&](PageStore& store, QRect room) {
            const PictureRect& size = picture.Elements[0].Bounds;
            const double pixel = store.LayoutDpi() / PictureDpi;
            const double scale = std::min({pixel, room.width() / std::max(1.0, size.Right() * 1.0),
                                           room.height() / std::max(1.0, size.Bottom() * 1.0)});
            PictureCanvas canvas(store, room.topLeft(), scale);
            PaintFormPicture(canvas, picture);
        });
    }
}

void TPrintForm::BandReportAfterPrint() {
    Progress->Close();
}

std::string TPrintForm::WrapLine(const std::string& line) {
    WrapMemo.Append(line);
    if (WrapMemo.Empty())
        return {};
    return WrapMemo.TakeFirst();
}

// An empty path would mean the standard input: it is never opened, and the
// page is set up all the same for a section that yields no lines.
void TPrintForm::OpenFirstPrintFile() {
    if (PrintFiles.empty())
        return;
    if (PrintFiles[0].empty())
        ShowMessage(MessageKind::Error, "Internal error - tried to open stdin");
    else
        OpenPrintFile(PrintFiles[0]);
}

// Leaves the finished section for the next one. A next section with an
// empty path yields a blank line (the label is emptied) and counts as read to
// its end, so that the following pull goes on to the section after it.
TPrintForm::SectionStart TPrintForm::StartNextSection() {
    ClosePrintFile();
    ++SectionIndex;
    if (SectionIndex >= static_cast<int>(PrintFiles.size()))
        return SectionStart::Complete;
    const std::string& path = PrintFiles[static_cast<size_t>(SectionIndex)];
    if (path.empty()) {
        ShowMessage(MessageKind::Error, "Internal error - tried to open stdin");
        RepTextLabel.SetCaption("");
        return SectionStart::BlankLine;
    }
    OpenPrintFile(path);
    RepHeaderLabel.SetCaption(Entry(HeaderTexts));
    SectionPageNumber = 0;
    BandReport.NewPage();
    SetSectionFont();
    for (const FooterCell& cell : FooterCells()) {
        if (*cell.Choice == "Filename")
            cell.Label->SetCaption(Entry(FooterFileNames));
    }
    return SectionStart::Started;
}

void TPrintForm::OpenPrintFile(const std::string& path) {
    PrintFilePath = path;
    LinesRead = 0;
    NextPicture = 0;
    try {
        PrintFile = std::make_unique<LineReader>(path);
    } catch (const FileError&) {
        ShowMessage(MessageKind::Error, "Error opening print file: " + path);
        return;
    }
    HasLookAhead = ReadAhead();
}

// A file that failed to open, or could not be read on, counts as read to its
// end: no line is ever read from a file that is not open.
bool TPrintForm::ReadPrintLine(std::string& line) {
    if (!HasLookAhead) {
        line.clear();
        return false;
    }
    line.swap(LookAhead);
    ++LinesRead;
    HasLookAhead = ReadAhead();
    return true;
}

bool TPrintForm::ReadAhead() {
    if (!PrintFile)
        return false;
    try {
        return PrintFile->ReadLine(LookAhead);
    } catch (const FileError&) {
        ShowMessage(MessageKind::Error, "Error reading print file: " + PrintFilePath);
        PrintFile.reset();
        return false;
    }
}

void TPrintForm::ClosePrintFile() {
    PrintFile.reset();
    HasLookAhead = false;
}

void TPrintForm::SetSectionFont() {
    const std::string& name = Entry(FontNames);
    const int size = FontSizeOf(Entry(FontSizes));
    RepTextLabel.SetFontName(name);
    RepTextLabel.SetFontSize(size);
    RepTextBand.Height = RepTextLabel.Height() + 1;
    WrapMemo.SetFont(name, size);
}

void TPrintForm::SetUpMargin() {
    double inches = 0;
    if (!TryStrToFloat(Format.LeftMargin, LocaleDecimalSeparator(), inches))
        ShowOncePerRun("Invalid left margin: " + Format.LeftMargin);
    BandReport.LeftMarginInches = MarginTenthsOf(inches);
    const int margin = MarginUnits(BandReport.LeftMarginInches);
    UsableWidth = BandReport.PageWidth() - margin;
    WrapMemo.Width = UsableWidth - ReportPrinter().LeftOffset;
}

void TPrintForm::SetUpHeaderAndFooter() {
    RepHeaderLabel.SetFontName(Format.HeaderFont);
    RepHeaderLabel.SetWidth(UsableWidth);
    RepHeaderLabel.SetFontSize(FontSizeOf(Format.HeaderFontSize));
    RepPageHeaderBand.Height = RepHeaderLabel.Height() + 14;
    RepPageHeaderBand.Width = BandReport.PageWidth();
    const int footerSize = FontSizeOf(Format.FooterFontSize);
    for (const FooterCell& cell : FooterCells()) {
        cell.Label->SetFontName(Format.FooterFont);
        cell.Label->SetFontSize(footerSize);
    }
    RepPageFooterBand.Height = RepBottomLeftLabel.Height() + 14;
    RepPageHeaderBand.Enabled = Format.Header;
    RepPageFooterBand.Enabled = Format.Footer;
    RepHeaderLabel.SetCaption(Entry(HeaderTexts));
    RepHeaderLine.Visible = Format.HeaderLine;
    RepHeaderLine.Left = RepPageHeaderBand.Left;
    RepHeaderLine.Width = UsableWidth;
    RepHeaderLine.Top = RepPageHeaderBand.Top + RepPageHeaderBand.Height - HeaderLineLift;
    RepFooterLine.Visible = Format.FooterLine;
    RepFooterLine.Left = RepPageFooterBand.Left;
    RepFooterLine.Width = UsableWidth;
    RepFooterLine.Top = 2;
    SetFooterCellsAtRunStart();
    RepHeaderLabel.SetFontBold(Format.HeaderBold);
    RepBottomLeftLabel.SetFontBold(Format.BottomLeftBold);
    RepBottomCenterLabel.SetFontBold(Format.BottomCenterBold);
    RepBottomRightLabel.SetFontBold(Format.BottomRightBold);
}

void TPrintForm::SetFooterCellsAtRunStart() {
    for (const FooterCell& cell : FooterCells()) {
        const std::string& choice = *cell.Choice;
        if (choice == "Date")
            cell.Label->SetCaption(DateStamp);
        else if (choice == "DateTime")
            cell.Label->SetCaption(DateTimeStamp);
        else if (choice == "Filename")
            cell.Label->SetCaption(Entry(FooterFileNames));
        else
            cell.Label->SetCaption("");
    }
}

std::array<TPrintForm::FooterCell, 3> TPrintForm::FooterCells() {
    return {FooterCell{&RepBottomLeftLabel, &Format.BottomLeft},
            FooterCell{&RepBottomCenterLabel, &Format.BottomCenter},
            FooterCell{&RepBottomRightLabel, &Format.BottomRight}};
}

// The entry of the current section; lists shorter than PrintFiles give "".
const std::string& TPrintForm::Entry(const std::vector<std::string>& list) const {
    static const std::string None;
    if (SectionIndex < 0 || SectionIndex >= static_cast<int>(list.size()))
        return None;
    return list[static_cast<size_t>(SectionIndex)];
}

} // namespace pembrill
