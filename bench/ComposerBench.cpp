#include "app/Headless.h"
#include "output/PageStore.h"
#include "output/Prnt.h"
#include "platform/ProgressDisplay.h"
#include "report/LineSink.h"
#include "report/SourceListing.h"
#include "ui/Preview.h"
#include "ui/ReportOutput.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QPrinter>
#include <QTimer>

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>

using namespace pembrill;

namespace {

constexpr int SourceLines = 100000;

class FileLineSink : public LineSink {
public:
    explicit FileLineSink(const std::string& path) : Out(path, std::ios::binary) {}
    void WriteLine(const std::string& line) override { Out << line << "\r\n"; }

private:
    std::ofstream Out;
};

std::string ScratchDirectory() {
    static const std::string directory = [] {
        std::string pattern = std::filesystem::temp_directory_path() / "pembrill-bench-XXXXXX";
        return std::string(mkdtemp(pattern.data()));
    }();
    return directory;
}

// Ordinary Delphi code, one line in twenty longer than a page is wide.
std::string SourceLine(int n) {
    switch (n % 20) {
    case 0:
        return "procedure TForm" + std::to_string(n) + ".Button1Click(Sender: TObject);";
    case 1:
        return "begin";
    case 7:
        return "  ShowMessage('The value ' + IntToStr(FCount) + ' is out of range for this "
               "field, please enter a number between ' + IntToStr(Low) + ' and ' + "
               "IntToStr(High) + ' and try again, or press Cancel to leave it as it was');";
    case 19:
        return "end;";
    default:
        return "  FCount := FCount + " + std::to_string(n) + "; { running total }";
    }
}

// The source file and its print file with line numbers, made once.
const std::string& SourceFile() {
    static const std::string path = [] {
        const std::string file = ScratchDirectory() + "/Big.pas";
        std::ofstream out(file, std::ios::binary);
        for (int i = 0; i < SourceLines; ++i)
            out << SourceLine(i) << "\r\n";
        return file;
    }();
    return path;
}

const std::string& PrintFilePath() {
    static const std::string path = [] {
        const std::string file = ScratchDirectory() + "/pbxbench.TMP";
        FileLineSink sink(file);
        WriteSourceListing(SourceFile(), true, sink);
        return file;
    }();
    return path;
}

// One section of the print file at `printFile` on a high-resolution PDF
// printer writing to `pdfPath`: what each benchmark composes.
struct ComposerJob {
    ComposerJob(const std::string& printFile, const std::string& pdfPath)
        : printer(QPrinter::HighResolution) {
        form.SetSections(
            {{printFile, "Source Code for: Big.dpr", "Big.pas", {"Courier New", "10"}, "Big.pas"}});
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(QString::fromStdString(pdfPath));
    }
    std::optional<PageStore> Compose() { return form.Compose(printer, format, progress); }

    TPrintForm form;
    NoProgress progress;
    PageFormat format;
    QPrinter printer;
};

// The whole job as the program prints it: 100,000 source lines with line
// numbers and word wrap, composed and printed to a PDF file.
void BM_ComposeToPdf(benchmark::State& state) {
    ComposerJob job(PrintFilePath(), ScratchDirectory() + "/composer.pdf");
    for (auto _ : state) {
        if (!PrintReport(job.form, job.printer, job.format, job.progress))
            state.SkipWithError("printing failed");
    }
    const auto pages = job.Compose();
    state.counters["pages"] = pages ? pages->PageCount() : 0;
    state.counters["pdf_bytes"] =
        static_cast<double>(std::filesystem::file_size(ScratchDirectory() + "/composer.pdf"));
}
BENCHMARK(BM_ComposeToPdf)->Unit(benchmark::kMillisecond)->Iterations(3);

// The same source through enscript (line numbers, word wrap) to a PostScript
// file, and ps2pdf from that file to PDF.
std::string EnscriptCommand() {
    const std::string ps = ScratchDirectory() + "/enscript.ps";
    return "enscript -q -C --word-wrap -p '" + ps + "' '" + SourceFile() + "' && ps2pdf '" + ps +
           "' '" + ScratchDirectory() + "/enscript.pdf'";
}

void BM_EnscriptToPdf(benchmark::State& state) {
    const std::string command = EnscriptCommand();
    for (auto _ : state) {
        if (std::system(command.c_str()) != 0)
            state.SkipWithError("enscript or ps2pdf failed");
    }
    state.counters["pdf_bytes"] =
        static_cast<double>(std::filesystem::file_size(ScratchDirectory() + "/enscript.pdf"));
}
BENCHMARK(BM_EnscriptToPdf)->Unit(benchmark::kMillisecond)->Iterations(3);

// Both in one run, one after the other, round by round, so that both see
// the same machine: the time is Pembrill's; the counters give enscript's,
// the ratio of the two (the aim: at most 0.5) and both files' sizes.
void BM_PdfAgainstEnscript(benchmark::State& state) {
    ComposerJob job(PrintFilePath(), ScratchDirectory() + "/composer.pdf");
    const std::string command = EnscriptCommand();
    double pembrillSeconds = 0;
    double enscriptSeconds = 0;
    QElapsedTimer clock;
    for (auto _ : state) {
        clock.start();
        if (!PrintReport(job.form, job.printer, job.format, job.progress))
            state.SkipWithError("printing failed");
        const double pembrill = static_cast<double>(clock.nsecsElapsed()) / 1e9;
        clock.start();
        if (std::system(command.c_str()) != 0)
            state.SkipWithError("enscript or ps2pdf failed");
        enscriptSeconds += static_cast<double>(clock.nsecsElapsed()) / 1e9;
        pembrillSeconds += pembrill;
        state.SetIterationTime(pembrill);
    }
    state.counters["enscript_ms"] = enscriptSeconds * 1e3 / static_cast<double>(state.iterations());
    state.counters["ratio"] = pembrillSeconds / enscriptSeconds;
    state.counters["pdf_bytes"] =
        static_cast<double>(std::filesystem::file_size(ScratchDirectory() + "/composer.pdf"));
    state.counters["enscript_pdf_bytes"] =
        static_cast<double>(std::filesystem::file_size(ScratchDirectory() + "/enscript.pdf"));
}
BENCHMARK(BM_PdfAgainstEnscript)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(5);

// Layout alone, into the page store.
void BM_ComposeToStore(benchmark::State& state) {
    ComposerJob job(PrintFilePath(), ScratchDirectory() + "/unused.pdf");
    for (auto _ : state)
        benchmark::DoNotOptimize(job.Compose());
}
BENCHMARK(BM_ComposeToStore)->Unit(benchmark::kMillisecond)->Iterations(3);

// The data side of the layout alone: the print file's lines read, measured
// against the page's width and the wide ones broken, as the layout asks for
// them, without placing them on pages.
void BM_ReadAndWrap(benchmark::State& state) {
    ComposerJob job(PrintFilePath(), ScratchDirectory() + "/unused.pdf");
    job.Compose(); // gives the report its printer, as a run does
    for (auto _ : state) {
        job.form.BandReport.BeforePrint();
        for (bool moreData = true; moreData;)
            job.form.BandReport.OnNeedData(moreData);
        job.form.BandReport.AfterPrint();
    }
}
BENCHMARK(BM_ReadAndWrap)->Unit(benchmark::kMillisecond)->Iterations(3);

// The last stage alone: pages already laid out written to the PDF file, as
// the preview's Print button writes them.
void BM_WriteStoredPdf(benchmark::State& state) {
    ComposerJob job(PrintFilePath(), ScratchDirectory() + "/stored.pdf");
    const auto pages = job.Compose();
    for (auto _ : state) {
        if (!PrintStoredPages(*pages, job.printer))
            state.SkipWithError("printing failed");
    }
    state.counters["pages"] = pages->PageCount();
}
BENCHMARK(BM_WriteStoredPdf)->Unit(benchmark::kMillisecond)->Iterations(3);

// A print file of about 2,000 pages of full lines, made once.
const std::string& FullPagesFile() {
    static const std::string path = [] {
        const std::string file = ScratchDirectory() + "/pbxfull.TMP";
        std::ofstream out(file, std::ios::binary);
        for (int i = 0; i < 2000 * 66; ++i)
            out << i << ": " << std::string(72, 'm') << "\r\n";
        return file;
    }();
    return path;
}

// The store of a report of about 2,000 pages of full lines.
void BM_PageStoreOf2000Pages(benchmark::State& state) {
    ComposerJob job(FullPagesFile(), ScratchDirectory() + "/unused.pdf");
    std::optional<PageStore> pages;
    for (auto _ : state)
        pages = job.Compose();
    state.counters["pages"] = pages->PageCount();
    state.counters["store_MB"] = static_cast<double>(pages->MemoryBytes()) / (1024.0 * 1024.0);
}
BENCHMARK(BM_PageStoreOf2000Pages)->Unit(benchmark::kMillisecond)->Iterations(1);

// From the start of a run to its first page painted when the whole report
// is laid out before the window opens: the measure to compare the preview's
// own with.
void BM_PreviewFirstPage(benchmark::State& state) {
    ComposerJob job(FullPagesFile(), ScratchDirectory() + "/unused.pdf");
    for (auto _ : state) {
        const auto pages = job.Compose();
        TPreviewForm preview(*pages, job.printer);
        preview.resize(1200, 900);
        preview.show();
        benchmark::DoNotOptimize(preview.grab());
    }
}
BENCHMARK(BM_PreviewFirstPage)->Unit(benchmark::kMillisecond)->Iterations(3);

// The preview as the job opens it, on the report of about 2,000 pages: the
// time is from the call to the first page painted in the open window; the
// counters tell the pages finished at that moment and when the run that goes
// on behind the window was complete.
void BM_PreviewFirstPageShown(benchmark::State& state) {
    ComposerJob job(FullPagesFile(), ScratchDirectory() + "/unused.pdf");
    QElapsedTimer clock;
    double shownMs = 0;
    double completeMs = 0;
    int pagesAtShowing = 0;
    QTimer watcher;
    QObject::connect(&watcher, &QTimer::timeout, [&] {
        auto* preview = qobject_cast<TPreviewForm*>(QApplication::activeModalWidget());
        if (preview == nullptr)
            return;
        if (shownMs == 0) {
            benchmark::DoNotOptimize(preview->grab());
            shownMs = static_cast<double>(clock.nsecsElapsed()) / 1e6;
            pagesAtShowing = job.form.BandReport.Pages().FinishedPageCount();
        }
        if (preview->RunGoingOn())
            return;
        completeMs = static_cast<double>(clock.nsecsElapsed()) / 1e6;
        preview->ExitButton->trigger();
    });
    for (auto _ : state) {
        shownMs = 0;
        watcher.start(0);
        clock.start();
        PreviewReport(job.form, job.printer, job.format, job.progress);
        watcher.stop();
        state.SetIterationTime(shownMs / 1e3);
    }
    state.counters["pages_at_showing"] = pagesAtShowing;
    state.counters["run_complete_ms"] = completeMs;
}
BENCHMARK(BM_PreviewFirstPageShown)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(3);

} // namespace

int main(int argc, char** argv) {
    PrepareHeadlessQt();
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    std::filesystem::remove_all(ScratchDirectory());
    return 0;
}
