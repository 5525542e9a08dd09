#include "report/DependencyReport.h"

#include "platform/ByteText.h"
#include "platform/FileError.h"
#include "platform/MessageBox.h"
#include "platform/NumberText.h"
#include "source/Parser.h"

#include <cstdint>
#include <cstdio>
#include <optional>
#include <unordered_map>
#include <unordered_set>
#include <vector>

namespace pembrill {

namespace {

std::string FormatColumns(const std::string& first, const std::string& second) {
    std::string line = first;
    if (line.size() < 20)
        line.append(20 - line.size(), ' ');
    return line + " " + second;
}

void WriteFormTable(const ProjectModel& model, LineSink& sink) {
    MemoryStringList table(true);
    for (size_t i = 0; i < model.UnitNames.size(); ++i)
        table.Add(FormatColumns(model.FormNames[i], model.UnitFiles[i]));
    sink.WriteLine(FormatColumns("Form", "Source File"));
    sink.WriteLine(FormatColumns("-------------", "-------------"));
    for (int i = 0; i < table.Count(); ++i)
        sink.WriteLine(table.Item(i));
    sink.WriteLine("");
    sink.WriteLine("");
}

void WriteHeading(int maxLevels, LineSink& sink) {
    if (maxLevels <= 0) {
        sink.WriteLine("Dependencies");
        sink.WriteLine("----------------------");
        return;
    }
    sink.WriteLine("Dependencies (to a max of " + std::to_string(maxLevels) + " levels)");
    sink.WriteLine("----------------------" + std::string(24, '-'));
}

class DependencyWalk {
public:
    DependencyWalk(const DependencyReportInput& input, int maxLevels, LineSink& sink)
        : Input(input), MaxLevels(maxLevels), Sink(sink) {
        for (int i = 0; i < input.ShowList.Count(); ++i) {
            std::string name = LowerAscii(input.ShowList.Item(i));
            if (ShownIndex.emplace(name, static_cast<uint32_t>(ShownNames.size())).second)
                ShownNames.push_back(std::move(name));
        }
        for (size_t i = 0; i < input.Model.UnitNames.size(); ++i)
            ProjectUnits.emplace(LowerAscii(input.Model.UnitNames[i]), i);
    }

    // Depth-first and pre-order, on an explicit stack: a chain of thousands
    // of units must not exhaust the call stack.
    void Run(size_t mainUnit) {
        Ancestors.insert(LowerAscii(Input.Model.UnitNames[mainUnit]));
        Enter(mainUnit, 1, std::string());
        while (!Stack.empty()) {
            Frame& frame = Stack.back();
            if (frame.Next == frame.Names->size()) {
                Ancestors.erase(frame.Ancestor);
                Stack.pop_back();
                continue;
            }
            WriteName((*frame.Names)[frame.Next++], frame.Level);
        }
    }

private:
    // The names of a unit file's uses clauses that the Show list holds, in
    // file order, each as its index in ShownNames. The walk reaches a unit
    // along every path to it; the names are read once per report and kept,
    // since the file does not change while the report is written. Names not
    // shown are neither written nor followed, so they are not kept: a unit
    // naming millions of them costs no memory.
    using UsesNames = std::vector<uint32_t>;

    struct Frame {
        const UsesNames* Names;
        size_t Next;
        int Level;
        std::string Ancestor; // taken off the ancestor list when the frame ends
    };

    // WriteUnitDependencies: the unit's file is turned to (one progress dot),
    // and its names are written one level deeper than its own line.
    void Enter(size_t unit, int level, std::string ancestor) {
        AdvanceProgress();
        const std::string path =
            ResolveUnitFile(Input.ProjectFileName, Input.Model.UnitFiles[unit]);
        const UsesNames* names = Names(path);
        if (!names) {
            ShowMessage(MessageKind::Error, "Can not open file: \r\r" + path);
            Ancestors.erase(ancestor);
            return;
        }
        Stack.push_back(Frame{names, 0, level, std::move(ancestor)});
    }

    void WriteName(uint32_t shown, int level) {
        const std::string& name = ShownNames[shown];
        const auto project = ProjectUnits.find(name);
        const bool isProjectUnit = project != ProjectUnits.end();
        std::string line(3 * level, ' ');
        if (isProjectUnit && !Input.Model.FormNames[project->second].empty())
            line += Input.Model.FormNames[project->second];
        else
            line += name;
        const bool circular = Ancestors.count(name) != 0;
        if (circular)
            line += " (circular)";
        Sink.WriteLine(line);
        if (!isProjectUnit || circular)
            return;
        Ancestors.insert(name);
        if (MaxLevels == 0 || level < MaxLevels)
            Enter(project->second, level + 1, name);
        else
            Ancestors.erase(name);
    }

    const UsesNames* Names(const std::string& path) {
        const auto cached = Cache.find(path);
        if (cached != Cache.end())
            return &cached->second;
        auto names = ReadShownNames(path);
        if (!names)
            return nullptr;
        return &Cache.emplace(path, std::move(*names)).first->second;
    }

    std::optional<UsesNames> ReadShownNames(const std::string& path) const {
        std::optional<TParser> parser;
        try {
            parser.emplace(path);
        } catch (const FileError&) {
            return std::nullopt;
        }
        UsesNames names;
        std::string token;
        TTokenKind kind = tkIdentifier;
        while (parser->FindUses(token, kind)) {
            bool last = false;
            while (!last) {
                std::string name;
                last = parser->ReadUsesName(name);
                const auto shown = ShownIndex.find(LowerAscii(name));
                if (shown != ShownIndex.end())
                    names.push_back(shown->second);
            }
        }
        return names;
    }

    // The dots grow by one per unit file and start again after 21.
    void AdvanceProgress() {
        std::string dots = Input.Progress.LowerLine();
        if (dots.size() > 20)
            dots.clear();
        else
            dots += ".";
        Input.Progress.SetLowerLine(dots);
        Input.Progress.Repaint();
    }

    const DependencyReportInput& Input;
    const int MaxLevels;
    LineSink& Sink;
    std::vector<std::string> ShownNames;
    std::unordered_map<std::string, uint32_t> ShownIndex;
    std::unordered_map<std::string, size_t> ProjectUnits;
    std::unordered_set<std::string> Ancestors;
    std::unordered_map<std::string, UsesNames> Cache;
    std::vector<Frame> Stack;
};

} // namespace

void WriteDependencyReport(const DependencyReportInput& input, LineSink& sink) {
    int32_t levels = 0;
    const int maxLevels = TryDecimalStrToInt(input.LevelsText, levels) ? levels : 0;
    WriteFormTable(input.Model, sink);
    WriteHeading(maxLevels, sink);
    int mainUnit = -1;
    if (!FindInList(input.Model.MainFormName, input.Model.FormNames, mainUnit)) {
        ShowMessage(MessageKind::Error, "Internal error - main formname conflict");
        return;
    }
    sink.WriteLine(input.Model.MainFormName);
    DependencyWalk(input, maxLevels, sink).Run(static_cast<size_t>(mainUnit));
}

} // namespace pembrill
