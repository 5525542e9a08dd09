// Analyze runs one converter process per form and then reads its text. These
// benchmarks split the two: the whole of Analyze over a project of 200 forms
// with a converter that only copies, the reading of the same 200 text form
// files alone, and the reading of one deeply nested file.

#include "forms/FormConversion.h"
#include "forms/ObjectReader.h"
#include "platform/MessageBox.h"
#include "source/Project.h"
#include "tests/support/TempDir.h"

#include <benchmark/benchmark.h>

#include <filesystem>

namespace {

using namespace pembrill;
using pembrill::test::TempDir;

constexpr int FormCount = 200;

// A form of 30 components with 8 property lines each, about 10 KB.
std::string FormText(int form) {
    std::string text = "object Form" + std::to_string(form) + ": TForm\r\n";
    for (int component = 0; component < 30; ++component) {
        text += "  object Button" + std::to_string(component) + ": TButton\r\n";
        text += "    Left = 8\r\n    Top = 16\r\n    Width = 75\r\n    Height = 25\r\n"
                "    Caption = 'OK'\r\n    Font.Color = clBlack\r\n    TabOrder = 0\r\n"
                "    OnClick = ButtonClick\r\n  end\r\n";
    }
    return text + "end\r\n";
}

struct Project {
    Project() {
        FileName = Dir.Write("Demo.dpr", "program Demo;\r\n");
        Converter = Dir.Write("bin/convert.exe", "#!/bin/sh\nexec cp \"$1\" \"${1%.*}.txt\"\n");
        std::filesystem::permissions(Converter, std::filesystem::perms::owner_all);
        for (int form = 0; form < FormCount; ++form) {
            const std::string unit = "Unit" + std::to_string(form);
            Dir.Write(unit + ".dfm", FormText(form));
            Dir.Write(unit + ".txt", FormText(form));
            SourceList.Add(UnitSourceEntry("Form" + std::to_string(form), unit + ".pas"));
        }
    }

    TempDir Dir;
    std::string FileName;
    std::string Converter;
    MemoryStringList SourceList{true};
};

const Project& TheProject() {
    static const Project project;
    return project;
}

void BM_AnalyzeForms(benchmark::State& state) {
    const Project& project = TheProject();
    RecordingMessageSink messages;
    ScopedMessageSink install(messages);
    ObjectTree tree;
    for (auto _ : state) {
        tree.Clear();
        AnalyzeForms(project.SourceList, project.FileName, project.Converter, tree, nullptr,
                     nullptr);
    }
    if (!messages.Messages.empty())
        state.SkipWithError(messages.Transcript().c_str());
    state.counters["items"] = tree.Count();
    state.counters["forms/s"] =
        benchmark::Counter(FormCount, benchmark::Counter::kIsIterationInvariantRate);
}
BENCHMARK(BM_AnalyzeForms)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_ReadTextFormFiles(benchmark::State& state) {
    const Project& project = TheProject();
    ObjectTree tree;
    for (auto _ : state) {
        tree.Clear();
        for (int form = 0; form < FormCount; ++form)
            ReadTextFormFile(project.Dir / ("Unit" + std::to_string(form) + ".txt"), tree);
    }
    state.counters["items"] = tree.Count();
    state.counters["forms/s"] =
        benchmark::Counter(FormCount, benchmark::Counter::kIsIterationInvariantRate);
}
BENCHMARK(BM_ReadTextFormFiles)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_ReadNestedObjects(benchmark::State& state) {
    const int depth = static_cast<int>(state.range(0));
    TempDir dir;
    std::string text;
    for (int i = 0; i < depth; ++i)
        text += "object O: T\r\n  Tag = 1\r\n";
    for (int i = 0; i < depth; ++i)
        text += "end\r\n";
    const std::string path = dir.Write("Deep.txt", text);
    ObjectTree tree;
    for (auto _ : state) {
        tree.Clear();
        ReadTextFormFile(path, tree);
    }
    state.SetItemsProcessed(state.iterations() * depth);
}
BENCHMARK(BM_ReadNestedObjects)->Arg(1000)->Arg(100000)->Unit(benchmark::kMillisecond);

} // namespace
