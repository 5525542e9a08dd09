// The dependency section of a generated project of 300 units, each using 8
// others, to a depth of 6 levels: the report as the program writes it (each
// unit's uses names read once per report) against a walk that opens and scans
// a unit file again on every path that reaches it, as the report's rules
// literally describe. Both must give the same lines.

#include "platform/MessageBox.h"
#include "report/DependencyReport.h"
#include "source/Parser.h"
#include "tests/support/FakeProgress.h"
#include "tests/support/TempDir.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <iostream>

namespace {

using namespace pembrill;
using pembrill::test::FakeProgress;
using pembrill::test::TempDir;

constexpr int UnitCount = 300;
constexpr int UsesPerUnit = 8;
constexpr const char* Levels = "6";

std::string Name(int unit) {
    return "Unit" + std::to_string(unit);
}

struct GeneratedProject {
    GeneratedProject() {
        for (int unit = 0; unit < UnitCount; ++unit) {
            std::string uses = "uses SysUtils";
            for (int k = 1; k <= UsesPerUnit; ++k)
                uses += ", " + Name((unit * 7 + k * 13) % UnitCount);
            Dir.Write(Name(unit) + ".pas", "unit " + Name(unit) + ";\r\ninterface\r\n" + uses +
                                               ";\r\nimplementation\r\nend.\r\n");
            Model.UnitNames.push_back(Name(unit));
            Model.FormNames.push_back(unit == 0 ? "MainForm" : "");
            Model.UnitFiles.push_back(Name(unit) + ".pas");
            Show.Add(Name(unit));
        }
        Model.ProjectFileName = Dir / "Big.dpr";
        Model.MainFormName = "MainForm";
    }

    TempDir Dir;
    ProjectModel Model;
    MemoryStringList Show{true};
};

const GeneratedProject& Project() {
    static const GeneratedProject project;
    return project;
}

// The walk without memory: every visit opens and scans the unit file.
class UncachedWalk {
public:
    explicit UncachedWalk(LineSink& sink) : Sink(sink) {}

    void Unit(int unit, int level) {
        TParser parser(ResolveUnitFile(Project().Model.ProjectFileName, Name(unit) + ".pas"));
        std::string token;
        TTokenKind kind = tkIdentifier;
        while (parser.FindUses(token, kind)) {
            bool last = false;
            while (!last) {
                std::string name;
                last = parser.ReadUsesName(name);
                Used(name, level);
            }
        }
    }

    std::vector<std::string> Ancestors{"unit0"};

private:
    void Used(const std::string& name, int level) {
        std::string lower;
        for (char c : name)
            lower += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        int index = -1;
        if (!FindInList(lower, Project().Show, index))
            return;
        const bool circular = FindInList(lower, Ancestors, index);
        Sink.WriteLine(std::string(3 * level, ' ') + (lower == "unit0" ? "MainForm" : lower) +
                       (circular ? " (circular)" : ""));
        if (circular)
            return;
        Ancestors.push_back(lower);
        if (level < 6)
            Unit(std::stoi(lower.substr(4)), level + 1);
        Ancestors.pop_back();
    }

    LineSink& Sink;
};

std::string CachedReport() {
    FakeProgress progress;
    StringLineSink sink;
    WriteDependencyReport(
        {Project().Model, Project().Model.ProjectFileName, Levels, Project().Show, progress}, sink);
    return sink.Text;
}

std::string UncachedTree() {
    StringLineSink sink;
    sink.WriteLine("MainForm");
    UncachedWalk(sink).Unit(0, 1);
    return sink.Text;
}

void BM_DependencyReport(benchmark::State& state) {
    for (auto _ : state)
        benchmark::DoNotOptimize(CachedReport());
}
BENCHMARK(BM_DependencyReport)->Unit(benchmark::kMillisecond);

void BM_DependencyWalkWithoutCache(benchmark::State& state) {
    const std::string report = CachedReport();
    const std::string tree = UncachedTree();
    if (report.compare(report.size() - tree.size(), tree.size(), tree) != 0) {
        std::cerr << "the two walks differ\n";
        std::abort();
    }
    for (auto _ : state)
        benchmark::DoNotOptimize(UncachedTree());
}
BENCHMARK(BM_DependencyWalkWithoutCache)->Unit(benchmark::kMillisecond);

} // namespace
