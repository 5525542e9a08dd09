// Opening a large project: a generated project of 2,000 units of 300 lines
// each, every unit with an interface and an implementation uses clause of 10
// names, read into the model and the lists as Open does.

#include "platform/MessageBox.h"
#include "source/Project.h"
#include "tests/support/TempDir.h"

#include <benchmark/benchmark.h>

namespace {

using namespace pembrill;
using pembrill::test::TempDir;

constexpr int UnitCount = 2000;
constexpr int LinesPerUnit = 300;

std::string UsesClause(int unit, int offset) {
    std::string clause = "uses";
    for (int k = 1; k <= 10; ++k) {
        const int used = (unit + offset + k * 7) % (UnitCount + 50);
        // Names past the project's units stand for library units.
        clause += (k == 1 ? " " : ", ") +
                  (used < UnitCount ? "Unit" + std::to_string(used) : "Lib" + std::to_string(used));
    }
    return clause + ";";
}

std::string UnitText(int unit) {
    std::string text = "unit Unit" + std::to_string(unit) + ";\r\n\r\ninterface\r\n\r\n" +
                       UsesClause(unit, 1) + "\r\n\r\nimplementation\r\n\r\n" +
                       UsesClause(unit, 500) + "\r\n\r\n";
    for (int line = 12; line < LinesPerUnit - 1; ++line)
        text +=
            "  Result := Compute(" + std::to_string(line) + ", 'text', Value) + 1; { note }\r\n";
    return text + "end.\r\n";
}

struct GeneratedProject {
    GeneratedProject() {
        std::string dpr = "program Big;\r\n\r\nuses\r\n  Forms";
        for (int unit = 0; unit < UnitCount; ++unit) {
            const std::string name = "Unit" + std::to_string(unit);
            dpr += ",\r\n  " + name + " in '" + name + ".pas' {Form" + std::to_string(unit) + "}";
            Dir.Write(name + ".pas", UnitText(unit));
        }
        dpr += ";\r\n\r\nbegin\r\n  Application.CreateForm(TForm0, Form0);\r\nend.\r\n";
        FileName = Dir.Write("Big.dpr", dpr);
    }

    TempDir Dir;
    std::string FileName;
};

void BM_OpenProject(benchmark::State& state) {
    static const GeneratedProject project;
    RecordingMessageSink messages;
    ScopedMessageSink install(messages);
    for (auto _ : state) {
        ProjectModel model;
        model.ProjectFileName = project.FileName;
        MemoryStringList source(true), unused(true), show(true), suppress(true);
        ProjectLists lists{source, unused, show, suppress};
        ReadProject(model, lists);
        benchmark::DoNotOptimize(suppress.Count());
    }
}
BENCHMARK(BM_OpenProject)->Unit(benchmark::kMillisecond);

} // namespace
