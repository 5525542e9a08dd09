#include "platform/LineReader.h"
#include "source/Parser.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>

using namespace pembrill;

namespace {

constexpr size_t TargetSize = 64 * 1024 * 1024;

// One unit of ordinary Delphi code; the generator numbers the names so that
// the file does not repeat itself byte for byte.
std::string UnitText(int n, const char* eol) {
    const std::string id = std::to_string(n);
    std::string text;
    auto line = [&](const std::string& s) { text += s + eol; };
    line("unit Unit" + id + ";");
    line("");
    line("interface");
    line("");
    line("uses");
    line("  Windows, Messages, SysUtils, Classes, Graphics, Controls, Forms, Dialogs,");
    line("  StdCtrls, ExtCtrls, Unit" + std::to_string(n + 1) + ";");
    line("");
    line("type");
    line("  TForm" + id + " = class(TForm)");
    line("    Button1: TButton;");
    line("    Label_1: TLabel;");
    line("    procedure Button1Click(Sender: TObject);");
    line("  private");
    line("    { Private declarations }");
    line("    FCount: Integer;");
    line("  public");
    line("    { Public declarations }");
    line("  end;");
    line("");
    line("var");
    line("  Form" + id + ": TForm" + id + ";");
    line("");
    line("implementation");
    line("");
    line("uses Printers, Unit" + std::to_string(n + 2) + ";");
    line("");
    line("{$R *.DFM}");
    line("");
    line("(* Counts the clicks and shows them. *)");
    line("procedure TForm" + id + ".Button1Click(Sender: TObject);");
    line("var");
    line("\tRatio: Double;");
    line("begin");
    line("  Inc(FCount); // one more");
    line("  Ratio := FCount * 3.14159 / $FF + " + id + ";");
    line("  if FCount > 10 then");
    line("    Label_1.Caption := 'Clicked ' + IntToStr(FCount) + ' times, ratio ' +");
    line("      FloatToStr(Ratio)");
    line("  else");
    line("    ShowMessage('It''s only ' + IntToStr(FCount));");
    line("end;");
    line("");
    line("end.");
    return text;
}

// A generated source file in the temporary directory, removed at exit.
class GeneratedFile {
public:
    explicit GeneratedFile(const char* eol) {
        Path =
            (std::filesystem::temp_directory_path() /
             ("pembrill-bench-" + std::to_string(getpid()) + (eol[1] ? "-crlf" : "-lf") + ".pas"))
                .string();
        std::ofstream out(Path, std::ios::binary);
        for (int n = 0; Size < TargetSize; ++n) {
            const std::string text = UnitText(n, eol);
            out << text;
            Size += text.size();
        }
    }
    ~GeneratedFile() { std::filesystem::remove(Path); }

    std::string Path;
    size_t Size = 0;
};

const GeneratedFile& Source(const benchmark::State& state) {
    static const GeneratedFile crLf("\r\n");
    static const GeneratedFile lf("\n");
    return state.range(0) ? lf : crLf;
}

void BM_ReadLine(benchmark::State& state) {
    const GeneratedFile& file = Source(state);
    std::string line;
    for (auto _ : state) {
        LineReader reader(file.Path);
        while (reader.ReadLine(line))
            benchmark::DoNotOptimize(line.data());
    }
    state.SetBytesProcessed(state.iterations() * file.Size);
}

void BM_NextToken(benchmark::State& state) {
    const GeneratedFile& file = Source(state);
    std::string token;
    TTokenKind kind = tkIdentifier;
    size_t tokens = 0;
    for (auto _ : state) {
        TParser parser(file.Path);
        while (!parser.AtEnd()) {
            parser.NextToken(token, kind);
            benchmark::DoNotOptimize(token.data());
            ++tokens;
        }
    }
    state.SetBytesProcessed(state.iterations() * file.Size);
    state.counters["tokens"] = benchmark::Counter(tokens, benchmark::Counter::kIsRate);
}

void BM_FindUsesReadUsesName(benchmark::State& state) {
    const GeneratedFile& file = Source(state);
    std::string token, unitName;
    TTokenKind kind = tkIdentifier;
    size_t names = 0;
    for (auto _ : state) {
        TParser parser(file.Path);
        while (parser.FindUses(token, kind)) {
            bool last = false;
            while (!last) {
                last = parser.ReadUsesName(unitName);
                ++names;
            }
        }
    }
    benchmark::DoNotOptimize(names);
    state.SetBytesProcessed(state.iterations() * file.Size);
}

} // namespace

// Argument 0: CR LF line ends; 1: a Unix text file.
BENCHMARK(BM_ReadLine)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_NextToken)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FindUsesReadUsesName)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
