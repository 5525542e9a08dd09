#include "report/PrintJob.h"

#include "platform/MessageBox.h"
#include "tests/support/FakeProgress.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <sys/resource.h>

using namespace pembrill;
using pembrill::test::CrLf;

namespace {

// An opened project of two units, with the job's temporary directory of its
// own.
class PrintJobTest : public testing::Test {
protected:
    PrintJobTest() {
        ::setenv("TMPDIR", Temp.Path.c_str(), 1);
        Project.Write("P.dpr",
                      CrLf({"program P;", "uses", "  A in 'A.pas' {FormA},", "  B in 'B.pas';",
                            "begin", "  Application.CreateForm(TFormA, FormA);", "end."}));
        Project.Write("A.pas", CrLf({"unit A;", "interface", "uses B;", "end."}));
        Project.Write("B.pas", std::string(20000, 'x') + "\r\n");
        Model.ProjectFileName = Project / "P.dpr";
        ReadProject(Model, Lists);
        Choices.Sources = ReportChoice::All;
        Choices.DependencyFont = {"Courier New", "10"};
        Choices.SourceFont = {"Arial", "12"};
    }

    ~PrintJobTest() override { ::unsetenv("TMPDIR"); }

    bool Build(PrintJob& job) {
        return BuildPrintJob(
            {Model, Model.ProjectFileName, SourceList, Objects, ShowList, SelectedTypes, Progress},
            Choices, job);
    }

    bool TempIsEmpty() const { return std::filesystem::is_empty(Temp.Path); }

    test::TempDir Temp;
    test::TempDir Project;
    RecordingMessageSink Messages;
    ScopedMessageSink Install{Messages};
    ProjectModel Model;
    MemoryStringList SourceList{true};
    MemoryStringList UnusedList{true};
    MemoryStringList ShowList{true};
    MemoryStringList SuppressList{true};
    ProjectLists Lists{SourceList, UnusedList, ShowList, SuppressList};
    ObjectTree Objects;
    MemoryStringList SelectedTypes{false};
    test::FakeProgress Progress;
    PrintJobChoices Choices;
};

} // namespace

TEST_F(PrintJobTest, PrintFilesLiveAsLongAsTheJob) {
    Choices.Dependencies = true;
    {
        PrintJob job;
        EXPECT_TRUE(Build(job));
        EXPECT_EQ(Messages.Transcript(), "");
        ASSERT_EQ(job.Sections().size(), 4u);
        std::vector<std::string> footers;
        for (const PrintSection& section : job.Sections()) {
            EXPECT_TRUE(std::filesystem::exists(section.PrintFile));
            footers.push_back(section.FooterFileName + " " + section.Font.Name + " " +
                              section.Font.Size);
        }
        EXPECT_EQ(footers,
                  std::vector<std::string>({"Source Dependencies Courier New 10", "B.pas Arial 12",
                                            "P.dpr Arial 12", "A.pas Arial 12"}));
        EXPECT_EQ(job.Sections()[1].HeaderText, "Source Code for: " + Model.ProjectFileName);
        EXPECT_FALSE(Progress.Visible);
    }
    EXPECT_TRUE(TempIsEmpty());
}

TEST_F(PrintJobTest, ASectionWhoseFileCannotBeMadeIsSkipped) {
    ::setenv("TMPDIR", (Temp / "missing").c_str(), 1);
    PrintJob job;
    EXPECT_FALSE(Build(job));
    EXPECT_EQ(Messages.Transcript(), "Error: Error opening temp file\n"
                                     "Error: Error opening temp file\n"
                                     "Error: Error opening temp file\n"
                                     "Information: You have not selected anything to print\n");
    EXPECT_FALSE(Progress.Visible);
}

// A disk that fills up part way: the file size limit makes the long unit's
// listing fail, as a full disk would.
TEST_F(PrintJobTest, AWriteThatFailsEndsTheJobAndLeavesNoFile) {
    rlimit previous{};
    getrlimit(RLIMIT_FSIZE, &previous);
    const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = previous;
    small.rlim_cur = 10000;
    bool built = true;
    {
        PrintJob job;
        setrlimit(RLIMIT_FSIZE, &small);
        built = Build(job);
        setrlimit(RLIMIT_FSIZE, &previous);
    }
    std::signal(SIGXFSZ, previousHandler);

    EXPECT_FALSE(built);
    EXPECT_EQ(Messages.Transcript(), "Error: File too large\n");
    EXPECT_TRUE(TempIsEmpty());
    EXPECT_FALSE(Progress.Visible);
}
