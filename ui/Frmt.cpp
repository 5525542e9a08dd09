#include "ui/Frmt.h"

#include "output/DecimalSeparator.h"
#include "output/DisplayText.h"
#include "platform/NumberText.h"
#include "ui/widgets/CenterOnScreen.h"
#include "ui/widgets/DialogControls.h"
#include "ui/widgets/FieldExitWatcher.h"

#include <QGroupBox>

namespace pembrill {

TFormatForm* FormatForm = nullptr;

namespace {

const QStringList FooterChoices = {"None", "Date", "DateTime", "Filename", "PageNum"};

// The groups stand one below the other across the dialog.
QGroupBox* MakeRow(QWidget& parent, const char* title, int top, int height) {
    return MakeGroup(parent, "", title, QRect(8, top, 322, height));
}

} // namespace

TFormatForm::TFormatForm(QWidget* parent)
    : QDialog(parent), ExitWatcher(new FieldExitWatcher(this)) {
    setObjectName("FormatForm");
    setWindowTitle("Page Format");
    setFixedSize(338, 395);
    setFont(QFont("System", 10, QFont::Bold));
    CreateMarginGroup();
    CreateHeaderGroup();
    CreateFooterGroup();
    OKBtn = new QPushButton("OK", this);
    OKBtn->setObjectName("OKBtn");
    OKBtn->setDefault(true);
    OKBtn->setGeometry((338 - 77) / 2, 360, 77, 27);
    ConnectHandlers();
    FormCreate();
}

void TFormatForm::CreateMarginGroup() {
    QGroupBox* group = MakeRow(*this, "", 8, 48);
    MakeLabel(*group, "", "Left Margin", QRect(10, 16, 92, 20));
    EditLeft = MakeEdit(*group, "EditLeft", "0.1", QRect(104, 14, 64, 24), "Margin in inches");
    WordWrap = MakeCheckBox(*group, "WordWrap", "Word wrap", QRect(192, 16, 120, 20), true);
}

void TFormatForm::CreateHeaderGroup() {
    QGroupBox* group = MakeRow(*this, "Header", 64, 100);
    Header = MakeCheckBox(*group, "Header", "Show Header", QRect(10, 26, 120, 20), true);
    HeaderBold = MakeCheckBox(*group, "HeaderBold", "Bold", QRect(136, 26, 64, 20), true);
    HeaderLine = MakeCheckBox(*group, "HeaderLine", "Header Line", QRect(204, 26, 110, 20), true);
    FontHeaderComboBox = MakeComboBox<DropDownComboBox>(*group, "FontHeaderComboBox", {}, "Arial",
                                                        QRect(10, 60, 200, 26));
    FontHeaderSizeComboBox = MakeComboBox<QComboBox>(*group, "FontHeaderSizeComboBox",
                                                     FontSizeItems(), "10", QRect(214, 60, 98, 26));
}

void TFormatForm::CreateFooterGroup() {
    QGroupBox* group = MakeRow(*this, "Footer", 172, 176);
    Footer = MakeCheckBox(*group, "Footer", "Show Footer", QRect(10, 26, 120, 20), true);
    FooterLine = MakeCheckBox(*group, "FooterLine", "Footer Line", QRect(136, 26, 120, 20), true);
    CreateFooterColumns(*group);
    FontFooterComboBox = MakeComboBox<DropDownComboBox>(*group, "FontFooterComboBox", {}, "Arial",
                                                        QRect(10, 138, 200, 26));
    FontFooterSizeComboBox = MakeComboBox<QComboBox>(
        *group, "FontFooterSizeComboBox", FontSizeItems(), "10", QRect(214, 138, 98, 26));
}

// Three columns of 98 pixels: caption, what the cell shows, bold or not.
void TFormatForm::CreateFooterColumns(QWidget& group) {
    MakeLabel(group, "", "Left", QRect(10, 54, 98, 18));
    MakeLabel(group, "", "Center", QRect(112, 54, 98, 18));
    MakeLabel(group, "", "Right", QRect(214, 54, 98, 18));
    BottomLeftComboBox = MakeComboBox<QComboBox>(group, "BottomLeftComboBox", FooterChoices,
                                                 "DateTime", QRect(10, 74, 98, 26));
    BottomCenterComboBox = MakeComboBox<QComboBox>(group, "BottomCenterComboBox", FooterChoices,
                                                   "Filename", QRect(112, 74, 98, 26));
    BottomRightComboBox = MakeComboBox<QComboBox>(group, "BottomRightComboBox", FooterChoices,
                                                  "PageNum", QRect(214, 74, 98, 26));
    BottomLeftBold = MakeCheckBox(group, "BottomLeftBold", "Bold", QRect(10, 106, 98, 20), false);
    BottomCenterBold =
        MakeCheckBox(group, "BottomCenterBold", "Bold", QRect(112, 106, 98, 20), true);
    BottomRightBold =
        MakeCheckBox(group, "BottomRightBold", "Bold", QRect(214, 106, 98, 20), false);
}

void TFormatForm::ConnectHandlers() {
    for (DropDownComboBox* box : {FontHeaderComboBox, FontFooterComboBox})
        connect(box, &DropDownComboBox::DroppingDown, this,
                [this, box] { FontComboBoxClick(*box); });
    ExitWatcher->Watch(*EditLeft, [this] { return ValidateFloat(); });
    for (QComboBox* box : {FontHeaderSizeComboBox, FontFooterSizeComboBox})
        ExitWatcher->Watch(*box, [this, box] { return ValidateInteger(*box); });
    connect(OKBtn, &QPushButton::clicked, this, &QDialog::accept);
}

void TFormatForm::FormCreate() {
    for (QComboBox* box : {BottomLeftComboBox, BottomCenterComboBox, BottomRightComboBox,
                           FontHeaderSizeComboBox, FontFooterSizeComboBox})
        box->lineEdit()->deselect();
}

void TFormatForm::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    CenterOnScreen(*this);
    OKBtn->setFocus();
}

void TFormatForm::done(int result) {
    if (ExitWatcher->CheckFocusedField(*this))
        QDialog::done(result);
}

PageFormat TFormatForm::CurrentPageFormat() const {
    PageFormat format;
    format.LeftMargin = FromDisplay(EditLeft->text());
    format.WordWrap = WordWrap->isChecked();
    format.Header = Header->isChecked();
    format.HeaderBold = HeaderBold->isChecked();
    format.HeaderLine = HeaderLine->isChecked();
    format.HeaderFont = FromDisplay(FontHeaderComboBox->currentText());
    format.HeaderFontSize = FromDisplay(FontHeaderSizeComboBox->currentText());
    format.Footer = Footer->isChecked();
    format.FooterLine = FooterLine->isChecked();
    format.BottomLeft = FromDisplay(BottomLeftComboBox->currentText());
    format.BottomCenter = FromDisplay(BottomCenterComboBox->currentText());
    format.BottomRight = FromDisplay(BottomRightComboBox->currentText());
    format.BottomLeftBold = BottomLeftBold->isChecked();
    format.BottomCenterBold = BottomCenterBold->isChecked();
    format.BottomRightBold = BottomRightBold->isChecked();
    format.FooterFont = FromDisplay(FontFooterComboBox->currentText());
    format.FooterFontSize = FromDisplay(FontFooterSizeComboBox->currentText());
    return format;
}

// Refilled on every drop-down, so the list follows the printer's fonts now.
void TFormatForm::FontComboBoxClick(QComboBox& box) {
    RefillFontBox(box);
}

bool TFormatForm::ValidateFloat() {
    double value = 0;
    return TryStrToFloat(FromDisplay(EditLeft->text()), LocaleDecimalSeparator(), value);
}

bool TFormatForm::ValidateInteger(QComboBox& box) {
    return HoldsWholeNumber(box);
}

} // namespace pembrill
