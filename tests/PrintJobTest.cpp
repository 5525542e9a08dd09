#include "ui/Prntset.h"

#include "output/Prnt.h"
#include "platform/MessageBox.h"
#include "tests/support/RegistryScope.h"
#include "tests/support/TempDir.h"
#include "ui/Main.h"
#include "ui/Progress.h"
#include "ui/Startup.h"

#include <gtest/gtest.h>

#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <sys/resource.h>

using namespace pembrill;
using pembrill::test::CrLf;

namespace {

// The whole program's windows on an opened project of two units, with the
// job's temporary directory of its own.
class PrintJobTest : public testing::Test {
protected:
    PrintJobTest() {
        ::setenv("TMPDIR", Temp.Path.c_str(), 1);
        CreateWindows(Splash::Hidden);
        Project.Write("P.dpr",
                      CrLf({"program P;", "uses", "  A in 'A.pas' {FormA},", "  B in 'B.pas';",
                            "begin", "  Application.CreateForm(TFormA, FormA);", "end."}));
        Project.Write("A.pas", CrLf({"unit A;", "interface", "uses B;", "end."}));
        Project.Write("B.pas", std::string(20000, 'x') + "\r\n");
        MainForm->OpenProject(Project / "P.dpr");
        PrintSetupForm->ProjectFileName = MainForm->Project.ProjectFileName;
        PrintSetupForm->SectionsSink = [this](const TPrintForm& job) {
            Sections = job.PrintFiles.size();
            for (const auto& path : job.PrintFiles)
                FilesExisted = FilesExisted && std::filesystem::exists(path);
        };
        Messages.Messages.clear();
    }

    ~PrintJobTest() override {
        DestroyWindows();
        ::unsetenv("TMPDIR");
    }

    bool TempIsEmpty() const { return std::filesystem::is_empty(Temp.Path); }

    test::RegistryScope Registry;
    test::TempDir Temp;
    test::TempDir Project;
    RecordingMessageSink Messages;
    ScopedMessageSink Install{Messages};
    size_t Sections = 0;
    bool FilesExisted = true;
};

} // namespace

TEST_F(PrintJobTest, PrintFilesExistForTheRunAndAreGoneAfterIt) {
    PrintSetupForm->DependencyFilterRadioButton->click();
    PrintSetupForm->SourceAllRadioButton->click();
    EXPECT_TRUE(PrintSetupForm->AssemblePrintJob(false));
    EXPECT_EQ(Messages.Transcript(), "");
    EXPECT_EQ(Sections, 4u);
    EXPECT_TRUE(FilesExisted);
    EXPECT_TRUE(TempIsEmpty());
    EXPECT_FALSE(ProgressForm->isVisible());
}

TEST_F(PrintJobTest, ASectionWhoseFileCannotBeMadeIsSkipped) {
    ::setenv("TMPDIR", (Temp / "missing").c_str(), 1);
    PrintSetupForm->SourceAllRadioButton->click();
    EXPECT_FALSE(PrintSetupForm->AssemblePrintJob(false));
    EXPECT_EQ(Messages.Transcript(), "Error: Error opening temp file\n"
                                     "Error: Error opening temp file\n"
                                     "Error: Error opening temp file\n"
                                     "Information: You have not selected anything to print\n");
    EXPECT_EQ(Sections, 0u);
    EXPECT_FALSE(ProgressForm->isVisible());
}

// A disk that fills up part way: the file size limit makes the long unit's
// listing fail, as a full disk would.
TEST_F(PrintJobTest, AWriteThatFailsEndsTheJobAndLeavesNoFile) {
    PrintSetupForm->SourceAllRadioButton->click();
    rlimit previous{};
    getrlimit(RLIMIT_FSIZE, &previous);
    const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = previous;
    small.rlim_cur = 10000;
    setrlimit(RLIMIT_FSIZE, &small);
    const bool ran = PrintSetupForm->AssemblePrintJob(false);
    setrlimit(RLIMIT_FSIZE, &previous);
    std::signal(SIGXFSZ, previousHandler);

    EXPECT_FALSE(ran);
    EXPECT_EQ(Messages.Transcript(), "Error: File too large\n");
    EXPECT_EQ(Sections, 0u);
    EXPECT_TRUE(TempIsEmpty());
    EXPECT_FALSE(ProgressForm->isVisible());
}
