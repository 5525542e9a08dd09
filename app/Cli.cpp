#include "app/Cli.h"

#include "app/Main.h"
#include "app/Startup.h"
#include "output/Frmt.h"
#include "output/Prnt.h"
#include "platform/AsciiCase.h"
#include "platform/DecimalSeparator.h"
#include "platform/Files.h"
#include "platform/MessageBox.h"
#include "platform/NumberText.h"
#include "platform/Printer.h"
#include "report/Depfilt.h"
#include "report/DialogSettingsControls.h"
#include "report/Objfilt.h"
#include "report/Prntset.h"
#include "source/Parser.h"

#include <QPrinter>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>

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
void PrintSections(const TPrintForm& job) {
    for (size_t i = 0; i < job.PrintFiles.size(); ++i) {
        Write("=== " + job.HeaderTexts[i] + " | " + job.FooterFileNames[i] + " | " +
              job.FontNames[i] + " | " + job.FontSizes[i] + "\n");
        std::ifstream file(job.PrintFiles[i], std::ios::binary);
        Write(std::string(std::istreambuf_iterator<char>(file), {}));
    }
}

// The Open dialog returns only an existing file with the project extension,
// as a full path.
bool ResolveProjectFile(const std::string& name, std::string& path) {
    std::error_code error;
    path = std::filesystem::absolute(name, error).lexically_normal().string();
    const auto status = std::filesystem::status(path, error);
    if (!error && std::filesystem::is_directory(status))
        error = std::make_error_code(std::errc::is_a_directory);
    if (error) {
        std::fprintf(stderr, "pembrill-cli: %s: %s\n", name.c_str(), error.message().c_str());
        return false;
    }
    if (!EqualIgnoringAsciiCase(ExtractFileExt(path), ".dpr")) {
        ShowMessage(MessageKind::Information, "You must enter a Delphi Project File .dpr");
        return false;
    }
    return true;
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
        SplitSourceEntry(TrimBlanks(source.Item(i)), formName, fileName);
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

void ChooseSources(const std::string& choice) {
    if (choice == "all")
        PrintSetupForm->SourceAllRadioButton->click();
    else if (choice == "selected")
        PrintSetupForm->SourceSelectedRadioButton->click();
    else
        PrintSetupForm->SourceNoneRadioButton->click();
}

void ChooseObjects(const std::string& choice) {
    if (choice == "all")
        PrintSetupForm->ObjectAllRadioButton->click();
    else if (choice == "filtered")
        ChooseFiltered(PrintSetupForm->ObjectFilterRadioButton,
                       PrintSetupForm->ObjectNoneRadioButton, ObjectFilterForm->SelectedStrings());
    else
        PrintSetupForm->ObjectNoneRadioButton->click();
}

// The fields the dialogs check when the user leaves them.
enum class FieldCheck { None, Integer, Decimal };

FieldCheck CheckOf(const std::string& name) {
    static const char* const IntegerFields[] = {"HeaderFontSize",     "FooterFontSize",
                                                "DependencyFontSize", "DependencyLevels",
                                                "SourceCodeFontSize", "ObjectsFontSize"};
    if (name == "LeftMargin")
        return FieldCheck::Decimal;
    for (const char* field : IntegerFields)
        if (name == field)
            return FieldCheck::Integer;
    return FieldCheck::None;
}

void RequireValid(FieldCheck check, const std::string& value) {
    int32_t integer = 0;
    double decimal = 0;
    const bool valid =
        check == FieldCheck::None ||
        (check == FieldCheck::Integer && TryStrToInt(value, integer)) ||
        (check == FieldCheck::Decimal && TryStrToFloat(value, LocaleDecimalSeparator(), decimal));
    if (valid)
        return;
    ShowMessage(MessageKind::Error, "Invalid value");
    throw UsageFailure{};
}

ReportChoice ChoiceNamed(const std::string& value) {
    if (value == "all")
        return ReportChoice::All;
    if (value == "selected")
        return ReportChoice::Selected;
    if (value == "filtered")
        return ReportChoice::Filtered;
    if (value == "none")
        return ReportChoice::None;
    throw UsageFailure{"unknown choice " + value};
}

void ApplySetting(const std::string& name, const std::string& value) {
    const auto setting = std::find_if(StoredSettings.begin(), StoredSettings.end(),
                                      [&](const Setting& s) { return name == s.Name; });
    if (setting == StoredSettings.end())
        throw UsageFailure{"no setting named " + name};
    DialogSettingsControls controls(*PrintSetupForm, *FormatForm);
    switch (setting->Kind) {
    case SettingKind::Boolean:
        if (value != "0" && value != "1")
            throw UsageFailure{name + " takes 0 or 1"};
        return controls.SetChecked(name, value == "1");
    case SettingKind::Text:
        RequireValid(CheckOf(name), value);
        return controls.SetText(name, value);
    case SettingKind::DependencyChoice:
        if (ChoiceNamed(value) == ReportChoice::Filtered)
            return ChooseFiltered(PrintSetupForm->DependencyFilterRadioButton,
                                  PrintSetupForm->DependencyNoneRadioButton,
                                  DependencyFilterForm->ShowStrings());
        return PrintSetupForm->DependencyNoneRadioButton->click();
    case SettingKind::SourceCodeChoice:
        return ChooseSources(value);
    case SettingKind::ObjectsChoice:
        return ChooseObjects(value);
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
    if (options.Levels) {
        RequireValid(FieldCheck::Integer, *options.Levels);
        setup.DependencyLevels->setText(QString::fromStdString(*options.Levels));
    }
    if (options.Sources)
        ChooseSources(*options.Sources);
    if (options.NoLineNumbers)
        setup.PrintLineNumbersCheckBox->setChecked(false);
    if (options.Objects)
        ChooseObjects(*options.Objects);
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
}

void RunPrintJobs(const CliOptions& options) {
    PrintSetupForm->ProjectFileName = MainForm->Project.ProjectFileName;
    if (options.Text) {
        PrintSetupForm->SectionsSink = PrintSections;
        PrintSetupForm->PrintButton->click();
        PrintSetupForm->SectionsSink = nullptr;
    }
    if (options.PdfFile) {
        QPrinter& printer = ProgramPrinter();
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(QString::fromStdString(
            std::filesystem::absolute(*options.PdfFile).lexically_normal().string()));
        PrintSetupForm->PrintButton->click();
    }
}

void Run(const CliOptions& options) {
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
    RunPrintJobs(options);
    if (options.SaveSettings)
        PrintSetupForm->SaveButton->click();
}

constexpr const char* MoveOptionNames[] = {"--show", "--suppress", "--type"};

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

    std::string OneOf(const std::string& option, std::initializer_list<const char*> words) {
        const std::string value = Value(option);
        for (const char* word : words)
            if (value == word)
                return value;
        throw UsageFailure{"unknown value " + value + " for " + option};
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

void ParseOption(const std::string& option, ArgumentReader& reader, CliOptions& options) {
    const auto move = std::find(std::begin(MoveOptionNames), std::end(MoveOptionNames), option);
    if (move != std::end(MoveOptionNames)) {
        options.Moves.push_back(
            {static_cast<FilterMove::Target>(move - MoveOptionNames), reader.Value(option)});
        return;
    }
    const std::pair<const char*, bool CliOptions::*> flags[] = {
        {"--model", &CliOptions::Model},
        {"--analyze", &CliOptions::Analyze},
        {"--tree", &CliOptions::Tree},
        {"--dependencies", &CliOptions::Dependencies},
        {"--no-line-numbers", &CliOptions::NoLineNumbers},
        {"--components", &CliOptions::Components},
        {"--all-subcomponents", &CliOptions::AllSubComponents},
        {"--no-components", &CliOptions::NoComponents},
        {"--properties", &CliOptions::Properties},
        {"--text", &CliOptions::Text},
        {"--save-settings", &CliOptions::SaveSettings},
    };
    for (const auto& [name, flag] : flags) {
        if (option == name) {
            options.*flag = true;
            return;
        }
    }
    if (option == "--levels")
        options.Levels = reader.Value(option);
    else if (option == "--sources")
        options.Sources = reader.OneOf(option, {"all", "selected", "none"});
    else if (option == "--select")
        options.Selections.push_back(reader.Value(option));
    else if (option == "--objects")
        options.Objects = reader.OneOf(option, {"all", "filtered", "none"});
    else if (option == "--set")
        ParseSetting(reader.Value(option), options);
    else if (option == "--pdf")
        options.PdfFile = reader.Value(option);
    else
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
        if (options.ProjectFile.empty())
            throw UsageFailure{"no project file given"};
        return true;
    } catch (const UsageFailure& failure) {
        error = failure.Reason;
        return false;
    }
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
