// The print job as Print or Preview starts it: every chosen section written
// into a print file of its own while the progress window tells what is being
// prepared.

#include "report/PrintJob.h"

#include "platform/FileError.h"
#include "platform/MessageBox.h"
#include "platform/ProgressDisplay.h"
#include "report/DependencyReport.h"
#include "report/PrintFile.h"
#include "report/SourceListing.h"

#include <functional>

namespace pembrill {

PrintJob::~PrintJob() {
    for (const auto& path : Paths)
        PrintFile::Delete(path);
}

std::unique_ptr<PrintFile> PrintJob::CreatePrintFile() {
    auto file = PrintFile::Create();
    if (!file) {
        ShowMessage(MessageKind::Error, "Error opening temp file");
        return nullptr;
    }
    Paths.push_back(file->Path());
    return file;
}

namespace {

// Passes lines on, counting them.
class CountingLineSink : public LineSink {
public:
    explicit CountingLineSink(LineSink& sink) : Sink(sink) {}

    void WriteLine(const std::string& line) override {
        Sink.WriteLine(line);
        ++Lines;
    }

    int Lines = 0;

private:
    LineSink& Sink;
};

// Writes one section into a new print file of the job. A file that cannot
// be made skips the section: nothing is ever written into a file that is not
// open.
void AddSection(PrintJob& job, PrintSection section,
                const std::function<void(LineSink&, PrintSection&)>& write) {
    const auto file = job.CreatePrintFile();
    if (!file)
        return;
    write(*file, section);
    file->Close();
    section.PrintFile = file->Path();
    job.AddSection(std::move(section));
}

// The main unit is the unit of the main form; a warning tells why there is
// none to start the tree from.
bool FindMainUnit(const ProjectModel& model, const StringList& showList) {
    int index = -1;
    if (model.MainFormName.empty() || !FindInList(model.MainFormName, model.FormNames, index)) {
        ShowMessage(MessageKind::Warning, "Can not determine the main unit of the project.\r\r"
                                          "No dependencies can be printed.");
        return false;
    }
    const std::string& mainUnit = model.UnitNames[static_cast<size_t>(index)];
    if (FindInList(mainUnit, showList, index))
        return true;
    ShowMessage(MessageKind::Warning, "The main unit is not in the Dependency Filter Show List.\r"
                                      "No dependencies can be printed.\r\rMain unit is " +
                                          mainUnit);
    return false;
}

void ShowProgress(ProgressDisplay& progress, const std::string& upper, const std::string& lower) {
    progress.SetUpperLine(upper);
    progress.SetLowerLine(lower);
    progress.ShowAndRepaint();
}

// True when the progress window was shown.
bool WriteDependencySection(const PrintJobInputs& inputs, const PrintJobChoices& choices,
                            PrintJob& job) {
    if (!choices.Dependencies || !FindMainUnit(inputs.Project, inputs.ShowList))
        return false;
    ShowProgress(inputs.Progress, "Preparing Source Dependencies", "");
    AddSection(job,
               {"", "Source Dependencies for: " + inputs.ProjectFileName, "Source Dependencies",
                choices.DependencyFont, ""},
               [&](LineSink& file, PrintSection&) {
                   WriteDependencyReport({inputs.Project, inputs.ProjectFileName,
                                          choices.DependencyLevels, inputs.ShowList,
                                          inputs.Progress},
                                         file);
               });
    inputs.Progress.Close();
    return true;
}

// True when the progress window was shown.
bool WriteSourceSections(const PrintJobInputs& inputs, const PrintJobChoices& choices,
                         PrintJob& job) {
    if (choices.Sources == ReportChoice::None)
        return false;
    const StringList& sourceList = inputs.SourceList;
    bool progressShown = false;
    for (int i = 0; i < sourceList.Count(); ++i) {
        if (choices.Sources != ReportChoice::All && !sourceList.Selected(i))
            continue;
        std::string formName, fileName;
        SplitSourceEntry(sourceList.Item(i), formName, fileName);
        ShowProgress(inputs.Progress, "Preparing Source File", fileName);
        progressShown = true;
        const std::string path = ResolveUnitFile(inputs.ProjectFileName, fileName);
        AddSection(job,
                   {"", "Source Code for: " + inputs.ProjectFileName, fileName, choices.SourceFont,
                    fileName},
                   [&](LineSink& file, PrintSection&) {
                       WriteSourceListing(path, choices.LineNumbers, file);
                   });
    }
    return progressShown;
}

void WriteObjectsSection(const PrintJobInputs& inputs, const PrintJobChoices& choices,
                         PrintJob& job) {
    if (!choices.Objects)
        return;
    AddSection(job, {"", "Objects for: " + inputs.ProjectFileName, "", choices.ObjectFont, ""},
               [&](LineSink& file, PrintSection& section) {
                   CountingLineSink counted(file);
                   const auto addPicture = [&](int item) {
                       if (IsFormItem(inputs.Objects, item))
                           section.Pictures.push_back(
                               {counted.Lines, std::make_shared<const FormPicture>(
                                                   BuildFormPicture(inputs.Objects, item))});
                   };
                   WriteObjectsReport(inputs.Objects, inputs.SelectedTypes, choices.ObjectOptions,
                                      counted,
                                      choices.Pictures ? std::function<void(int)>(addPicture)
                                                       : std::function<void(int)>());
               });
}

// True when the progress window was shown.
bool WriteSections(const PrintJobInputs& inputs, const PrintJobChoices& choices, PrintJob& job) {
    bool progressShown = WriteDependencySection(inputs, choices, job);
    progressShown = WriteSourceSections(inputs, choices, job) || progressShown;
    WriteObjectsSection(inputs, choices, job);
    return progressShown;
}

} // namespace

bool BuildPrintJob(const PrintJobInputs& inputs, const PrintJobChoices& choices, PrintJob& job) {
    bool progressShown = false;
    try {
        progressShown = WriteSections(inputs, choices, job);
    } catch (const FileError& error) {
        inputs.Progress.Close();
        ShowMessage(MessageKind::Error, error.what());
        return false;
    }
    if (progressShown)
        inputs.Progress.Close();
    if (job.Sections().empty()) {
        ShowMessage(MessageKind::Information, "You have not selected anything to print");
        return false;
    }
    return true;
}

} // namespace pembrill
