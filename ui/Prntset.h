#pragma once

#include "output/BandReport.h"
#include "report/PrintJob.h"
#include "ui/widgets/DropDownComboBox.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include <string>

namespace pembrill {

class FieldExitWatcher;

// The Print Setup dialog: what the report holds (dependencies, source code,
// objects), the font and size of each kind of section, and the buttons that
// print or preview it. Its controls are the storage of these choices; the
// stored settings are loaded into them once, when the dialog is made, and
// saved from them by the Save button.
class TPrintSetupForm : public QDialog {
    Q_OBJECT

public:
    // The page format dialog must exist already: loading the settings fills
    // its controls too.
    explicit TPrintSetupForm(QWidget* parent = nullptr);

    // Closing by any means first checks the number field being left.
    void done(int result) override;

    void EnableObjectOptions();
    void DisableObjectOptions();

    // Writes the chosen sections and runs the report to the preview or the
    // printer; true when the report ran.
    bool AssemblePrintJob(bool Preview);
    // What the job is made of: the choices as the controls hold them, and
    // the other windows' project, lists, object tree and progress window.
    PrintJobChoices JobChoices() const;
    PrintJobInputs JobInputs() const;

    void LoadSettings();
    void SaveDefaults();

    void ComponentsCheckBoxClick();
    void AllSubComponentsCheckBoxClick();
    void DependencyFilterButtonClick();
    void DependencyFilterRadioButtonClick();
    void ObjectFilterRadioButtonClick(QObject* Sender);
    // The check of the number boxes when the focus leaves them: true when
    // the text converts.
    bool ValidateInteger(QWidget& Sender);
    void FontComboBoxDropDown(QComboBox& Sender);
    void SetupButtonClick();
    void Button2Click();
    void CancelButtonClick();
    void PreviewButtonClick();
    void PrintButtonClick();

    // Full path of the open project; the main window sets it before showing
    // the dialog.
    std::string ProjectFileName;
    // The orientation for the report engine, as the printer had it when the
    // printer setup dialog last closed.
    TPrinterOrientation ReportOrientation = TPrinterOrientation::poPortrait;
    // The checks of the number boxes.
    FieldExitWatcher& FieldChecks() const { return *ExitWatcher; }

    QGroupBox* GroupBox3;
    QRadioButton* DependencyNoneRadioButton;
    QRadioButton* DependencyFilterRadioButton;
    QPushButton* DependencyFilterButton;
    QLabel* Label1;
    QLineEdit* DependencyLevels;
    QLabel* Label2;
    DropDownComboBox* FontDependencyComboBox;
    QComboBox* FontSizeDependencyComboBox;

    QGroupBox* GroupBox2;
    QRadioButton* SourceNoneRadioButton;
    QRadioButton* SourceAllRadioButton;
    QRadioButton* SourceSelectedRadioButton;
    QCheckBox* PrintLineNumbersCheckBox;
    QLabel* Label4;
    DropDownComboBox* FontSourceComboBox;
    QComboBox* FontSizeSourceComboBox;

    QGroupBox* ObjectsGroupBox;
    QRadioButton* ObjectNoneRadioButton;
    QRadioButton* ObjectAllRadioButton;
    QRadioButton* ObjectFilterRadioButton;
    QPushButton* ObjectFilterButton;
    QCheckBox* ComponentsCheckBox;
    QCheckBox* AllSubComponentsCheckBox;
    QCheckBox* ObjectPropertiesCheckBox;
    QCheckBox* ObjectPicturesCheckBox;
    QLabel* FontLabel;
    DropDownComboBox* FontObjectComboBox;
    QComboBox* FontSizeObjectComboBox;

    QPushButton* PreviewButton;
    QPushButton* PrintButton;
    QPushButton* SetupButton;
    QPushButton* Button2;
    QPushButton* SaveButton;
    QPushButton* CancelButton;

protected:
    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void CreateDependencyGroup();
    void CreateSourceGroup();
    void CreateObjectsGroup();
    void CreateButtonColumn();
    void ConnectHandlers();
    void FormCreate();
    void SetObjectOptionsEnabled(bool enabled);

    FieldExitWatcher* ExitWatcher;
};

extern TPrintSetupForm* PrintSetupForm;

} // namespace pembrill
