#include "app/Cli.h"

#include "forms/FormPicture.h"
#include "output/DisplayText.h"
#include "output/PictureFiles.h"
#include "output/Printer.h"
#include "platform/ByteText.h"
#include "platform/Files.h"
#include "platform/MessageBox.h"
#include "report/PrintJob.h"
#include "source/Parser.h"
#include "ui/Depfilt.h"
#include "ui/DialogSettingsControls.h"
#include "ui/Frmt.h"
#include "ui/Main.h"
#include "ui/Objfilt.h"
#include "ui/Prntset.h"
#include "ui/Startup.h"

#include <QDir>
#include <QPrinter>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>

namespace pembrill {

namespace {

constexpr int UsageError = 2;

// A failed step of the command line: its reason goes to stderr and the
// program ends with the usage error status.
struct UsageFailure {
    std::string Reason;
};

void Write(const std::string& bytes) {
    std::fwrite(bytes.data(), 1, bytes.size(), stdout);
}

void WriteList(const char* heading, const StringList& list) {
    Write(std::string(heading) + "\n");
    for (int i = 0; i < list.Count(); ++i)
        Write(list.Item(i) + "\n");
}

void PrintModel() {
    const ProjectModel& model = MainForm->Project;
    Write("ProjectFileName: " + model.ProjectFileName + "\n");
    Write("MainFormName: " + model.MainFormName + "\n");
    Write("[Source]\n");
    const StringList& source = MainForm->SourceList;
    for (int i = 0; i < source.Count(); ++i)
        Write((source.Selected(i) ? "* " : "  ") + source.Item(i) + "\n");
    WriteList("[Unused]", MainForm->UnusedSourceList);
    Write("[Units]\n");
    for (size_t i = 0; i < model.UnitNames.size(); ++i)
        Write(model.UnitNames[i] + "\t" + model.FormNames[i] + "\t" + model.UnitFiles[i] + "\n");
    WriteList("[Show]", DependencyFilterForm->ShowStrings());
    WriteList("[Suppress]", DependencyFilterForm->SuppressStrings());
    WriteList("[Available]", ObjectFilterForm->AvailableStrings());
    WriteList("[Selected]", ObjectFilterForm->SelectedStrings());
}

// "<Index> <Level> <item text>", then each property entry behind a TAB.
void PrintTree() {
    const ObjectTree& tree = MainForm->Objects;
    for (int index = 1; index <= tree.Count(); ++index) {
        Write(std::to_string(index) + " " + std::to_string(tree.Level(index)) + " " +
              tree.Text(index) + "\n");
        for (const auto& entry : tree.Properties(index))
            Write("\t" + entry + "\n");
    }
}

// "=== <HeaderText> | <FooterFileName> | <FontName> | <FontSize>", then the
// print file's bytes as written.
void PrintSections(const PrintJob& job) {
    for (const PrintSection& section : job.Sections()) {
        Write("=== " + section.HeaderText + " | " + section.FooterFileName + " | " +
              section.Font.Name + " | " + section.Font.Size + "\n");
        std::ifstream file(ToFileSystemPath(section.PrintFile), std::ios::binary);
        Write(std::string(std::istreambuf_iterator<char>(file), {}));
    }
}

std::string AbsolutePath(const std::string& name) {
    std::error_code error;
    return FromFileSystemPath(
        std::filesystem::absolute(ToFileSystemPath(name), error).lexically_normal());
}

// The Open dialog returns only an existing file with the project extension,
// as a full path.
bool ResolveProjectFile(const std::string& name, std::string& path) {
    std::error_code error;
    path = AbsolutePath(name);
    const auto status = std::filesystem::status(ToFileSystemPath(path), error);
    if (!error && std::filesystem::is_directory(status))
        error = std::make_error_code(std::errc::is_a_directory);
    if (error) {
        std::fprintf(stderr, "pembrill-cli: %s: %s\n", name.c_str(), error.message().c_str());
        return false;
    }
    return AcceptProjectFileName(path);
}

// Selects the one item of `from` named `name` (compared without regard to
// case) and presses the dialog's button that moves it.
void MoveByName(StringList& from, const std::string& name, void (TFilterForm::*press)(),
                TFilterForm& dialog) {
    int index = -1;
    if (!FindInList(name, from, index))
        throw UsageFailure{name + " is not in its list"};
    for (int i = 0; i < from.Count(); ++i)
        from.SetSelected(i, i == index);
    (dialog.*press)();
}

void ApplyMove(const FilterMove& move) {
    switch (move.Kind) {
    case FilterMove::Show:
        return MoveByName(DependencyFilterForm->SuppressStrings(), move.Name,
                          &TFilterForm::IncludeBtnClick, *DependencyFilterForm);
    case FilterMove::Suppress:
        return MoveByName(DependencyFilterForm->ShowStrings(), move.Name,
                          &TFilterForm::ExcludeBtnClick, *DependencyFilterForm);
    case FilterMove::Type:
        return MoveByName(ObjectFilterForm->AvailableStrings(), move.Name,
                          &TFilterForm::IncludeBtnClick, *ObjectFilterForm);
    }
}

// The source list entries whose file names are given become the selection.
void SelectSources(const std::vector<std::string>& fileNames) {
    StringList& source = MainForm->SourceList;
    std::vector<std::string> entryFiles;
    for (int i = 0; i < source.Count(); ++i) {
        std::string formName, fileName;
        SplitSourceEntry(source.Item(i), formName, fileName);
        entryFiles.push_back(fileName);
    }
    for (const auto& wanted : fileNames) {
        int index = -1;
        if (!FindInList(wanted, entryFiles, index))
            throw UsageFailure{wanted + " is not in the source list"};
    }
    for (int i = 0; i < source.Count(); ++i) {
        int index = -1;
        source.SetSelected(i, FindInList(entryFiles[static_cast<size_t>(i)], fileNames, index));
    }
}

// A filter radio opens its filter dialog when its list is empty, and that
// dialog, closed without a move, leaves None checked. No dialog can be
// answered here, so an empty list goes straight to None.
void ChooseFiltered(QRadioButton* filtered, QRadioButton* none, const StringList& filter) {
    if (filter.Count() == 0)
        none->click();
    else
        filtered->click();
}

// The radio of the choice group behind the stored setting `name`.
void Choose(const std::string& name, SettingKind kind, ReportChoice choice) {
    TPrintSetupForm& setup = *PrintSetupForm;
    if (choice == ReportChoice::Filtered && kind == SettingKind::DependencyChoice)
        return ChooseFiltered(setup.DependencyFilterRadioButton, setup.DependencyNoneRadioButton,
                              DependencyFilterForm->ShowStrings());
    if (choice == ReportChoice::Filtered)
        return ChooseFiltered(setup.ObjectFilterRadioButton, setup.ObjectNoneRadioButton,
                              ObjectFilterForm->SelectedStrings());
    DialogSettingsControls(setup, *FormatForm).SetChoice(name, choice);
}

// Read as a stored choice is read; a word the group does not know is a usage
// error, whichever option or setting gives it.
ReportChoice ChoiceNamed(SettingKind kind, const std::string& word, const std::string& option) {
    if (const std::optional<ReportChoice> choice = ChoiceOfWord(kind, word))
        return *choice;
    throw UsageFailure{"unknown value " + word + " for " + option};
}

// The text goes into its control and passes the check the dialog runs when
// the user leaves that control; a text that fails it ends the run after the
// dialog's own message.
void SetCheckedText(const std::string& name, const std::string& value) {
    DialogSettingsControls controls(*PrintSetupForm, *FormatForm);
    controls.SetText(name, value);
    if (!controls.CheckText(name))
        throw UsageFailure{};
}

void ApplySetting(const std::string& name, const std::string& value) {
    const auto setting = std::find_if(StoredSettings.begin(), StoredSettings.end(),
                                      [&](const Setting& s) { return name == s.Name; });
    if (setting == StoredSettings.end())
        throw UsageFailure{"no setting named " + name};
    switch (setting->Kind) {
    case SettingKind::Boolean:
        if (value != "0" && value != "1")
            throw UsageFailure{name + " takes 0 or 1"};
        return DialogSettingsControls(*PrintSetupForm, *FormatForm).SetChecked(name, value == "1");
    case SettingKind::Text:
        return SetCheckedText(name, value);
    default:
        return Choose(name, setting->Kind, ChoiceNamed(setting->Kind, value, name));
    }
}

// The print setup dialog as the user leaves it before pressing Print.
void SetPrintChoices(const CliOptions& options) {
    for (const auto& [name, value] : options.Settings)
        ApplySetting(name, value);
    TPrintSetupForm& setup = *PrintSetupForm;
    if (options.Dependencies)
        ChooseFiltered(setup.DependencyFilterRadioButton, setup.DependencyNoneRadioButton,
                       DependencyFilterForm->ShowStrings());
    if (options.Levels)
        SetCheckedText("DependencyLevels", *options.Levels);
    if (options.Sources)
        Choose("SourceCode", SettingKind::SourceCodeChoice, *options.Sources);
    if (options.NoLineNumbers)
        setup.PrintLineNumbersCheckBox->setChecked(false);
    if (options.Objects)
        Choose("Objects", SettingKind::ObjectsChoice, *options.Objects);
    if (options.Components)
        setup.ComponentsCheckBox->setChecked(true);
    if (options.AllSubComponents)
        setup.AllSubComponentsCheckBox->setChecked(true);
    if (options.NoComponents) {
        setup.ComponentsCheckBox->setChecked(false);
        setup.AllSubComponentsCheckBox->setChecked(false);
    }
    if (options.Properties)
        setup.ObjectPropertiesCheckBox->setChecked(true);
    if (options.Pictures)
        setup.ObjectPicturesCheckBox->setChecked(true);
}

// A form's name as a file name: letters, digits and '_' as they are, any
// other byte '_' (a name read from a hostile form file never leaves the
// directory); a name met before gets the number of its turn.
std::string PictureFileName(const std::string& name, std::set<std::string>& used) {
    std::string safe = name.empty() ? "Form" : name;
    for (char& c : safe) {
        const auto byte = static_cast<unsigned char>(c);
        if (!(std::isalnum(byte) && byte < 0x80) && c != '_')
            c = '_';
    }
    std::string unique = safe;
    for (int turn = 2; !used.insert(LowerAscii(unique)).second; ++turn)
        unique = safe + "_" + std::to_string(turn);
    return unique;
}

// FORMNAME.png and FORMNAME.svg of every form of the object tree.
void WritePictures(const std::string& directory) {
    const QString dir = ToDisplay(directory);
    if (!QDir().mkpath(dir)) {
        ShowMessage(MessageKind::Error, "Error creating picture directory: " + directory);
        return;
    }
    const ObjectTree& tree = MainForm->Objects;
    std::set<std::string> used;
    for (int item = 1; item <= tree.Count(); ++item) {
        if (!IsFormItem(tree, item))
            continue;
        const FormPicture picture = BuildFormPicture(tree, item);
        const PageStore store = PictureStore(picture);
        const std::string name = PictureFileName(picture.Elements[0].Name, used);
        for (const char* extension : {".png", ".svg"}) {
            if (std::string(extension) == ".svg" && !CanWriteSvg())
                continue;
            const std::string path = directory + "/" + name + extension;
            if (!WritePictureFile(store, ToDisplay(path)))
                ShowMessage(MessageKind::Error, "Error writing picture file: " + path);
        }
    }
}

// pdfFile: absolute, or empty for no PDF.
void RunPrintJobs(const CliOptions& options, const std::string& pdfFile) {
    PrintSetupForm->ProjectFileName = MainForm->Project.ProjectFileName;
    if (options.Text) {
        PrintJob job;
        if (BuildPrintJob(PrintSetupForm->JobInputs(), PrintSetupForm->JobChoices(), job))
            PrintSections(job);
    }
    // The file is named here: Print's question about it is not asked.
    if (!pdfFile.empty()) {
        SetPdfOutput(ProgramPrinter(), ToDisplay(pdfFile));
        PrintSetupForm->AssemblePrintJob(false);
    }
}

void Run(const CliOptions& options) {
    // Names on the command line are the caller's: made absolute before the
    // opening moves the working directory to the project's.
    const std::string pdfFile = options.PdfFile ? AbsolutePath(*options.PdfFile) : "";
    const std::string pictureDir = options.PictureDir ? AbsolutePath(*options.PictureDir) : "";
    std::string projectFile;
    if (!ResolveProjectFile(options.ProjectFile, projectFile))
        throw UsageFailure{};
    MainForm->OpenProject(projectFile);
    if (options.Analyze)
        MainForm->AnalyzeButton->click();
    for (const auto& move : options.Moves)
        ApplyMove(move);
    if (!options.Selections.empty())
        SelectSources(options.Selections);
    SetPrintChoices(options);
    if (options.Model)
        PrintModel();
    if (options.Tree)
        PrintTree();
    std::fflush(stdout);
    if (!pictureDir.empty())
        WritePictures(pictureDir);
    RunPrintJobs(options, pdfFile);
    if (options.SaveSettings)
        PrintSetupForm->SaveButton->click();
}

class ArgumentReader {
public:
    explicit ArgumentReader(const std::vector<std::string>& arguments) : Arguments(arguments) {}

    bool Next(std::string& argument) {
        if (Position == Arguments.size())
            return false;
        argument = Arguments[Position++];
        return true;
    }

    // The value of an option written "--name VALUE".
    std::string Value(const std::string& option) {
        if (Position == Arguments.size())
            throw UsageFailure{option + " needs a value"};
        return Arguments[Position++];
    }

private:
    const std::vector<std::string>& Arguments;
    size_t Position = 0;
};

void ParseSetting(const std::string& assignment, CliOptions& options) {
    const size_t equals = assignment.find('=');
    if (equals == std::string::npos)
        throw UsageFailure{"--set takes NAME=VALUE"};
    options.Settings.emplace_back(assignment.substr(0, equals), assignment.substr(equals + 1));
}

struct CliOption {
    const char* Name;
    // The value's placeholder in the usage; null for an option without one.
    const char* Value;
    const char* Meaning;
    void (*Take)(CliOptions& options, const std::string& value);
};

// Every option, in the order the usage lists them.
constexpr CliOption Options[] = {
    {"--help", nullptr, "print this usage and exit",
     [](CliOptions& o, const std::string&) { o.Help = true; }},
    {"--model", nullptr, "print the project model",
     [](CliOptions& o, const std::string&) { o.Model = true; }},
    {"--analyze", nullptr, "run Analyze (converter and object tree) after opening",
     [](CliOptions& o, const std::string&) { o.Analyze = true; }},
    {"--tree", nullptr, "print the object tree",
     [](CliOptions& o, const std::string&) { o.Tree = true; }},
    {"--dependencies", nullptr, "choose the Filtered dependency section",
     [](CliOptions& o, const std::string&) { o.Dependencies = true; }},
    {"--levels", "N", "the Levels box", [](CliOptions& o, const std::string& v) { o.Levels = v; }},
    {"--show", "UNIT", "move a unit name to the Show list (repeatable)",
     [](CliOptions& o, const std::string& v) {
         o.Moves.push_back({FilterMove::Show, v});
     }},
    {"--suppress", "UNIT", "move a unit name to the Suppress list (repeatable)",
     [](CliOptions& o, const std::string& v) {
         o.Moves.push_back({FilterMove::Suppress, v});
     }},
    {"--sources", "all|selected|none", "the Source Code choice",
     [](CliOptions& o, const std::string& v) {
         o.Sources = ChoiceNamed(SettingKind::SourceCodeChoice, v, "--sources");
     }},
    {"--select", "FILE", "select the source list entry of FILE (repeatable)",
     [](CliOptions& o, const std::string& v) { o.Selections.push_back(v); }},
    {"--no-line-numbers", nullptr, "uncheck Line Numbers",
     [](CliOptions& o, const std::string&) { o.NoLineNumbers = true; }},
    {"--objects", "all|filtered|none", "the Objects choice",
     [](CliOptions& o, const std::string& v) {
         o.Objects = ChoiceNamed(SettingKind::ObjectsChoice, v, "--objects");
     }},
    {"--type", "CLASS", "move a class name from Available to Selected (repeatable)",
     [](CliOptions& o, const std::string& v) {
         o.Moves.push_back({FilterMove::Type, v});
     }},
    {"--components", nullptr, "check Components",
     [](CliOptions& o, const std::string&) { o.Components = true; }},
    {"--all-subcomponents", nullptr, "check All Sub-Components",
     [](CliOptions& o, const std::string&) { o.AllSubComponents = true; }},
    {"--no-components", nullptr, "uncheck Components and All Sub-Components",
     [](CliOptions& o, const std::string&) { o.NoComponents = true; }},
    {"--properties", nullptr, "check Object Properties",
     [](CliOptions& o, const std::string&) { o.Properties = true; }},
    {"--set", "NAME=VALUE", "set the control behind a stored setting (Booleans take 0/1)",
     [](CliOptions& o, const std::string& v) { ParseSetting(v, o); }},
    {"--text", nullptr, "write the job's sections to stdout instead of printing",
     [](CliOptions& o, const std::string&) { o.Text = true; }},
    {"--pdf", "FILE", "print the job's pages to FILE as PDF",
     [](CliOptions& o, const std::string& v) { o.PdfFile = v; }},
    {"--save-settings", nullptr, "press Save",
     [](CliOptions& o, const std::string&) { o.SaveSettings = true; }},
    {"--pictures", nullptr, "check Form Pictures",
     [](CliOptions& o, const std::string&) { o.Pictures = true; }},
    {"--picture-dir", "DIR", "write FORMNAME.png and FORMNAME.svg of every analysed form into DIR",
     [](CliOptions& o, const std::string& v) { o.PictureDir = v; }},
};

void ParseOption(const std::string& option, ArgumentReader& reader, CliOptions& options) {
    for (const CliOption& known : Options) {
        if (option != known.Name)
            continue;
        known.Take(options, known.Value ? reader.Value(option) : std::string());
        return;
    }
    throw UsageFailure{"unknown option " + option};
}

} // namespace

bool ParseCliOptions(const std::vector<std::string>& arguments, CliOptions& options,
                     std::string& error) {
    try {
        ArgumentReader reader(arguments);
        std::string argument;
        while (reader.Next(argument)) {
            if (argument.rfind("--", 0) == 0)
                ParseOption(argument, reader, options);
            else if (options.ProjectFile.empty())
                options.ProjectFile = argument;
            else
                throw UsageFailure{"more than one project file"};
        }
        if (options.ProjectFile.empty() && !options.Help)
            throw UsageFailure{"no project file given"};
        return true;
    } catch (const UsageFailure& failure) {
        error = failure.Reason;
        return false;
    }
}

std::string CliUsage(bool withOptions) {
    std::string usage = "usage: pembrill-cli [OPTION]... PROJECT.dpr\n";
    if (!withOptions)
        return usage;
    for (const CliOption& option : Options) {
        std::string left = std::string("  ") + option.Name;
        if (option.Value)
            left += std::string(" ") + option.Value;
        left.resize(std::max<size_t>(left.size() + 1, 31), ' ');
        usage += left + option.Meaning + "\n";
    }
    return usage;
}

int RunCli(const CliOptions& options) {
    StderrMessageSink messages;
    ScopedMessageSink installMessages(messages);
    CreateWindows(Splash::Hidden);
    int status = 0;
    try {
        Run(options);
    } catch (const UsageFailure& failure) {
        if (!failure.Reason.empty())
            std::fprintf(stderr, "pembrill-cli: %s\n", failure.Reason.c_str());
        status = UsageError;
    }
    std::fflush(stdout);
    DestroyWindows();
    return status;
}

} // namespace pembrill
