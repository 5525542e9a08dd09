#pragma once

#include "output/BandReport.h"
#include "ui/widgets/DropDownComboBox.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include <functional>
#include <string>

namespace pembrill {

class FieldExitWatcher;
class JobFiles;
class LineSink;
class TPrintForm;

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
    // Where a job's sections go instead of the preview or the printer, while
    // their print files still exist: pembrill-cli's --text writes them out.
    std::function<void(const TPrintForm&)> SectionsSink;
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

private:
    void CreateDependencyGroup();
    void CreateSourceGroup();
    void CreateObjectsGroup();
    void CreateButtonColumn();
    void ConnectHandlers();
    void FormCreate();
    void SetObjectOptionsEnabled(bool enabled);
    // The job's sections into their print files; true when the progress
    // window was shown.
    bool WriteSections(JobFiles& files);
    bool WriteSourceSections(JobFiles& files);
    void WriteDependencyReport(LineSink& file);
    void WriteObjectsReport(LineSink& file);

    FieldExitWatcher* ExitWatcher;
};

extern TPrintSetupForm* PrintSetupForm;

} // namespace pembrill
