#include "ui/Prntset.h"

#include "output/Printer.h"
#include "output/Prnt.h"
#include "platform/MessageBox.h"
#include "tests/support/PdfFileAnswer.h"
#include "tests/support/RegistryScope.h"
#include "tests/support/TempDir.h"
#include "ui/Depfilt.h"
#include "ui/Frmt.h"
#include "ui/Main.h"
#include "ui/Objfilt.h"
#include "ui/Startup.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QImage>
#include <QLineEdit>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>
#include <vector>

using namespace pembrill;
using pembrill::test::CrLf;
using pembrill::test::RegistryScope;

namespace {

// Counts the times a dialog comes up and, each time, does what the user
// would do in it and closes it.
class DialogAnswer : public QObject {
public:
    DialogAnswer(QDialog& dialog, std::function<void()> inside = {})
        : Dialog(dialog), Inside(std::move(inside)) {
        Dialog.installEventFilter(this);
    }
    ~DialogAnswer() override { Dialog.removeEventFilter(this); }

    int Shown = 0;

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Show) {
            ++Shown;
            QTimer::singleShot(0, &Dialog, [this] {
                if (Inside)
                    Inside();
                Dialog.done(QDialog::Accepted);
            });
        }
        return false;
    }

private:
    QDialog& Dialog;
    std::function<void()> Inside;
};

// The windows the dialog works with, made in start-up order around it, on a
// registry of their own.
class PrntsetTest : public testing::Test {
protected:
    PrntsetTest() { MakeForms(); }
    ~PrntsetTest() override { DeleteForms(); }

    void MakeForms() {
        CreateWindows(Splash::Hidden);
        Form = PrintSetupForm;
        // Start-up's own message (no form converter here) is not the dialog's.
        Messages.Messages.clear();
    }

    void DeleteForms() { DestroyWindows(); }

    void Remake() {
        DeleteForms();
        MakeForms();
    }

    void OpenProjectWithAllSources(const test::TempDir& dir) {
        MainForm->OpenProject(dir.Write("P.dpr", CrLf({"program P;", "begin", "end."})));
        Form->ProjectFileName = MainForm->Project.ProjectFileName;
        Form->SourceAllRadioButton->click();
        // The project has no main form, which opening tells; the dialog does not.
        Messages.Messages.clear();
    }

    void ShowActive() {
        Form->show();
        QApplication::setActiveWindow(Form);
        ASSERT_TRUE(QTest::qWaitFor([this] { return QApplication::activeWindow() == Form; }));
    }

    // Types text into a field and leaves it with Tab.
    void LeaveWith(QWidget& field, const QString& text) {
        field.setFocus();
        if (auto* box = qobject_cast<QComboBox*>(&field))
            box->setEditText(text);
        else
            qobject_cast<QLineEdit*>(&field)->setText(text);
        QTest::keyClick(&field, Qt::Key_Tab);
        QApplication::processEvents();
    }

    RegistryScope Registry;
    RecordingMessageSink Messages;
    ScopedMessageSink Sink{Messages};
    TPrintSetupForm* Form = nullptr;
};

// --- The dialog as it comes up -------------------------------------------------

TEST_F(PrntsetTest, ControlsStandWhereTheLayoutPutsThem) {
    EXPECT_EQ(Form->windowTitle(), "Print Setup");
    EXPECT_EQ(Form->size(), QSize(495, 335));
    EXPECT_EQ(Form->minimumSize(), Form->maximumSize());
    EXPECT_EQ(Form->font().family(), "Arial");
    EXPECT_TRUE(Form->font().bold());
    EXPECT_EQ(Form->font().pointSize(), 10);
    struct Place {
        const char* Name;
        const char* Parent;
        QString Text;
        QRect Geometry;
        const char* Hint = "";
    };
    const std::vector<Place> places = {
        {"GroupBox3", "PrintSetupForm", "Source Dependencies", {16, 12, 365, 81}},
        {"DependencyNoneRadioButton", "GroupBox3", "None", {12, 20, 80, 17}},
        {"DependencyFilterRadioButton", "GroupBox3", "", {12, 40, 16, 17}},
        {"DependencyFilterButton", "GroupBox3", "F&iltered", {28, 40, 65, 21}},
        {"DependencyLevels",
         "GroupBox3",
         "0",
         {150, 16, 45, 24},
         "Max levels to descend. 0 = no limit."},
        {"FontDependencyComboBox", "GroupBox3", "Courier New", {150, 45, 151, 24}},
        {"FontSizeDependencyComboBox", "GroupBox3", "10", {300, 45, 53, 24}},
        {"GroupBox2", "PrintSetupForm", "Source Code", {16, 100, 365, 93}},
        {"SourceNoneRadioButton", "GroupBox2", "None", {8, 20, 100, 17}},
        {"SourceAllRadioButton", "GroupBox2", "All", {8, 40, 100, 17}},
        {"SourceSelectedRadioButton", "GroupBox2", "Selected", {8, 60, 100, 17}},
        {"PrintLineNumbersCheckBox", "GroupBox2", "Line Numbers", {116, 20, 180, 17}},
        {"FontSourceComboBox", "GroupBox2", "Arial", {150, 56, 151, 24}},
        {"FontSizeSourceComboBox", "GroupBox2", "10", {300, 56, 53, 24}},
        {"ObjectsGroupBox", "PrintSetupForm", "Objects", {16, 200, 365, 125}},
        {"ObjectNoneRadioButton", "ObjectsGroupBox", "None", {8, 20, 100, 17}},
        {"ObjectAllRadioButton", "ObjectsGroupBox", "All", {8, 40, 100, 17}},
        {"ObjectFilterRadioButton", "ObjectsGroupBox", "", {8, 60, 16, 17}},
        {"ObjectFilterButton", "ObjectsGroupBox", "Filt&ered", {24, 60, 65, 21}},
        {"ComponentsCheckBox",
         "ObjectsGroupBox",
         "Components",
         {116, 20, 180, 17},
         "Print immediate child objects"},
        {"AllSubComponentsCheckBox",
         "ObjectsGroupBox",
         "All Sub-Components",
         {116, 40, 180, 17},
         "Print all child objects"},
        {"ObjectPropertiesCheckBox",
         "ObjectsGroupBox",
         "Object Properties",
         {116, 60, 180, 17},
         "Print object properties"},
        {"FontObjectComboBox", "ObjectsGroupBox", "Arial", {150, 89, 151, 24}},
        {"FontSizeObjectComboBox", "ObjectsGroupBox", "10", {300, 89, 53, 24}},
        {"PreviewButton", "PrintSetupForm", "P&review", {398, 48, 77, 29}},
        {"PrintButton", "PrintSetupForm", "&Print", {398, 92, 77, 29}},
        {"SetupButton", "PrintSetupForm", "&Setup", {398, 136, 77, 29}, "Printer setup"},
        {"Button2", "PrintSetupForm", "&Format", {398, 180, 77, 29}, "Page format"},
        {"SaveButton",
         "PrintSetupForm",
         "Sa&ve",
         {398, 224, 77, 29},
         "Save current setup as default"},
        {"CancelButton", "PrintSetupForm", "&Cancel", {398, 268, 77, 29}},
    };
    for (const Place& place : places) {
        SCOPED_TRACE(place.Name);
        const auto* control = Form->findChild<QWidget*>(place.Name);
        ASSERT_NE(control, nullptr);
        EXPECT_EQ(control->parentWidget()->objectName(), place.Parent);
        EXPECT_EQ(control->geometry(), place.Geometry);
        EXPECT_EQ(control->toolTip(), place.Hint);
        if (const auto* button = qobject_cast<const QAbstractButton*>(control))
            EXPECT_EQ(button->text(), place.Text);
        else if (const auto* group = qobject_cast<const QGroupBox*>(control))
            EXPECT_EQ(group->title(), place.Text);
        else if (const auto* box = qobject_cast<const QComboBox*>(control))
            EXPECT_EQ(box->currentText(), place.Text);
        else
            EXPECT_EQ(qobject_cast<const QLineEdit*>(control)->text(), place.Text);
    }
    const std::vector<std::tuple<const char*, const char*, QPoint>> labels = {
        {"Label1", "Levels", {103, 20}},
        {"Label2", "Font", {116, 49}},
        {"Label4", "Font", {116, 60}},
        {"FontLabel", "Font", {116, 93}},
    };
    for (const auto& [name, text, position] : labels) {
        const auto* label = Form->findChild<QLabel*>(name);
        ASSERT_NE(label, nullptr) << name;
        EXPECT_EQ(label->text(), text);
        EXPECT_EQ(label->pos(), position) << name;
    }
}

TEST_F(PrntsetTest, ComesUpCentredWithNothingChosen) {
    EXPECT_TRUE(Form->DependencyNoneRadioButton->isChecked());
    EXPECT_TRUE(Form->SourceNoneRadioButton->isChecked());
    EXPECT_TRUE(Form->ObjectNoneRadioButton->isChecked());
    EXPECT_TRUE(Form->PrintLineNumbersCheckBox->isChecked());
    EXPECT_TRUE(Form->ComponentsCheckBox->isChecked());
    EXPECT_FALSE(Form->AllSubComponentsCheckBox->isChecked());
    EXPECT_FALSE(Form->ObjectPropertiesCheckBox->isChecked());

    ShowActive();
    const QRect screen = Form->screen()->geometry();
    EXPECT_LE(std::abs(Form->frameGeometry().center().x() - screen.center().x()), 1);
    EXPECT_LE(std::abs(Form->frameGeometry().center().y() - screen.center().y()), 1);
}

// --- Stored settings -----------------------------------------------------------

TEST_F(PrntsetTest, StoredSettingsFillBothDialogsWhenTheDialogIsMade) {
    Registry.WriteSettings(CrLf({
        "\"WordWrap\"=dword:00000000",
        "\"LeftMargin\"=\"0.75\"",
        "\"Header\"=dword:00000001",
        "\"HeaderBold\"=dword:00000001",
        "\"HeaderLine\"=dword:00000001",
        "\"HeaderFont\"=\"Times New Roman\"",
        "\"HeaderFontSize\"=\"12\"",
        "\"Footer\"=dword:00000001",
        "\"FooterLeftBold\"=dword:00000001",
        "\"FooterCenterBold\"=dword:00000001",
        "\"FooterRightBold\"=dword:00000000",
        "\"FooterLine\"=dword:00000001",
        "\"FooterLeft\"=\"Date\"",
        "\"FooterCenter\"=\"Filename\"",
        "\"FooterRight\"=\"PageNum\"",
        "\"FooterFont\"=\"Arial\"",
        "\"FooterFontSize\"=\"10\"",
        "\"Dependency\"=\"filtered\"",
        "\"DependencyFont\"=\"Caf\xe9 Mono\"",
        "\"DependencyLevels\"=\"4\"",
        "\"SourceCode\"=\"SELECTED\"",
        "\"SourceCodeFontSize\"=\"12\"",
        "\"SourceCodeLineNumbers\"=dword:00000000",
        "\"Objects\"=\"all\"",
        "\"ObjectsFont\"=\"Courier New\"",
        "\"ObjectsShowComponents\"=dword:00000001",
        "\"ObjectsShowAllSubComponents\"=dword:00000001",
        "\"ObjectsShowProperties\"=dword:00000001",
    }));
    Remake();

    EXPECT_FALSE(FormatForm->WordWrap->isChecked());
    EXPECT_EQ(FormatForm->EditLeft->text(), "0.75");
    EXPECT_EQ(FormatForm->FontHeaderComboBox->currentText(), "Times New Roman");
    EXPECT_TRUE(FormatForm->BottomLeftBold->isChecked());
    EXPECT_EQ(FormatForm->BottomLeftComboBox->currentText(), "Date");
    EXPECT_TRUE(Form->DependencyNoneRadioButton->isChecked());
    EXPECT_EQ(Form->FontDependencyComboBox->currentText(), QString::fromUtf8("Café Mono"));
    EXPECT_EQ(Form->FontSizeDependencyComboBox->currentText(), "");
    EXPECT_EQ(Form->DependencyLevels->text(), "4");
    EXPECT_TRUE(Form->SourceSelectedRadioButton->isChecked());
    EXPECT_EQ(Form->FontSourceComboBox->currentText(), "");
    EXPECT_EQ(Form->FontSizeSourceComboBox->currentText(), "12");
    EXPECT_FALSE(Form->PrintLineNumbersCheckBox->isChecked());
    EXPECT_TRUE(Form->ObjectAllRadioButton->isChecked());
    EXPECT_EQ(Form->FontObjectComboBox->currentText(), "Courier New");
    EXPECT_EQ(Form->FontSizeObjectComboBox->currentText(), "");
    // The later of the two wins: checking it unchecks the other.
    EXPECT_FALSE(Form->ComponentsCheckBox->isChecked());
    EXPECT_TRUE(Form->AllSubComponentsCheckBox->isChecked());
    EXPECT_TRUE(Form->ObjectPropertiesCheckBox->isChecked());
    EXPECT_TRUE(Messages.Messages.empty());
}

TEST_F(PrntsetTest, SaveStoresBothDialogsCreatingAMissingKey) {
    ShowActive();
    Form->SaveButton->click();
    EXPECT_EQ(Messages.Transcript(), "");
    EXPECT_TRUE(std::filesystem::exists(Registry.UserHivePath()));

    FormatForm->EditLeft->setText("0.3");
    FormatForm->BottomRightComboBox->setEditText("Date");
    Form->SourceAllRadioButton->setChecked(true);
    Form->AllSubComponentsCheckBox->setChecked(true);
    Form->SaveButton->click();

    const std::string hive = Registry.UserHiveText();
    for (const char* line : {"\"LeftMargin\"=\"0.3\"\r\n\"WordWrap\"=dword:00000001\r\n",
                             "\"FooterRight\"=\"Date\"\r\n", "\"SourceCode\"=\"all\"\r\n",
                             "\"ObjectsShowComponents\"=dword:00000000\r\n"
                             "\"ObjectsShowAllSubComponents\"=dword:00000001\r\n"})
        EXPECT_NE(hive.find(line), std::string::npos) << line;
    EXPECT_TRUE(Messages.Messages.empty());
    EXPECT_TRUE(Form->isVisible());
}

// --- Option interlocks ---------------------------------------------------------

TEST_F(PrntsetTest, AtMostOneOfTheTwoComponentBoxesIsChecked) {
    Form->AllSubComponentsCheckBox->click();
    EXPECT_TRUE(Form->AllSubComponentsCheckBox->isChecked());
    EXPECT_FALSE(Form->ComponentsCheckBox->isChecked());
    Form->ComponentsCheckBox->click();
    EXPECT_TRUE(Form->ComponentsCheckBox->isChecked());
    EXPECT_FALSE(Form->AllSubComponentsCheckBox->isChecked());
    Form->ComponentsCheckBox->click();
    EXPECT_FALSE(Form->ComponentsCheckBox->isChecked());
    EXPECT_FALSE(Form->AllSubComponentsCheckBox->isChecked());
}

TEST_F(PrntsetTest, ObjectOptionsAreEnabledAndGreyedTogether) {
    const std::vector<QWidget*> controls = {
        Form->ObjectsGroupBox,          Form->ObjectNoneRadioButton,    Form->ObjectAllRadioButton,
        Form->ObjectFilterRadioButton,  Form->ObjectFilterButton,       Form->ComponentsCheckBox,
        Form->AllSubComponentsCheckBox, Form->ObjectPropertiesCheckBox, Form->FontObjectComboBox,
        Form->FontSizeObjectComboBox};
    Form->DisableObjectOptions();
    for (QWidget* control : controls)
        EXPECT_FALSE(control->isEnabled()) << control->objectName().toStdString();
    EXPECT_EQ(Form->ObjectsGroupBox->palette().color(QPalette::Disabled, QPalette::WindowText),
              QColor(128, 128, 128));
    EXPECT_TRUE(Form->GroupBox2->isEnabled());

    Form->EnableObjectOptions();
    for (QWidget* control : controls)
        EXPECT_TRUE(control->isEnabled()) << control->objectName().toStdString();
    EXPECT_EQ(Form->ObjectsGroupBox->palette().color(QPalette::Active, QPalette::WindowText),
              QColor(0, 0, 0));
}

TEST_F(PrntsetTest, TheDependencyFilterRadioStaysOnlyWhileTheShowListHoldsUnits) {
    StringList& show = DependencyFilterForm->ShowStrings();
    {
        // The radio with an empty list opens the filter; left empty, None.
        DialogAnswer filter(*DependencyFilterForm);
        Form->DependencyFilterRadioButton->click();
        EXPECT_EQ(filter.Shown, 1);
        EXPECT_TRUE(Form->DependencyNoneRadioButton->isChecked());
    }
    {
        DialogAnswer filter(*DependencyFilterForm, [&] { show.Add("Main"); });
        Form->DependencyFilterRadioButton->click();
        EXPECT_EQ(filter.Shown, 1);
        EXPECT_TRUE(Form->DependencyFilterRadioButton->isChecked());
    }
    {
        // With units to show the radio needs no dialog, the button always
        // opens it.
        DialogAnswer filter(*DependencyFilterForm);
        Form->DependencyNoneRadioButton->click();
        Form->DependencyFilterRadioButton->click();
        EXPECT_EQ(filter.Shown, 0);
        EXPECT_TRUE(Form->DependencyFilterRadioButton->isChecked());
        Form->DependencyFilterButton->click();
        EXPECT_EQ(filter.Shown, 1);
        EXPECT_TRUE(Form->DependencyFilterRadioButton->isChecked());
    }
    {
        DialogAnswer filter(*DependencyFilterForm, [&] { show.Clear(); });
        Form->DependencyFilterButton->click();
        EXPECT_EQ(filter.Shown, 1);
        EXPECT_TRUE(Form->DependencyNoneRadioButton->isChecked());
    }
}

TEST_F(PrntsetTest, TheObjectFilterRadioStaysOnlyWhileTypesAreSelected) {
    StringList& selected = ObjectFilterForm->SelectedStrings();
    {
        DialogAnswer filter(*ObjectFilterForm);
        Form->ObjectFilterButton->click();
        EXPECT_EQ(filter.Shown, 1);
        EXPECT_TRUE(Form->ObjectNoneRadioButton->isChecked());
    }
    {
        DialogAnswer filter(*ObjectFilterForm, [&] { selected.Add("TButton"); });
        Form->ObjectFilterRadioButton->click();
        EXPECT_EQ(filter.Shown, 1);
        EXPECT_TRUE(Form->ObjectFilterRadioButton->isChecked());
    }
    {
        DialogAnswer filter(*ObjectFilterForm);
        Form->ObjectAllRadioButton->click();
        Form->ObjectFilterRadioButton->click();
        EXPECT_EQ(filter.Shown, 0);
        EXPECT_TRUE(Form->ObjectFilterRadioButton->isChecked());
        Form->ObjectFilterButton->click();
        EXPECT_EQ(filter.Shown, 1);
    }
    {
        DialogAnswer filter(*ObjectFilterForm, [&] { selected.Clear(); });
        Form->ObjectFilterButton->click();
        EXPECT_TRUE(Form->ObjectNoneRadioButton->isChecked());
    }
}

// --- Input fields --------------------------------------------------------------

// Which texts are whole numbers is NumberText's to say; here each number
// field runs the check.
TEST_F(PrntsetTest, LeavingANumberFieldWithoutAWholeNumberKeepsTheFocusThere) {
    ShowActive();
    LeaveWith(*Form->DependencyLevels, "5x");
    EXPECT_EQ(Form->DependencyLevels->text(), "5x");
    for (QWidget* field : std::initializer_list<QWidget*>{
             Form->DependencyLevels, Form->FontSizeDependencyComboBox, Form->FontSizeSourceComboBox,
             Form->FontSizeObjectComboBox}) {
        SCOPED_TRACE(field->objectName().toStdString());
        Messages.Messages.clear();
        LeaveWith(*field, "12.5");
        EXPECT_EQ(Messages.Transcript(), "Error: Invalid value\n");
        EXPECT_EQ(QApplication::focusWidget(), field);
        LeaveWith(*field, "$1F");
        EXPECT_NE(QApplication::focusWidget(), field);
    }
}

TEST_F(PrntsetTest, AFontListDropsDownWithThePrinterFontsAndKeepsItsText) {
    ShowActive();
    Form->FontSourceComboBox->setEditText("My Own Font");
    for (int drop = 0; drop < 2; ++drop) {
        Form->FontSourceComboBox->showPopup();
        Form->FontSourceComboBox->hidePopup();
    }
    EXPECT_EQ(Form->FontSourceComboBox->currentText(), "My Own Font");
    QStringList items;
    for (int i = 0; i < Form->FontSourceComboBox->count(); ++i)
        items.append(Form->FontSourceComboBox->itemText(i));
    EXPECT_EQ(items, PrinterFontNames());
    EXPECT_FALSE(items.isEmpty());
    EXPECT_EQ(Form->FontObjectComboBox->count(), 0);
}

// --- Buttons -------------------------------------------------------------------

TEST_F(PrntsetTest, PrintAndPreviewCloseTheDialogOnlyWhenTheReportRan) {
    ShowActive();
    test::TempDir dir;
    test::PdfFileAnswer answer;
    answer.Answer = QString::fromStdString(dir / "P.pdf");
    Form->PreviewButton->click();
    Form->PrintButton->click();
    EXPECT_EQ(Messages.Transcript(), "Information: You have not selected anything to print\n"
                                     "Information: You have not selected anything to print\n");
    EXPECT_TRUE(Form->isVisible());

    OpenProjectWithAllSources(dir);
    Form->PrintButton->click();
    EXPECT_EQ(PrintForm->HeaderTexts,
              std::vector<std::string>{"Source Code for: " + dir.Path + "/P.dpr"});
    EXPECT_TRUE(std::filesystem::exists(dir / "P.pdf"));
    EXPECT_FALSE(Form->isVisible());
    EXPECT_EQ(Form->result(), QDialog::Accepted);
}

// Where Print writes a PDF file it asks which first, before anything of the
// job is prepared, proposing the file named last; Cancel there, or refusing
// to replace a file, ends the print without a word and leaves the dialog
// open.
TEST_F(PrntsetTest, PrintAsksForThePdfFileFirstProposingTheLastOne) {
    test::TempDir dir;
    OpenProjectWithAllSources(dir);
    const std::string other = dir.Write("Other.pdf", "earlier");
    test::PdfFileAnswer answer;
    ShowActive();
    Form->PrintButton->click();
    EXPECT_TRUE(PrintForm->HeaderTexts.empty()) << "nothing prepared before the question";
    EXPECT_TRUE(Form->isVisible());

    answer.Answer = QString::fromStdString(dir / "First.pdf");
    Form->PrintButton->click();
    EXPECT_TRUE(std::filesystem::exists(dir / "First.pdf"));
    ShowActive();
    answer.Answer = QString::fromStdString(other);
    answer.Replace = false;
    Form->PrintButton->click();
    EXPECT_EQ(answer.Proposed.size(), 3u);
    EXPECT_EQ(answer.Proposed.back(), QString::fromStdString(dir / "First.pdf"));
    EXPECT_EQ(answer.ReplaceQuestions, 1);
    EXPECT_EQ(test::FileBytes(other), "earlier");
    EXPECT_TRUE(Form->isVisible());
    EXPECT_EQ(Messages.Transcript(), "");
}

// The printer set-up names no file and asks nothing about one, even with
// its PDF printer chosen and a PDF file named before.
TEST_F(PrntsetTest, SetupChoosesThePrinterOnly) {
    test::TempDir dir;
    const std::string earlier = dir.Write("Earlier.pdf", "earlier");
    SetPdfOutput(ProgramPrinter(), QString::fromStdString(earlier));
    bool fileRowShown = true;
    QString confirmation;
    int questions = 0;
    QTimer watcher;
    QObject::connect(&watcher, &QTimer::timeout, [&] {
        QWidget* modal = QApplication::activeModalWidget();
        if (auto* box = qobject_cast<QMessageBox*>(modal)) {
            ++questions;
            box->button(QMessageBox::No)->click();
            return;
        }
        auto* setup = qobject_cast<QPrintDialog*>(modal);
        if (!setup)
            return;
        if (questions > 0) {
            setup->reject();
            return;
        }
        if (!confirmation.isEmpty())
            return;
        fileRowShown = setup->findChild<QLineEdit*>("filename")->isVisible();
        QPushButton* ok = setup->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok);
        confirmation = ok->text();
        // Queued: a question it asks runs an event loop, in which this
        // timer, still in its slot, would never fire again.
        QMetaObject::invokeMethod(ok, "click", Qt::QueuedConnection);
    });
    watcher.start(0);
    Form->SetupButton->click();
    watcher.stop();
    EXPECT_EQ(confirmation, "OK");
    EXPECT_FALSE(fileRowShown);
    EXPECT_EQ(questions, 0);
    EXPECT_EQ(test::FileBytes(earlier), "earlier");
}

// The dialog opens again with the focus where it was left, on Print after
// a print. The focus is drawn, and Enter, as Space, presses the button that
// has it; on any other control Enter presses Print, the default button.
TEST_F(PrntsetTest, TheFocusIsShownAndKeysPressTheFocusedOrTheDefaultButton) {
    test::TempDir dir;
    test::PdfFileAnswer answer;
    answer.Answer = QString::fromStdString(dir / "P.pdf");
    ShowActive();
    QTest::mouseClick(Form->PrintButton, Qt::LeftButton);
    Form->hide();
    ShowActive();
    ASSERT_EQ(QApplication::focusWidget(), Form->PrintButton);
    const QImage unfocused = Form->DependencyNoneRadioButton->grab().toImage();
    Form->DependencyNoneRadioButton->setFocus();
    EXPECT_NE(Form->DependencyNoneRadioButton->grab().toImage(), unfocused) << "the focus is drawn";

    Messages.Messages.clear();
    QTest::keyClick(Form->DependencyNoneRadioButton, Qt::Key_Space);
    EXPECT_EQ(answer.Proposed.size(), 1u);
    QTest::keyClick(Form->DependencyNoneRadioButton, Qt::Key_Return);
    EXPECT_EQ(answer.Proposed.size(), 2u) << "Enter presses the default button";
    Form->PrintButton->setFocus();
    for (const Qt::Key key : {Qt::Key_Return, Qt::Key_Enter, Qt::Key_Space})
        QTest::keyClick(Form->PrintButton, key);
    EXPECT_EQ(answer.Proposed.size(), 5u);
    EXPECT_EQ(Messages.Messages.size(), 4u);
}

TEST_F(PrntsetTest, CancelClosesAndFormatOpensThePageFormatDialog) {
    ShowActive();
    DialogAnswer format(*FormatForm);
    Form->Button2->click();
    EXPECT_EQ(format.Shown, 1);
    EXPECT_TRUE(Form->isVisible());
    Form->CancelButton->click();
    EXPECT_FALSE(Form->isVisible());
    EXPECT_EQ(Form->result(), QDialog::Rejected);
}

TEST_F(PrntsetTest, TheReportTakesThePrintersOrientationAfterSetupEvenWhenCancelled) {
    for (const auto& [orientation, expected] :
         {std::pair(QPageLayout::Landscape, TPrinterOrientation::poLandscape),
          std::pair(QPageLayout::Portrait, TPrinterOrientation::poPortrait)}) {
        ProgramPrinter().setPageOrientation(orientation);
        QTimer::singleShot(0, [] {
            if (QWidget* dialog = QApplication::activeModalWidget())
                qobject_cast<QDialog*>(dialog)->reject();
        });
        Form->SetupButton->click();
        EXPECT_EQ(Form->ReportOrientation, expected);
    }
}

} // namespace
