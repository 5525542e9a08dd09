#include "tests/FormBytes.h"
#include "tools/DfmFile.h"

#include <benchmark/benchmark.h>

#include <sstream>

using namespace pembrill;

namespace {

// About 5 MB: a form with 6000 components of everyday properties and 20
// images of 168 KB each.
std::string LargeForm() {
    FormBytes form;
    form.Signature().Object("TMainForm", "MainForm");
    form.Property("Caption").String("Large form");
    form.Property("Font.Style").Set({"fsBold"});
    form.End();
    for (int i = 0; i < 6000; ++i) {
        const std::string name = "Label" + std::to_string(i);
        form.Prefix(2).Int16(static_cast<std::int16_t>(i)).Object("TLabel", name);
        form.Property("Left").Int16(static_cast<std::int16_t>(i % 800));
        form.Property("Top").Int16(static_cast<std::int16_t>(i / 4));
        form.Property("Caption").String(name + ": it's a label");
        form.Property("Hint").LString(std::string(150, 'h'));
        form.Property("Scale").Extended(i * 0.125);
        form.Property("Items.Strings").List().String("One").String("Two").End();
        form.End().End();
    }
    for (int i = 0; i < 20; ++i) {
        form.Object("TImage", "Image" + std::to_string(i));
        form.Property("Picture.Data").Binary(std::string(168 * 1024, static_cast<char>(i)));
        form.End().End();
    }
    return form.End().Bytes();
}

void BM_ConvertLargeBinaryForm(benchmark::State& state) {
    const std::string form = LargeForm();
    for (auto _ : state) {
        std::ostringstream text;
        ConvertForm(form, text);
        benchmark::DoNotOptimize(text.tellp());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * form.size()));
    state.counters["form_bytes"] = static_cast<double>(form.size());
}
BENCHMARK(BM_ConvertLargeBinaryForm)->Unit(benchmark::kMillisecond);

} // namespace
