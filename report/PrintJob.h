#pragma once

#include "forms/FormPicture.h"
#include "forms/ObjectTree.h"
#include "report/ObjectsReport.h"
#include "report/Settings.h"
#include "source/Project.h"
#include "source/StringList.h"

#include <memory>
#include <string>
#include <vector>

namespace pembrill {

class PrintFile;
class ProgressDisplay;

// A section's font as the user left it in the print setup dialog's boxes.
struct SectionFont {
    std::string Name;
    std::string Size;
};

// The print setup dialog's choices when Print or Preview is pressed.
struct PrintJobChoices {
    bool Dependencies = false;
    std::string DependencyLevels;
    SectionFont DependencyFont;
    // None, All or Selected.
    ReportChoice Sources = ReportChoice::None;
    bool LineNumbers = true;
    SectionFont SourceFont;
    // False when the Objects group is disabled or None is checked.
    bool Objects = false;
    ObjectsReportOptions ObjectOptions;
    // Form Pictures: each form's objects begin with its picture.
    bool Pictures = false;
    SectionFont ObjectFont;
};

// What the sections are written from besides the choices: the main window's
// project model, source list and object tree, the filter dialogs' lists and
// the progress window that tells what is being prepared.
struct PrintJobInputs {
    const ProjectModel& Project;
    // The print setup dialog's copy of the project file's full path.
    const std::string& ProjectFileName;
    const StringList& SourceList;
    const ObjectTree& Objects;
    const StringList& ShowList;
    const StringList& SelectedTypes;
    ProgressDisplay& Progress;
};

// A form's picture, on a page of its own before the line of the section's
// print file that begins the form's objects (0 for the first line).
struct SectionPicture {
    int Line = 0;
    std::shared_ptr<const FormPicture> Picture;
};

// One section: what the composer's lists hold at its index.
struct PrintSection {
    std::string PrintFile;
    std::string HeaderText;
    std::string FooterFileName;
    SectionFont Font;
    // Its entry in a PDF file's outline where the header text does not tell
    // it from its neighbours: a source listing's file name.
    std::string OutlineTitle;
    // In the order of their lines.
    std::vector<SectionPicture> Pictures = {};
};

// The sections of one job. Their print files never outlive it, also when
// the job ends with a failed write.
class PrintJob {
public:
    PrintJob() = default;
    PrintJob(const PrintJob&) = delete;
    PrintJob& operator=(const PrintJob&) = delete;
    ~PrintJob();

    const std::vector<PrintSection>& Sections() const { return FSections; }

    // Null after "Error opening temp file".
    std::unique_ptr<PrintFile> CreatePrintFile();
    void AddSection(PrintSection section) { FSections.push_back(std::move(section)); }

private:
    std::vector<std::string> Paths;
    std::vector<PrintSection> FSections;
};

// The job builder: writes every chosen section into a print file of its
// own, in report order. False, after its message, when a write failed part
// way (nothing is to be printed then) or when nothing is left to print.
bool BuildPrintJob(const PrintJobInputs& inputs, const PrintJobChoices& choices, PrintJob& job);

} // namespace pembrill
