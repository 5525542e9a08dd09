#include "source/Project.h"

#include "platform/MessageBox.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

using namespace pembrill;
using pembrill::test::CrLf;
using pembrill::test::TempDir;

namespace {

std::string Joined(const std::vector<std::string>& items) {
    std::string text;
    for (const auto& item : items)
        text += "[" + item + "]";
    return text;
}

// A project read into memory lists, with the messages it gave.
struct OpenedProject {
    OpenedProject(const std::string& projectFileName) {
        ScopedMessageSink install(Messages);
        Model.ProjectFileName = projectFileName;
        ReadProject(Model, Lists);
    }

    ProjectModel Model;
    MemoryStringList Source{true}, Unused{true}, Show{true}, Suppress{true};
    ProjectLists Lists{Source, Unused, Show, Suppress};
    RecordingMessageSink Messages;
};

const std::string DemoProject = CrLf({
    "program Demo;",
    "",
    "uses",
    "  Forms,",
    "  Unit1 in 'Unit1.pas' {Form1},",
    "  Data in 'Data.pas' {DataModule1: TDataModule},",
    "  Unit2 in 'Unit2.pas' {Form2},",
    "  Helpers in 'Helpers.pas';",
    "",
    "{$R *.RES}",
    "",
    "begin",
    "  Application.Initialize;",
    "  Application.CreateForm(TDataModule1, DataModule1);",
    "  Application.CreateForm(TForm1, Form1);",
    "  Application.CreateForm(TForm2, Form2);",
    "  Application.Run;",
    "end.",
});

} // namespace

TEST(ProjectTest, ReadsUnitsFormsMainFormAndDependencies) {
    TempDir dir;
    const auto dpr = dir.Write("Demo.dpr", DemoProject);
    dir.Write("Unit1.pas", CrLf({"unit Unit1;", "interface", "uses Windows, SysUtils, Unit2;",
                                 "implementation", "uses Helpers, Dialogs;", "end."}));
    dir.Write("Unit2.pas", CrLf({"unit Unit2;", "interface", "uses Classes;", "end."}));
    dir.Write("Data.pas", CrLf({"unit Data;", "interface", "uses DB, sysutils;", "end."}));
    dir.Write("Helpers.pas", CrLf({"unit Helpers;", "interface", "end."}));
    dir.Write("Old.PAS", "unit Old;\r\n");
    dir.Write("HELPERS.pas.bak", "");

    OpenedProject project(dpr);

    EXPECT_EQ(project.Messages.Transcript(), "");
    EXPECT_EQ(Joined(project.Model.UnitNames), "[Unit1][Data][Unit2][Helpers]");
    EXPECT_EQ(Joined(project.Model.FormNames), "[Form1][DataModule1][Form2][]");
    EXPECT_EQ(Joined(project.Model.UnitFiles), "[Unit1.pas][Data.pas][Unit2.pas][Helpers.pas]");
    EXPECT_EQ(project.Model.MainFormName, "Form1");
    EXPECT_EQ(Joined(project.Source.Items()), "[                    Demo.dpr]"
                                              "[                    Helpers.pas]"
                                              "[DataModule1         Data.pas]"
                                              "[Form1               Unit1.pas]"
                                              "[Form2               Unit2.pas]");
    EXPECT_TRUE(project.Source.Selected(0));
    EXPECT_FALSE(project.Source.Selected(1));
    EXPECT_EQ(Joined(project.Show.Items()), "[Data][Helpers][Unit1][Unit2]");
    // Data.pas comes before Unit1.pas in the source list, so its spelling wins.
    EXPECT_EQ(Joined(project.Suppress.Items()), "[Classes][DB][Dialogs][Forms][sysutils][Windows]");
    EXPECT_EQ(Joined(project.Unused.Items()), "[Old.PAS]");
}

TEST(ProjectTest, SplitsSourceEntries) {
    std::string form, file;
    SplitSourceEntry("Form1               Unit1.pas", form, file);
    EXPECT_EQ(form + "|" + file, "Form1|Unit1.pas");
    SplitSourceEntry("                    Project1.dpr", form, file);
    EXPECT_EQ(form + "|" + file, "|Project1.dpr");
    SplitSourceEntry("Unit3.pas", form, file);
    EXPECT_EQ(form + "|" + file, "|Unit3.pas");
    SplitSourceEntry("                    My Project.dpr", form, file);
    EXPECT_EQ(form + "|" + file, "|My Project.dpr");
    SplitSourceEntry("Form1               Tool Box.pas  ", form, file);
    EXPECT_EQ(form + "|" + file, "Form1|Tool Box.pas");
    EXPECT_EQ(UnitSourceEntry("AVeryLongFormNameIndeed", "U.pas"),
              "AVeryLongFormNameIndeed  U.pas");
}

TEST(ProjectTest, FindInListIgnoresOnlyAsciiCase) {
    int index = 7;
    EXPECT_TRUE(FindInList("UNIT2", std::vector<std::string>{"a", "Unit2", "unit2"}, index));
    EXPECT_EQ(index, 1);
    EXPECT_FALSE(FindInList("\xC9t\xE9", std::vector<std::string>{"\xE9t\xE9"}, index));
    EXPECT_EQ(index, -1);
}

TEST(ProjectTest, LibraryUnitsOnlyLeaveTheProjectEntryAlone) {
    TempDir dir;
    OpenedProject project(
        dir.Write("P.dpr", CrLf({"program P;", "uses Forms, Windows;", "begin", "end."})));
    EXPECT_EQ(Joined(project.Source.Items()), "[                    P.dpr]");
    EXPECT_EQ(Joined(project.Suppress.Items()), "[Forms][Windows]");
    EXPECT_EQ(project.Messages.Transcript(), "Warning: Could not determine Main form of project\n");
}

TEST(ProjectTest, DuplicateUnitInOtherCaseKeepsTheFirst) {
    TempDir dir;
    dir.Write("A.pas", "unit A;\r\n");
    OpenedProject project(dir.Write(
        "P.dpr", CrLf({"program P;", "uses A in 'A.pas' {FormA}, a in 'Other.pas' {FormB};",
                       "begin", "Application.CreateForm(TFormA, FormA);", "end."})));
    EXPECT_EQ(Joined(project.Model.UnitFiles), "[A.pas]");
    EXPECT_EQ(project.Model.MainFormName, "FormA");
}

TEST(ProjectTest, DataModuleAloneEndsAsMainFormNameWithoutMessage) {
    TempDir dir;
    dir.Write("D.pas", "unit D;\r\n");
    OpenedProject project(
        dir.Write("P.dpr", CrLf({"program P;", "uses D in 'D.pas' {DM: TDataModule};", "begin",
                                 "Application.CreateForm(TDM, DM);", "end."})));
    EXPECT_EQ(project.Model.MainFormName, "DM");
    EXPECT_EQ(project.Messages.Transcript(), "");
}

TEST(ProjectTest, StrayTokenEndsTheUsesList) {
    TempDir dir;
    dir.Write("A.pas", "unit A;\r\n");
    OpenedProject project(
        dir.Write("P.dpr", CrLf({"program P;", "uses A in 'A.pas' stray, B in 'B.pas' {FormB};",
                                 "begin", "Application.CreateForm(TFormA, A);", "end."})));
    EXPECT_EQ(Joined(project.Model.UnitNames), "[A]");
    EXPECT_EQ(Joined(project.Model.FormNames), "[]");
    // "A" was taken as the name but is no form of a plain entry.
    EXPECT_EQ(project.Model.MainFormName, "A");
}

TEST(ProjectTest, LeadingBraceCommentIsScannedAsCode) {
    TempDir dir;
    OpenedProject project(
        dir.Write("P.dpr", CrLf({"{ this project uses Secret; }", "program P;", "begin", "end."})));
    EXPECT_EQ(Joined(project.Suppress.Items()), "[Secret]");
}

TEST(ProjectTest, MissingUnitFileStopsTheUsesScan) {
    TempDir dir;
    dir.Write("A.pas", CrLf({"unit A;", "uses LibA;"}));
    dir.Write("C.pas", CrLf({"unit C;", "uses LibC;"}));
    OpenedProject project(dir.Write(
        "P.dpr",
        CrLf({"program P;", "uses A in 'A.pas', B in 'B.pas', C in 'C.pas';", "begin", "end."})));
    EXPECT_EQ(Joined(project.Suppress.Items()), "[LibA]");
    EXPECT_EQ(project.Messages.Transcript(), "Warning: Could not determine Main form of project\n"
                                             "Error: Can not open file: \\r\\r" +
                                                 dir.Path + "/B.pas\n");
}

TEST(ProjectTest, UnitInSubfolderNamedWithBackslashes) {
    TempDir dir;
    dir.Write("Sub/Deep.pas", CrLf({"unit Deep;", "uses DeepLib;"}));
    const auto dpr =
        dir.Write("P.dpr", CrLf({"program P;", "uses Deep in 'sub\\deep.pas';", "begin", "end."}));
    // The Open dialog leaves the working directory at the project's.
    const auto previous = std::filesystem::current_path();
    std::filesystem::current_path(dir.Path);
    OpenedProject project(dpr);
    std::filesystem::current_path(previous);
    EXPECT_EQ(Joined(project.Suppress.Items()), "[DeepLib]");
}

TEST(ProjectTest, UnopenableProjectLeavesOnlyItsEntry) {
    TempDir dir;
    std::filesystem::create_directory(dir / "x.dpr");
    OpenedProject project(dir / "x.dpr");
    EXPECT_EQ(Joined(project.Source.Items()), "[                    x.dpr]");
    EXPECT_EQ(project.Messages.Transcript(),
              "Error: Can not open file: \\r\\r" + dir.Path + "/x.dpr\n");
}
