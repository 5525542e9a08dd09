#include "output/Prnt.h"

#include "output/LayoutText.h"
#include "output/PagePainter.h"
#include "output/ReportPrinter.h"
#include "platform/DisplayText.h"
#include "platform/FileError.h"
#include "platform/LineReader.h"
#include "platform/MessageBox.h"
#include "platform/ProgressDisplay.h"

#include <QLocale>
#include <QPrinter>

#include <cstdint>
#include <limits>

namespace pembrill {

TPrintForm* PrintForm = nullptr;

namespace {

// Where progress goes while no run is under way.
class NoProgress : public ProgressDisplay {
public:
    void SetUpperLine(const std::string&) override {}
    void SetLowerLine(const std::string&) override {}
    std::string LowerLine() const override { return {}; }
    void ShowAndRepaint() override {}
    void Repaint() override {}
    void Close() override {}
};

NoProgress Idle;

constexpr int DefaultFontSize = 10;
constexpr int HeaderLineLift = 2;
// Margins are held to a hundred thousand inches either way, far past any
// paper, so that the page arithmetic cannot overflow.
constexpr int64_t MarginTenthsLimit = 1000000;

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

int HexValue(char c) {
    if (IsDigit(c))
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

// Whole numbers as the program's number boxes accept them: leading blanks, an
// optional sign, then decimal digits or '$' and hexadecimal digits, and
// nothing after them; the value must fit in 32 bits.
std::optional<int> TextToInteger(const std::string& text) {
    size_t i = text.find_first_not_of(' ');
    if (i == std::string::npos)
        return std::nullopt;
    const bool negative = text[i] == '-';
    if (text[i] == '-' || text[i] == '+')
        ++i;
    int base = 10;
    if (i < text.size() && text[i] == '$') {
        base = 16;
        ++i;
    }
    if (i == text.size())
        return std::nullopt;
    int64_t value = 0;
    for (; i < text.size(); ++i) {
        const int digit = base == 16 ? HexValue(text[i]) : (IsDigit(text[i]) ? text[i] - '0' : -1);
        if (digit < 0)
            return std::nullopt;
        value = value * base + digit;
        if (value > int64_t{std::numeric_limits<int>::max()} + 1)
            return std::nullopt;
    }
    value = negative ? -value : value;
    if (value > std::numeric_limits<int>::max())
        return std::nullopt;
    return static_cast<int>(value);
}

// The optional exponent of a decimal number at text[i]: 'e' or 'E', a sign
// and digits. Moves i past it; nullopt when it is malformed.
std::optional<int64_t> ExponentAt(const std::string& text, size_t& i) {
    if (i == text.size() || (text[i] != 'e' && text[i] != 'E'))
        return 0;
    ++i;
    const bool negative = i < text.size() && text[i] == '-';
    if (i < text.size() && (text[i] == '-' || text[i] == '+'))
        ++i;
    if (i == text.size() || !IsDigit(text[i]))
        return std::nullopt;
    int64_t exponent = 0;
    for (; i < text.size() && IsDigit(text[i]); ++i)
        exponent = std::min<int64_t>(exponent * 10 + (text[i] - '0'), MarginTenthsLimit);
    return negative ? -exponent : exponent;
}

// A decimal number of inches (blanks around it, a sign, digits with the
// locale's decimal separator, an optional exponent) as whole tenths of an
// inch, truncated toward zero. Worked out on the decimal digits themselves,
// so that 2.3 gives 23 and not the 22 a binary product would.
std::optional<int> TextToTenths(const std::string& text, char separator) {
    size_t i = text.find_first_not_of(' ');
    if (i == std::string::npos)
        return std::nullopt;
    const bool negative = text[i] == '-';
    if (text[i] == '-' || text[i] == '+')
        ++i;
    std::string digits;
    int64_t wholeDigits = 0;
    bool separatorSeen = false;
    for (; i < text.size() && (IsDigit(text[i]) || (text[i] == separator && !separatorSeen)); ++i) {
        if (text[i] == separator) {
            separatorSeen = true;
            continue;
        }
        digits += text[i];
        wholeDigits += separatorSeen ? 0 : 1;
    }
    const std::optional<int64_t> exponent = ExponentAt(text, i);
    if (digits.empty() || !exponent || text.find_first_not_of(' ', i) != std::string::npos)
        return std::nullopt;
    // One digit more than the whole number gives tenths.
    const int64_t tenthsDigits = wholeDigits + *exponent + 1;
    int64_t tenths = 0;
    for (int64_t k = 0; k < tenthsDigits && tenths <= MarginTenthsLimit; ++k) {
        const bool inDigits = k < static_cast<int64_t>(digits.size());
        if (!inDigits && tenths == 0)
            break;
        tenths = tenths * 10 + (inDigits ? digits[static_cast<size_t>(k)] - '0' : 0);
    }
    tenths = std::min(tenths, MarginTenthsLimit);
    return static_cast<int>(negative ? -tenths : tenths);
}

char LocaleDecimalSeparator() {
    const QString point = QLocale::system().decimalPoint();
    return point.size() == 1 && point[0].unicode() < 0x80 ? static_cast<char>(point[0].unicode())
                                                          : '.';
}

int FontSizeOf(const std::string& text) {
    if (const auto size = TextToInteger(text))
        return *size;
    ShowMessage(MessageKind::Error, "Invalid font size: " + text);
    return DefaultFontSize;
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

void TPrintForm::FormCreate() {
    ReportPrinter().PreviewCaption = "Pembrill Preview";
    ReportPrinter().ProgressCaption = "Progress";
    ReportPrinter().ShowLoadButton = false;
    ReportPrinter().ShowSaveButton = false;
    SectionIndex = 0;
}

std::optional<PageStore> TPrintForm::Compose(QPrinter& printer, const PageFormat& format,
                                             ProgressDisplay& progress) {
    return RunReport([&] { return BandReport.Prepare(printer); }, format, progress);
}

std::optional<PageStore> TPrintForm::Compose(const PageFacts& facts, const PageFormat& format,
                                             ProgressDisplay& progress) {
    return RunReport([&] { return BandReport.Run(facts); }, format, progress);
}

bool TPrintForm::Print(QPrinter& printer, const PageFormat& format, ProgressDisplay& progress) {
    const std::optional<PageStore> pages = Compose(printer, format, progress);
    return pages && PrintPages(*pages, printer);
}

std::optional<PageStore> TPrintForm::RunReport(const std::function<std::optional<PageStore>()>& run,
                                               const PageFormat& format,
                                               ProgressDisplay& progress) {
    Format = format;
    Progress = &progress;
    std::optional<PageStore> pages = run();
    // A cancelled run stops mid-section: its file and wrapped pieces go too.
    ClosePrintFile();
    WrapMemo.Clear();
    Progress = &Idle;
    return pages;
}

void TPrintForm::BandReportBeforePrint() {
    SectionIndex = 0;
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
    std::string line;
    ReadPrintLine(line);
    RepTextLabel.SetCaption(line);
    if (Format.WordWrap && RepTextLabel.Width() > BandReport.UsableWidth())
        RepTextLabel.SetCaption(WrapLine(line));
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
    std::optional<int> tenths = TextToTenths(Format.LeftMargin, LocaleDecimalSeparator());
    if (!tenths)
        ShowMessage(MessageKind::Error, "Invalid left margin: " + Format.LeftMargin);
    BandReport.LeftMarginInches = tenths.value_or(0);
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
