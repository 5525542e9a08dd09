#include "report/DependencyReport.h"

#include "platform/MessageBox.h"
#include "tests/support/FakeProgress.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

using namespace pembrill;
using pembrill::test::CrLf;
using pembrill::test::FakeProgress;
using pembrill::test::TempDir;

namespace {

// The three-unit project of the worked example: Unit1 (Form1, the main form)
// uses Windows, SysUtils and Unit2, and Unit3 in its implementation; Unit2
// (Form2) uses Unit3 and Unit1; Unit3 has no form and uses SysUtils.
class DependencyReportTest : public testing::Test {
protected:
    DependencyReportTest() {
        Model.ProjectFileName = Dir / "Project1.dpr";
        Model.UnitNames = {"Unit1", "Unit2", "Unit3"};
        Model.FormNames = {"Form1", "Form2", ""};
        Model.UnitFiles = {"Unit1.pas", "Unit2.pas", "Unit3.pas"};
        Model.MainFormName = "Form1";
        Dir.Write("Unit1.pas", CrLf({"unit Unit1;", "interface", "uses Windows, SysUtils, Unit2;",
                                     "implementation", "uses Unit3;", "end."}));
        Dir.Write("Unit2.pas", CrLf({"unit Unit2;", "interface", "uses Unit3, Unit1;", "end."}));
        Dir.Write("Unit3.pas", CrLf({"unit Unit3;", "interface", "uses SysUtils;", "end."}));
        for (const auto& name : Model.UnitNames)
            Show.Add(name);
    }

    std::string Report(const std::string& levels = "0") {
        ScopedMessageSink install(Messages);
        StringLineSink sink;
        WriteDependencyReport({Model, Model.ProjectFileName, levels, Show, Progress}, sink);
        return sink.Text;
    }

    static std::string Lines(std::initializer_list<std::string> lines) { return CrLf(lines); }

    TempDir Dir;
    ProjectModel Model;
    MemoryStringList Show{true};
    FakeProgress Progress;
    RecordingMessageSink Messages;
};

const std::string FormTable = CrLf({
    "Form                 Source File",
    "-------------        -------------",
    "                     Unit3.pas",
    "Form1                Unit1.pas",
    "Form2                Unit2.pas",
    "",
    "",
});

} // namespace

TEST_F(DependencyReportTest, WorkedExample) {
    EXPECT_EQ(Report(),
              FormTable + Lines({"Dependencies", "----------------------", "Form1", "   Form2",
                                 "      unit3", "      Form1 (circular)", "   unit3"}));
    EXPECT_EQ(Messages.Transcript(), "");
    // One dot per unit file turned to: Unit1, Unit2, Unit3 under Unit2, Unit3.
    EXPECT_EQ(Progress.Lower, "....");
}

TEST_F(DependencyReportTest, LevelsLimitTheTreeAndExtendTheHeading) {
    EXPECT_EQ(Report("1"), FormTable + Lines({"Dependencies (to a max of 1 levels)",
                                              "----------------------------------------------",
                                              "Form1", "   Form2", "   unit3"}));
    EXPECT_EQ(Report("-3"), FormTable + Lines({"Dependencies", "----------------------", "Form1",
                                               "   Form2", "   unit3"}));
    EXPECT_EQ(Report("5x"), Report("0"));
}

TEST_F(DependencyReportTest, ShowListDecidesWhatIsWrittenAndEntered) {
    Show.Delete(1); // Unit2 suppressed: its subtree goes with it
    Show.Add("SysUtils");
    EXPECT_EQ(Report(), FormTable + Lines({"Dependencies", "----------------------", "Form1",
                                           "   sysutils", "   unit3", "      sysutils"}));
}

TEST_F(DependencyReportTest, MissingUnitFileKeepsItsLineAndReportsOnEveryPath) {
    std::filesystem::remove(Dir / "Unit3.pas");
    EXPECT_EQ(Report(),
              FormTable + Lines({"Dependencies", "----------------------", "Form1", "   Form2",
                                 "      unit3", "      Form1 (circular)", "   unit3"}));
    const std::string message = "Error: Can not open file: \\r\\r" + Dir.Path + "/Unit3.pas\n";
    EXPECT_EQ(Messages.Transcript(), message + message);
}

TEST_F(DependencyReportTest, UnitNamingItselfIsCircular) {
    Dir.Write("Unit3.pas", CrLf({"unit Unit3;", "uses Unit3;"}));
    const std::string report = Report();
    EXPECT_NE(report.find("\r\n         unit3 (circular)\r\n"), std::string::npos) << report;
}

TEST_F(DependencyReportTest, MainFormNotAmongFormsEndsAfterTheHeading) {
    Model.MainFormName = "Nowhere";
    EXPECT_EQ(Report(), FormTable + Lines({"Dependencies", "----------------------"}));
    EXPECT_EQ(Messages.Transcript(), "Error: Internal error - main formname conflict\n");
}

TEST_F(DependencyReportTest, DotsStartAgainAfterTwentyOne) {
    Progress.Lower = std::string(20, '.');
    Report();
    EXPECT_EQ(Progress.Lower, "..");
}

// Unit1 uses itself through a thousand others: the walk goes a thousand and
// one levels down, one line each, and stops at the circle.
TEST_F(DependencyReportTest, ACircleThroughAThousandUnitsEndsAtItsStart) {
    constexpr int Units = 1001;
    Model.UnitNames.clear();
    Model.FormNames.clear();
    Model.UnitFiles.clear();
    Show.Clear();
    for (int i = 1; i <= Units; ++i) {
        const std::string name = "Unit" + std::to_string(i);
        const std::string next = "Unit" + std::to_string(i % Units + 1);
        Model.UnitNames.push_back(name);
        Model.FormNames.push_back(i == 1 ? "Form1" : "");
        Model.UnitFiles.push_back(name + ".pas");
        Dir.Write(name + ".pas", CrLf({"unit " + name + ";", "uses SysUtils, " + next + ";"}));
        Show.Add(name);
    }

    const std::string report = Report();
    const size_t tree = report.find("Form1\r\n", report.find("-------\r\n"));
    ASSERT_NE(tree, std::string::npos);
    std::string expected = "Form1\r\n";
    for (int i = 2; i <= Units; ++i)
        expected += std::string(3 * (i - 1), ' ') + "unit" + std::to_string(i) + "\r\n";
    expected += std::string(3 * Units, ' ') + "Form1 (circular)\r\n";
    EXPECT_EQ(report.substr(tree), expected);
    EXPECT_EQ(Messages.Transcript(), "");
}
