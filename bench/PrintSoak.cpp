// A long run: opens, analyses and prints a project to PDF many times in one
// process, pressing the same buttons a user would, and checks that nothing
// piles up: memory after the last round against memory after the first, print
// files left in the temporary directory, converter processes not waited for.
//
//     PrintSoak PROJECT_DIR DFMCONVERT [ROUNDS]
//
// The project directory is copied first (Analyze writes the text forms beside
// the form files), the copy's .dpr is opened, and DFMCONVERT is registered as
// the form converter in a registry of the run's own. Every section is
// printed: the dependency tree, all sources, all objects with their
// properties. Exit status 0 when every check held, 1 otherwise.

#include "app/Headless.h"
#include "output/Printer.h"
#include "platform/MessageBox.h"
#include "tests/support/PdfFileAnswer.h"
#include "ui/Main.h"
#include "ui/Prntset.h"
#include "ui/Startup.h"

#include <QApplication>
#include <QPrinter>

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <malloc.h>
#include <string>
#include <sys/wait.h>

using namespace pembrill;
namespace fs = std::filesystem;

namespace {

// Anything over this much growth from the first round to the last is taken
// for memory that accumulates.
constexpr long AllowedGrowthKb = 4 * 1024;

// The resident set of the process, after handing freed memory back, so that
// what is measured is what is still in use.
long ResidentKb() {
    malloc_trim(0);
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind("VmRSS:", 0) == 0)
            return std::stol(line.substr(6));
    return -1;
}

// The run's own directory: the project's copy, the registry, the temporary
// directory for print files and the PDF. Removed at the end.
struct RunDirectory {
    RunDirectory() {
        const char* tmp = std::getenv("TMPDIR");
        std::string pattern = std::string(tmp && *tmp ? tmp : "/tmp") + "/pembrill-soak-XXXXXX";
        if (!mkdtemp(pattern.data()))
            throw fs::filesystem_error("cannot make the run's directory",
                                       std::error_code(errno, std::generic_category()));
        Path = pattern;
    }
    ~RunDirectory() {
        std::error_code ignored;
        fs::remove_all(Path, ignored);
    }
    fs::path Path;
};

void WriteFile(const fs::path& path, const std::string& text) {
    fs::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << text;
}

// Registers the converter as a set-up would: HKLM's Delphi 2 key naming a
// directory whose bin/convert.exe runs it, and the settings key in HKCU.
void SetUpRegistry(const fs::path& run, const fs::path& converter) {
    const fs::path root = run / "delphi2";
    WriteFile(root / "bin/convert.exe", "#!/bin/sh\nexec '" + converter.string() + "' \"$@\"\n");
    fs::permissions(root / "bin/convert.exe", fs::perms::owner_all);
    WriteFile(run / "registry/HKEY_LOCAL_MACHINE.reg",
              "REGEDIT4\r\n\r\n[HKEY_LOCAL_MACHINE\\Software\\Borland\\Delphi\\2.0]\r\n"
              "\"Rootdir\"=\"" +
                  root.string() + "\"\r\n");
    WriteFile(run / "registry/HKEY_CURRENT_USER.reg",
              "REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\Software\\Haldover\\Pembrill]\r\n");
    ::setenv("PEMBRILL_REGISTRY", (run / "registry").c_str(), 1);
}

fs::path ProjectFileIn(const fs::path& directory) {
    for (const auto& entry : fs::directory_iterator(directory))
        if (entry.path().extension() == ".dpr")
            return entry.path();
    throw fs::filesystem_error("no .dpr file", directory,
                               std::make_error_code(std::errc::no_such_file_or_directory));
}

// One round as a user does it: Open, Analyze, Print with every section, and
// the PDF file named when Print asks for it.
void PrintRound(const fs::path& project) {
    MainForm->OpenProject(project.string());
    MainForm->AnalyzeButton->click();
    PrintSetupForm->ProjectFileName = MainForm->Project.ProjectFileName;
    PrintSetupForm->DependencyFilterRadioButton->click();
    PrintSetupForm->SourceAllRadioButton->click();
    PrintSetupForm->ObjectAllRadioButton->click();
    PrintSetupForm->ObjectPropertiesCheckBox->setChecked(true);
    // The PDF printer, as the printer set-up chooses it.
    ProgramPrinter().setOutputFormat(QPrinter::PdfFormat);
    PrintSetupForm->PrintButton->click();
}

int PrintFilesLeft(const fs::path& temp) {
    int count = 0;
    for (const auto& entry : fs::directory_iterator(temp))
        count += entry.path().filename().string().rfind("pbx", 0) == 0;
    return count;
}

// True when the process has no child, running or ended and not waited for.
bool NoChildProcess() {
    return waitpid(-1, nullptr, WNOHANG) == -1 && errno == ECHILD;
}

class CountingMessageSink : public MessageSink {
public:
    void Show(MessageKind kind, const std::string& text) override {
        if (Count++ < 10)
            std::fprintf(stderr, "%s\n", MessageLine(kind, text).c_str());
    }
    int Count = 0;
};

int Soak(const fs::path& projectDirectory, const fs::path& converter, int rounds) {
    RunDirectory run;
    fs::copy(projectDirectory, run.Path / "project", fs::copy_options::recursive);
    const fs::path project = ProjectFileIn(run.Path / "project");
    const fs::path temp = run.Path / "tmp";
    fs::create_directories(temp);
    ::setenv("TMPDIR", temp.c_str(), 1);
    SetUpRegistry(run.Path, fs::absolute(converter));
    CountingMessageSink messages;
    ScopedMessageSink install(messages);

    CreateWindows(Splash::Hidden);
    const auto start = std::chrono::steady_clock::now();
    long firstKb = 0;
    uintmax_t pdfBytes = 0;
    test::PdfFileAnswer answer;
    answer.Answer = QString::fromStdString((run.Path / "report.pdf").string());
    for (int round = 1; round <= rounds; ++round) {
        PrintRound(project);
        pdfBytes = fs::exists(run.Path / "report.pdf") ? fs::file_size(run.Path / "report.pdf") : 0;
        fs::remove(run.Path / "report.pdf");
        if (round == 1)
            firstKb = ResidentKb();
    }
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    const long lastKb = ResidentKb();
    DestroyWindows();

    const int filesLeft = PrintFilesLeft(temp);
    const bool noChild = NoChildProcess();
    std::printf("rounds: %d in %.1f s (%.0f ms a round)\n", rounds, seconds,
                1000 * seconds / rounds);
    std::printf("PDF of the last round: %ju bytes\n", pdfBytes);
    std::printf("resident memory after round 1: %ld kB, after round %d: %ld kB (%+ld kB)\n",
                firstKb, rounds, lastKb, lastKb - firstKb);
    std::printf("print files left: %d; converter processes left: %s; messages: %d\n", filesLeft,
                noChild ? "none" : "some", messages.Count);
    const bool held = pdfBytes > 0 && lastKb - firstKb <= AllowedGrowthKb && filesLeft == 0 &&
                      noChild && messages.Count == 0;
    std::printf("%s\n", held ? "soak passed" : "soak FAILED");
    return held ? 0 : 1;
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 3 || argc > 4) {
        std::fprintf(stderr, "usage: PrintSoak PROJECT_DIR DFMCONVERT [ROUNDS]\n");
        return 2;
    }
    PrepareHeadlessQt();
    int qtArgc = 1;
    QApplication application(qtArgc, argv);
    return Soak(argv[1], argv[2], argc == 4 ? std::atoi(argv[3]) : 500);
}
