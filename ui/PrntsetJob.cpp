// TPrintSetupForm's job builder, the half of the print setup dialog that
// works when Preview or Print is pressed: every chosen section written into
// a print file of its own, the composer told about each, the report run, and
// the print files deleted whatever happened.

#include "ui/Prntset.h"

#include "output/DisplayText.h"
#include "output/Printer.h"
#include "output/Prnt.h"
#include "platform/FileError.h"
#include "platform/Files.h"
#include "platform/MessageBox.h"
#include "report/DependencyReport.h"
#include "report/ObjectsReport.h"
#include "report/PrintFile.h"
#include "report/SourceListing.h"
#include "source/Parser.h"
#include "ui/Depfilt.h"
#include "ui/Frmt.h"
#include "ui/Main.h"
#include "ui/Objfilt.h"
#include "ui/Progress.h"
#include "ui/ReportOutput.h"

#include <cstdio>
#include <functional>

namespace pembrill {

// The print files of one job; they never outlive it, also when the job ends
// with a failed write.
class JobFiles {
public:
    JobFiles() = default;
    JobFiles(const JobFiles&) = delete;
    JobFiles& operator=(const JobFiles&) = delete;
    ~JobFiles() {
        for (const auto& path : Paths)
            PrintFile::Delete(path);
    }

    // CreatePrintFile: null after "Error opening temp file".
    std::unique_ptr<PrintFile> Create() {
        auto file = PrintFile::Create();
        if (!file) {
            ShowMessage(MessageKind::Error, "Error opening temp file");
            return nullptr;
        }
        Paths.push_back(file->Path());
        return file;
    }

private:
    std::vector<std::string> Paths;
};

namespace {

struct Section {
    std::string HeaderText;
    std::string FooterFileName;
    std::string FontName;
    std::string FontSize;
};

// Writes one section into a new print file and appends it to the composer's
// lists. A file that cannot be made skips the section: nothing is ever
// written into a file that is not open.
void AddSection(JobFiles& files, const Section& section,
                const std::function<void(LineSink&)>& write) {
    const auto file = files.Create();
    if (!file)
        return;
    write(*file);
    file->Close();
    PrintForm->PrintFiles.push_back(file->Path());
    PrintForm->HeaderTexts.push_back(section.HeaderText);
    PrintForm->FooterFileNames.push_back(section.FooterFileName);
    PrintForm->FontNames.push_back(section.FontName);
    PrintForm->FontSizes.push_back(section.FontSize);
}

void ClearSections() {
    PrintForm->PrintFiles.clear();
    PrintForm->HeaderTexts.clear();
    PrintForm->FooterFileNames.clear();
    PrintForm->FontNames.clear();
    PrintForm->FontSizes.clear();
}

std::string TextOf(const QLineEdit& edit) {
    return FromDisplay(edit.text());
}

std::string TextOf(const QComboBox& box) {
    return FromDisplay(box.currentText());
}

// The main unit is the unit of the main form; a warning tells why there is
// none to start the tree from.
bool FindMainUnit(const ProjectModel& model, std::string& mainUnit) {
    int index = -1;
    if (model.MainFormName.empty() || !FindInList(model.MainFormName, model.FormNames, index)) {
        ShowMessage(MessageKind::Warning, "Can not determine the main unit of the project.\r\r"
                                          "No dependencies can be printed.");
        return false;
    }
    mainUnit = model.UnitNames[static_cast<size_t>(index)];
    if (FindInList(mainUnit, DependencyFilterForm->ShowStrings(), index))
        return true;
    ShowMessage(MessageKind::Warning, "The main unit is not in the Dependency Filter Show List.\r"
                                      "No dependencies can be printed.\r\rMain unit is " +
                                          mainUnit);
    return false;
}

void ShowProgress(const std::string& upper, const std::string& lower) {
    ProgressForm->SetUpperLine(upper);
    ProgressForm->SetLowerLine(lower);
    ProgressForm->ShowAndRepaint();
}

} // namespace

bool TPrintSetupForm::AssemblePrintJob(bool Preview) {
    PrintForm->BandReport.ShowProgress = true;
    ClearSections();
    JobFiles files;
    bool progressShown = false;
    try {
        progressShown = WriteSections(files);
    } catch (const FileError& error) {
        // A write that failed part way (a full disk): nothing is printed.
        ProgressForm->Close();
        ShowMessage(MessageKind::Error, error.what());
        return false;
    }
    if (progressShown)
        ProgressForm->Close();
    if (PrintForm->PrintFiles.empty()) {
        ShowMessage(MessageKind::Information, "You have not selected anything to print");
        return false;
    }
    PrintForm->BandReport.Orientation = ReportOrientation;
    const PageFormat format = FormatForm->CurrentPageFormat();
    if (SectionsSink)
        SectionsSink(*PrintForm);
    else if (Preview)
        PreviewReport(*PrintForm, ProgramPrinter(), format, *ProgressForm, this);
    else
        PrintReport(*PrintForm, ProgramPrinter(), format, *ProgressForm, this);
    return true;
}

bool TPrintSetupForm::WriteSections(JobFiles& files) {
    bool progressShown = false;
    std::string mainUnit;
    if (DependencyFilterRadioButton->isChecked() && FindMainUnit(MainForm->Project, mainUnit)) {
        ShowProgress("Preparing Source Dependencies", "");
        progressShown = true;
        AddSection(files,
                   {"Source Dependencies for: " + ProjectFileName, "Source Dependencies",
                    TextOf(*FontDependencyComboBox), TextOf(*FontSizeDependencyComboBox)},
                   [&](LineSink& file) { WriteDependencyReport(file); });
        ProgressForm->Close();
    }
    if (!SourceNoneRadioButton->isChecked())
        progressShown = WriteSourceSections(files) || progressShown;
    if (ObjectsGroupBox->isEnabled() && !ObjectNoneRadioButton->isChecked())
        AddSection(files,
                   {"Objects for: " + ProjectFileName, "", TextOf(*FontObjectComboBox),
                    TextOf(*FontSizeObjectComboBox)},
                   [&](LineSink& file) { WriteObjectsReport(file); });
    return progressShown;
}

bool TPrintSetupForm::WriteSourceSections(JobFiles& files) {
    const StringList& sourceList = MainForm->SourceList;
    bool progressShown = false;
    for (int i = 0; i < sourceList.Count(); ++i) {
        if (!SourceAllRadioButton->isChecked() && !sourceList.Selected(i))
            continue;
        std::string formName, fileName;
        SplitSourceEntry(sourceList.Item(i), formName, fileName);
        ShowProgress("Preparing Source File", fileName);
        progressShown = true;
        const std::string path = ResolveUnitFile(ProjectFileName, fileName);
        AddSection(files,
                   {"Source Code for: " + ProjectFileName, fileName, TextOf(*FontSourceComboBox),
                    TextOf(*FontSizeSourceComboBox)},
                   [&](LineSink& file) {
                       WriteSourceListing(path, PrintLineNumbersCheckBox->isChecked(), file);
                   });
    }
    return progressShown;
}

void TPrintSetupForm::WriteDependencyReport(LineSink& file) {
    const std::string levels = TextOf(*DependencyLevels);
    pembrill::WriteDependencyReport({MainForm->Project, ProjectFileName, levels,
                                     DependencyFilterForm->ShowStrings(), *ProgressForm},
                                    file);
}

void TPrintSetupForm::WriteObjectsReport(LineSink& file) {
    ObjectsReportOptions options;
    options.Filtered = ObjectFilterRadioButton->isChecked();
    options.Components = ComponentsCheckBox->isChecked();
    options.AllSubComponents = AllSubComponentsCheckBox->isChecked();
    options.Properties = ObjectPropertiesCheckBox->isChecked();
    pembrill::WriteObjectsReport(MainForm->Objects, ObjectFilterForm->SelectedStrings(), options,
                                 file);
}

} // namespace pembrill
