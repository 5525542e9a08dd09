#include "ui/Prntset.h"

#include "output/DisplayText.h"
#include "output/Printer.h"
#include "output/Prnt.h"
#include "report/Settings.h"
#include "ui/Depfilt.h"
#include "ui/DialogSettingsControls.h"
#include "ui/Frmt.h"
#include "ui/Main.h"
#include "ui/Objfilt.h"
#include "ui/Preview.h"
#include "ui/Progress.h"
#include "ui/ReportOutput.h"
#include "ui/widgets/CenterOnScreen.h"
#include "ui/widgets/DialogControls.h"
#include "ui/widgets/FieldExitWatcher.h"

#include <QDialogButtonBox>
#include <QKeyEvent>
#include <QPrintDialog>
#include <QPrinter>

namespace pembrill {

TPrintSetupForm* PrintSetupForm = nullptr;

namespace {

// Combo boxes and edit fields are 24 high, check boxes and radios 17, as
// the dialog's font makes them.
constexpr int FieldHeight = 24;
constexpr int ToggleHeight = 17;

// The check boxes of a group stand in one column.
QRect CheckBoxPlace(int y) {
    return QRect(116, y, 180, ToggleHeight);
}

// The last row of a group: the label "Font", the font box and the size box.
void MakeFontRow(QWidget& group, QLabel*& label, const char* labelName, DropDownComboBox*& font,
                 const char* fontName, const char* fontText, QComboBox*& size, const char* sizeName,
                 int y) {
    label = MakeLabel(group, labelName, "Font", QPoint(116, y + 4));
    font = MakeComboBox<DropDownComboBox>(group, fontName, {}, fontText,
                                          QRect(150, y, 151, FieldHeight));
    size = MakeComboBox<QComboBox>(group, sizeName, FontSizeItems(), "10",
                                   QRect(300, y, 53, FieldHeight));
}

// The printer set-up chooses a printer and nothing else: its confirming
// button says OK, not Print, and it names no file, for Print asks where a
// PDF goes. Qt's dialog brings back its own file row for its PDF printer
// each time it comes up, and would ask about and open that file when
// confirmed; a disabled row it leaves alone.
class PrinterChoiceDialog : public QPrintDialog {
public:
    PrinterChoiceDialog(QPrinter& printer, QWidget* parent) : QPrintDialog(&printer, parent) {
        for (QDialogButtonBox* buttons : findChildren<QDialogButtonBox*>()) {
            if (QPushButton* confirm = buttons->button(QDialogButtonBox::Ok))
                confirm->setText("OK");
        }
        setWindowTitle("Printer Setup");
    }

protected:
    void showEvent(QShowEvent* event) override {
        QPrintDialog::showEvent(event);
        for (const char* name : {"lOutput", "filename", "fileBrowser"}) {
            if (QWidget* part = findChild<QWidget*>(name)) {
                part->setEnabled(false);
                part->hide();
            }
        }
    }
};

SectionFont FontOf(const QComboBox& font, const QComboBox& size) {
    return {FromDisplay(font.currentText()), FromDisplay(size.currentText())};
}

} // namespace

TPrintSetupForm::TPrintSetupForm(QWidget* parent)
    : QDialog(parent), ExitWatcher(new FieldExitWatcher(this)) {
    setObjectName("PrintSetupForm");
    setWindowTitle("Print Setup");
    setFont(QFont("Arial", 10, QFont::Bold));
    CreateDependencyGroup();
    CreateSourceGroup();
    CreateObjectsGroup();
    CreateButtonColumn();
    ConnectHandlers();
    FormCreate();
}

void TPrintSetupForm::CreateDependencyGroup() {
    GroupBox3 = MakeGroup(*this, "GroupBox3", "Source Dependencies", QRect(16, 12, 365, 81));
    DependencyNoneRadioButton = MakeRadio(*GroupBox3, "DependencyNoneRadioButton", "None",
                                          QRect(12, 20, 80, ToggleHeight), true);
    // The button beside it is its caption.
    DependencyFilterRadioButton =
        MakeRadio(*GroupBox3, "DependencyFilterRadioButton", "", QRect(12, 40, 16, ToggleHeight));
    DependencyFilterButton =
        MakeButton(*GroupBox3, "DependencyFilterButton", "F&iltered", QRect(28, 40, 65, 21));
    Label1 = MakeLabel(*GroupBox3, "Label1", "Levels", QPoint(103, 20));
    DependencyLevels =
        MakeEdit(*GroupBox3, "DependencyLevels", "0", QRect(150, 16, 45, FieldHeight),
                 "Max levels to descend. 0 = no limit.");
    MakeFontRow(*GroupBox3, Label2, "Label2", FontDependencyComboBox, "FontDependencyComboBox",
                "Courier New", FontSizeDependencyComboBox, "FontSizeDependencyComboBox", 45);
}

void TPrintSetupForm::CreateSourceGroup() {
    GroupBox2 = MakeGroup(*this, "GroupBox2", "Source Code", QRect(16, 100, 365, 93));
    SourceNoneRadioButton = MakeRadio(*GroupBox2, "SourceNoneRadioButton", "None",
                                      QRect(8, 20, 100, ToggleHeight), true);
    SourceAllRadioButton =
        MakeRadio(*GroupBox2, "SourceAllRadioButton", "All", QRect(8, 40, 100, ToggleHeight));
    SourceSelectedRadioButton = MakeRadio(*GroupBox2, "SourceSelectedRadioButton", "Selected",
                                          QRect(8, 60, 100, ToggleHeight));
    PrintLineNumbersCheckBox = MakeCheckBox(*GroupBox2, "PrintLineNumbersCheckBox", "Line Numbers",
                                            CheckBoxPlace(20), true);
    MakeFontRow(*GroupBox2, Label4, "Label4", FontSourceComboBox, "FontSourceComboBox", "Arial",
                FontSizeSourceComboBox, "FontSizeSourceComboBox", 56);
}

void TPrintSetupForm::CreateObjectsGroup() {
    ObjectsGroupBox = MakeGroup(*this, "ObjectsGroupBox", "Objects", QRect(16, 200, 365, 125));
    ObjectNoneRadioButton = MakeRadio(*ObjectsGroupBox, "ObjectNoneRadioButton", "None",
                                      QRect(8, 20, 100, ToggleHeight), true);
    ObjectAllRadioButton =
        MakeRadio(*ObjectsGroupBox, "ObjectAllRadioButton", "All", QRect(8, 40, 100, ToggleHeight));
    ObjectFilterRadioButton =
        MakeRadio(*ObjectsGroupBox, "ObjectFilterRadioButton", "", QRect(8, 60, 16, ToggleHeight));
    ObjectFilterButton =
        MakeButton(*ObjectsGroupBox, "ObjectFilterButton", "Filt&ered", QRect(24, 60, 65, 21));
    ComponentsCheckBox = MakeCheckBox(*ObjectsGroupBox, "ComponentsCheckBox", "Components",
                                      CheckBoxPlace(20), true, "Print immediate child objects");
    AllSubComponentsCheckBox =
        MakeCheckBox(*ObjectsGroupBox, "AllSubComponentsCheckBox", "All Sub-Components",
                     CheckBoxPlace(40), false, "Print all child objects");
    ObjectPropertiesCheckBox =
        MakeCheckBox(*ObjectsGroupBox, "ObjectPropertiesCheckBox", "Object Properties",
                     CheckBoxPlace(60), false, "Print object properties");
    // Left of the font row, where it moves none of the group's controls.
    ObjectPicturesCheckBox =
        MakeCheckBox(*ObjectsGroupBox, "ObjectPicturesCheckBox", "Form Pictures",
                     QRect(8, 93, 105, ToggleHeight), false, "Print each form as a picture");
    MakeFontRow(*ObjectsGroupBox, FontLabel, "FontLabel", FontObjectComboBox, "FontObjectComboBox",
                "Arial", FontSizeObjectComboBox, "FontSizeObjectComboBox", 89);
}

void TPrintSetupForm::CreateButtonColumn() {
    PreviewButton = MakeButton(*this, "PreviewButton", "P&review", QRect(398, 48, 77, 29));
    PrintButton = MakeButton(*this, "PrintButton", "&Print", QRect(398, 92, 77, 29));
    SetupButton =
        MakeButton(*this, "SetupButton", "&Setup", QRect(398, 136, 77, 29), "Printer setup");
    Button2 = MakeButton(*this, "Button2", "&Format", QRect(398, 180, 77, 29), "Page format");
    SaveButton = MakeButton(*this, "SaveButton", "Sa&ve", QRect(398, 224, 77, 29),
                            "Save current setup as default");
    CancelButton = MakeButton(*this, "CancelButton", "&Cancel", QRect(398, 268, 77, 29));
    PrintButton->setDefault(true);
}

// Check boxes and radios answer to toggled, not clicked: setting one from
// code runs its handler as a click would, which the stored settings rely on
// (loading a checked ComponentsCheckBox unchecks AllSubComponentsCheckBox).
void TPrintSetupForm::ConnectHandlers() {
    connect(ComponentsCheckBox, &QCheckBox::toggled, this,
            &TPrintSetupForm::ComponentsCheckBoxClick);
    connect(AllSubComponentsCheckBox, &QCheckBox::toggled, this,
            &TPrintSetupForm::AllSubComponentsCheckBoxClick);
    connect(DependencyFilterButton, &QPushButton::clicked, this,
            &TPrintSetupForm::DependencyFilterButtonClick);
    connect(DependencyFilterRadioButton, &QRadioButton::toggled, this, [this](bool checked) {
        if (checked)
            DependencyFilterRadioButtonClick();
    });
    connect(ObjectFilterButton, &QPushButton::clicked, this,
            [this] { ObjectFilterRadioButtonClick(ObjectFilterButton); });
    connect(ObjectFilterRadioButton, &QRadioButton::toggled, this, [this](bool checked) {
        if (checked)
            ObjectFilterRadioButtonClick(ObjectFilterRadioButton);
    });
    for (DropDownComboBox* box : {FontDependencyComboBox, FontSourceComboBox, FontObjectComboBox})
        connect(box, &DropDownComboBox::DroppingDown, this,
                [this, box] { FontComboBoxDropDown(*box); });
    for (QWidget* field :
         std::initializer_list<QWidget*>{DependencyLevels, FontSizeDependencyComboBox,
                                         FontSizeSourceComboBox, FontSizeObjectComboBox})
        ExitWatcher->Watch(*field, [this, field] { return ValidateInteger(*field); });
    connect(PreviewButton, &QPushButton::clicked, this, &TPrintSetupForm::PreviewButtonClick);
    connect(PrintButton, &QPushButton::clicked, this, &TPrintSetupForm::PrintButtonClick);
    connect(SetupButton, &QPushButton::clicked, this, &TPrintSetupForm::SetupButtonClick);
    connect(Button2, &QPushButton::clicked, this, &TPrintSetupForm::Button2Click);
    connect(SaveButton, &QPushButton::clicked, this, &TPrintSetupForm::SaveDefaults);
    connect(CancelButton, &QPushButton::clicked, this, &TPrintSetupForm::CancelButtonClick);
}

void TPrintSetupForm::FormCreate() {
    const QRect preview = PreviewButton->geometry();
    const QRect objects = ObjectsGroupBox->geometry();
    setFixedSize(preview.x() + preview.width() + 20, objects.y() + objects.height() + 10);
    LoadSettings();
}

// The focus is drawn from the start, not only once Tab has moved it: the
// dialog opens again with the focus where it was left, often on Print.
void TPrintSetupForm::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    CenterOnScreen(*this);
    setAttribute(Qt::WA_KeyboardFocusChange);
}

// Enter, as Space, presses the button that has the focus; elsewhere it
// presses Print, the default button.
void TPrintSetupForm::keyPressEvent(QKeyEvent* event) {
    auto* focused = qobject_cast<QPushButton*>(focusWidget());
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    if (!enter || !focused) {
        QDialog::keyPressEvent(event);
        return;
    }
    focused->click();
}

void TPrintSetupForm::done(int result) {
    if (ExitWatcher->CheckFocusedField(*this))
        QDialog::done(result);
}

void TPrintSetupForm::EnableObjectOptions() {
    SetObjectOptionsEnabled(true);
}

void TPrintSetupForm::DisableObjectOptions() {
    SetObjectOptionsEnabled(false);
}

// The group's text colour reaches its controls too, as a parent font does.
void TPrintSetupForm::SetObjectOptionsEnabled(bool enabled) {
    const QColor colour = enabled ? QColor(0, 0, 0) : QColor(128, 128, 128);
    QPalette palette = ObjectsGroupBox->palette();
    for (const auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
        palette.setColor(group, QPalette::WindowText, colour);
        palette.setColor(group, QPalette::Text, colour);
    }
    ObjectsGroupBox->setPalette(palette);
    for (QWidget* control : std::initializer_list<QWidget*>{
             ObjectsGroupBox, ObjectNoneRadioButton, ObjectAllRadioButton, ObjectFilterRadioButton,
             ObjectFilterButton, ComponentsCheckBox, AllSubComponentsCheckBox,
             ObjectPropertiesCheckBox, ObjectPicturesCheckBox, FontObjectComboBox,
             FontSizeObjectComboBox})
        control->setEnabled(enabled);
}

void TPrintSetupForm::LoadSettings() {
    DialogSettingsControls controls(*this, *FormatForm);
    pembrill::LoadSettings(controls);
}

void TPrintSetupForm::SaveDefaults() {
    const DialogSettingsControls controls(*this, *FormatForm);
    pembrill::SaveDefaults(controls);
}

void TPrintSetupForm::ComponentsCheckBoxClick() {
    if (ComponentsCheckBox->isChecked())
        AllSubComponentsCheckBox->setChecked(false);
}

void TPrintSetupForm::AllSubComponentsCheckBoxClick() {
    if (AllSubComponentsCheckBox->isChecked())
        ComponentsCheckBox->setChecked(false);
}

void TPrintSetupForm::DependencyFilterButtonClick() {
    DependencyFilterForm->exec();
    if (DependencyFilterForm->ShowStrings().Count() > 0)
        DependencyFilterRadioButton->setChecked(true);
    else
        DependencyNoneRadioButton->setChecked(true);
}

void TPrintSetupForm::DependencyFilterRadioButtonClick() {
    if (DependencyFilterForm->ShowStrings().Count() == 0)
        DependencyFilterForm->exec();
    if (DependencyFilterForm->ShowStrings().Count() > 0)
        DependencyFilterRadioButton->setChecked(true);
    else
        DependencyNoneRadioButton->setChecked(true);
}

void TPrintSetupForm::ObjectFilterRadioButtonClick(QObject* Sender) {
    if (Sender == ObjectFilterButton || ObjectFilterForm->SelectedStrings().Count() == 0)
        ObjectFilterForm->exec();
    if (ObjectFilterForm->SelectedStrings().Count() > 0)
        ObjectFilterRadioButton->setChecked(true);
    else
        ObjectNoneRadioButton->setChecked(true);
}

// The value is not used: a number of levels below zero passes.
bool TPrintSetupForm::ValidateInteger(QWidget& Sender) {
    return HoldsWholeNumber(Sender);
}

// Refilled on every drop-down, so the list follows the printer's fonts now.
void TPrintSetupForm::FontComboBoxDropDown(QComboBox& Sender) {
    RefillFontBox(Sender);
}

// Confirmed or cancelled, the report takes the printer's orientation as it
// now stands.
void TPrintSetupForm::SetupButtonClick() {
    PrinterChoiceDialog dialog(ProgramPrinter(), this);
    dialog.exec();
    SetPrintableArea(ProgramPrinter());
    ReportOrientation = ProgramPrinter().pageLayout().orientation() == QPageLayout::Landscape
                            ? TPrinterOrientation::poLandscape
                            : TPrinterOrientation::poPortrait;
}

void TPrintSetupForm::Button2Click() {
    FormatForm->exec();
}

void TPrintSetupForm::CancelButtonClick() {
    reject();
}

PrintJobChoices TPrintSetupForm::JobChoices() const {
    PrintJobChoices choices;
    choices.Dependencies = DependencyFilterRadioButton->isChecked();
    choices.DependencyLevels = FromDisplay(DependencyLevels->text());
    choices.DependencyFont = FontOf(*FontDependencyComboBox, *FontSizeDependencyComboBox);
    if (!SourceNoneRadioButton->isChecked())
        choices.Sources =
            SourceAllRadioButton->isChecked() ? ReportChoice::All : ReportChoice::Selected;
    choices.LineNumbers = PrintLineNumbersCheckBox->isChecked();
    choices.SourceFont = FontOf(*FontSourceComboBox, *FontSizeSourceComboBox);
    choices.Objects = ObjectsGroupBox->isEnabled() && !ObjectNoneRadioButton->isChecked();
    choices.ObjectOptions = {ObjectFilterRadioButton->isChecked(), ComponentsCheckBox->isChecked(),
                             AllSubComponentsCheckBox->isChecked(),
                             ObjectPropertiesCheckBox->isChecked()};
    choices.Pictures = ObjectPicturesCheckBox->isChecked();
    choices.ObjectFont = FontOf(*FontObjectComboBox, *FontSizeObjectComboBox);
    return choices;
}

PrintJobInputs TPrintSetupForm::JobInputs() const {
    return {MainForm->Project,
            ProjectFileName,
            MainForm->SourceList,
            MainForm->Objects,
            DependencyFilterForm->ShowStrings(),
            ObjectFilterForm->SelectedStrings(),
            *ProgressForm};
}

// The print files are deleted when the run has returned, with the job.
bool TPrintSetupForm::AssemblePrintJob(bool Preview) {
    PrintForm->BandReport.ShowProgress = true;
    PrintJob job;
    if (!BuildPrintJob(JobInputs(), JobChoices(), job))
        return false;
    PrintForm->SetSections(job.Sections());
    PrintForm->BandReport.Orientation = ReportOrientation;
    const PageFormat format = FormatForm->CurrentPageFormat();
    if (Preview)
        PreviewReport(*PrintForm, ProgramPrinter(), format, *ProgressForm, this);
    else
        PrintReport(*PrintForm, ProgramPrinter(), format, *ProgressForm, this);
    return true;
}

void TPrintSetupForm::PreviewButtonClick() {
    if (AssemblePrintJob(true))
        accept();
}

// The file question comes first, so that nothing is prepared for a print
// the user cancels there.
void TPrintSetupForm::PrintButtonClick() {
    if (AskPdfFile(ProgramPrinter(), this) && AssemblePrintJob(false))
        accept();
}

} // namespace pembrill
