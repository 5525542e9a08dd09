#include "app/Cli.h"

#include "app/Main.h"
#include "app/Startup.h"
#include "platform/Files.h"
#include "platform/MessageBox.h"
#include "report/Depfilt.h"
#include "report/Objfilt.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>

namespace pembrill {

namespace {

constexpr int UsageError = 2;

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

bool HasDprExtension(const std::string& path) {
    std::string extension = ExtractFileExt(path);
    for (char& c : extension)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return extension == ".dpr";
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
    if (!HasDprExtension(path)) {
        ShowMessage(MessageKind::Information, "You must enter a Delphi Project File .dpr");
        return false;
    }
    return true;
}

// Selects the one item of `from` named `name` (compared without regard to
// case) and presses the dialog's button that moves it; false when the list
// does not hold the name.
bool MoveByName(StringList& from, const std::string& name, void (TFilterForm::*press)(),
                TFilterForm& dialog) {
    int index = -1;
    if (!FindInList(name, from, index))
        return false;
    for (int i = 0; i < from.Count(); ++i)
        from.SetSelected(i, i == index);
    (dialog.*press)();
    return true;
}

bool ApplyMove(const FilterMove& move) {
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
    return false;
}

constexpr const char* MoveOptionNames[] = {"--show", "--suppress", "--type"};

// The options that take a value, as "--name VALUE".
bool TakeValue(const std::vector<std::string>& arguments, size_t& i, std::string& value,
               std::string& error) {
    if (i + 1 >= arguments.size()) {
        error = arguments[i] + " needs a value";
        return false;
    }
    value = arguments[++i];
    return true;
}

} // namespace

bool ParseCliOptions(const std::vector<std::string>& arguments, CliOptions& options,
                     std::string& error) {
    for (size_t i = 0; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        const auto moveOption =
            std::find(std::begin(MoveOptionNames), std::end(MoveOptionNames), argument);
        if (moveOption != std::end(MoveOptionNames)) {
            FilterMove move{static_cast<FilterMove::Target>(moveOption - MoveOptionNames), {}};
            if (!TakeValue(arguments, i, move.Name, error))
                return false;
            options.Moves.push_back(move);
        } else if (argument == "--model") {
            options.Model = true;
        } else if (argument == "--analyze") {
            options.Analyze = true;
        } else if (argument == "--tree") {
            options.Tree = true;
        } else if (argument.rfind("--", 0) == 0) {
            error = "unknown option " + argument;
            return false;
        } else if (options.ProjectFile.empty()) {
            options.ProjectFile = argument;
        } else {
            error = "more than one project file";
            return false;
        }
    }
    if (options.ProjectFile.empty()) {
        error = "no project file given";
        return false;
    }
    return true;
}

int RunCli(const CliOptions& options) {
    StderrMessageSink messages;
    ScopedMessageSink installMessages(messages);
    CreateWindows(Splash::Hidden);
    std::string projectFile;
    if (!ResolveProjectFile(options.ProjectFile, projectFile)) {
        DestroyWindows();
        return UsageError;
    }
    MainForm->OpenProject(projectFile);
    if (options.Analyze)
        MainForm->AnalyzeButton->click();
    for (const auto& move : options.Moves) {
        if (ApplyMove(move))
            continue;
        std::fprintf(stderr, "pembrill-cli: %s is not in its list\n", move.Name.c_str());
        DestroyWindows();
        return UsageError;
    }
    if (options.Model)
        PrintModel();
    if (options.Tree)
        PrintTree();
    std::fflush(stdout);
    DestroyWindows();
    return 0;
}

} // namespace pembrill
