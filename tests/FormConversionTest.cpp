#include "forms/FormConversion.h"

#include "forms/Converter.h"
#include "platform/Files.h"
#include "platform/MessageBox.h"
#include "source/Project.h"
#include "tests/support/Environment.h"
#include "tests/support/RegistryScope.h"
#include "tests/support/SystemRegistry.h"
#include "tests/support/TempDir.h"
#include "tests/support/TreeDump.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>

using namespace pembrill;
using pembrill::test::CrLf;
using pembrill::test::TempDir;
using pembrill::test::TreeDump;

namespace {

namespace fs = std::filesystem;

std::string ReadAll(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}

std::string FormText(const std::string& name) {
    return CrLf({"object " + name + ": T" + name, "  Left = 1", "end"});
}

#ifndef _WIN32 // for the shell script converters
void SetWriteTime(const std::string& path, time_t seconds, long nanoseconds) {
    test::SetLastWriteTime(path,
                           std::chrono::seconds(seconds) + std::chrono::nanoseconds(nanoseconds));
}
#endif

// A project directory with a fake converter: a shell script that logs each
// call (working directory, argument count, arguments) and then runs `body`
// with the form file's name as $1 and its base name as $base.
class FormConversionTest : public ::testing::Test {
protected:
    std::string Converter(const std::string& body) {
        const std::string path = Dir.Write("bin/convert.exe", "#!/bin/sh\n"
                                                              "printf '%s|%s|%s\\n' \"$(pwd -P)\" "
                                                              "\"$#\" \"$*\" >> '" +
                                                                  Dir / "calls.log" +
                                                                  "'\n"
                                                                  "base=\"${1%.*}\"\n" +
                                                                  body + "\n");
        fs::permissions(path, fs::perms::owner_all);
        return path;
    }

    std::string Analyze(const std::vector<std::string>& entries, const std::string& converter,
                        AnalyzeMonitor* monitor = nullptr) {
        MemoryStringList sourceList(true);
        for (const auto& entry : entries)
            sourceList.Add(entry);
        ScopedMessageSink install(Messages);
        AnalyzeForms(
            sourceList, Project, converter, Tree, [this] { ++Repaints; }, monitor);
        return Messages.Transcript();
    }

    std::string Calls() const { return ReadAll(Dir / "calls.log"); }
    std::string Here() const { return fs::canonical(Dir.Path).string(); }

    TempDir Dir;
    std::string Project = Dir.Write("Demo.dpr", "program Demo;\r\n");
    ObjectTree Tree;
    RecordingMessageSink Messages;
    int Repaints = 0;
};

const std::string CopyingConverter = "cp \"$1\" \"$base.txt\"";

} // namespace

#ifndef _WIN32 // a shell script for a converter
TEST_F(FormConversionTest, ConvertsTheFormOfEveryFormEntryInListOrder) {
    Dir.Write("Unit1.dfm", FormText("Form1"));
    Dir.Write("Unit2.dfm", FormText("Form2"));
    Dir.Write("Helpers.dfm", FormText("Helpers"));
    Dir.Write("Demo.dfm", FormText("Demo"));

    const std::string messages =
        Analyze({ProjectSourceEntry(Project), UnitSourceEntry("", "Helpers.pas"),
                 UnitSourceEntry("Form2", "Unit2.pas"), UnitSourceEntry("Form1", "Unit1.pas")},
                Converter(CopyingConverter));

    EXPECT_EQ(messages, "");
    EXPECT_EQ(Calls(), Here() + "|1|Unit1.dfm\n" + Here() + "|1|Unit2.dfm\n");
    // The window is redrawn after each converter run.
    EXPECT_EQ(Repaints, 2);
    EXPECT_EQ(TreeDump(Tree), "1 1 Form1:  TForm1\n\tLeft = 1\n2 1 Form2:  TForm2\n\tLeft = 1\n");
    EXPECT_EQ(ReadAll(Dir / "Unit1.txt"), FormText("Form1"));
}

// Cancel between forms: the tree holds the forms before it, as if the list
// had ended there. A skipped form counts as a form in hand.
class CancellingMonitor : public AnalyzeMonitor {
public:
    explicit CancellingMonitor(int cancelAfter) : CancelAfter(cancelAfter) {}
    void FormBegun(int number, int count, const std::string& formName) override {
        Seen += std::to_string(number) + "/" + std::to_string(count) + " " + formName + "\n";
    }
    bool CancelRequested() override { return ++Asked == CancelAfter; }

    int CancelAfter;
    int Asked = 0;
    std::string Seen;
};

TEST_F(FormConversionTest, TheMonitorSeesEachFormAndACancelEndsTheListThere) {
    for (const char* name : {"Unit1", "Unit3", "Unit4"})
        Dir.Write(std::string(name) + ".dfm", FormText(std::string("Form") + (name + 4)));
    CancellingMonitor monitor(3);

    const std::string messages =
        Analyze({ProjectSourceEntry(Project), UnitSourceEntry("Form1", "Unit1.pas"),
                 UnitSourceEntry("Form2", "Missing.pas"), UnitSourceEntry("", "Helpers.pas"),
                 UnitSourceEntry("Form3", "Unit3.pas"), UnitSourceEntry("Form4", "Unit4.pas")},
                Converter(CopyingConverter), &monitor);

    EXPECT_EQ(monitor.Seen, "1/4 Form1\n2/4 Form2\n3/4 Form3\n");
    EXPECT_EQ(TreeDump(Tree), "1 1 Form1:  TForm1\n\tLeft = 1\n2 1 Form3:  TForm3\n\tLeft = 1\n");
    EXPECT_EQ(messages, "Error: Could not open the unit \\r\\r" + Dir / "Missing.dfm" + "\n");
    EXPECT_EQ(Calls(), Here() + "|1|Unit1.dfm\n" + Here() + "|1|Unit3.dfm\n");
}

TEST_F(FormConversionTest, SkipsFailingFormsWithAMessageEachAndGoesOn) {
    for (const char* name : {"Good1", "Quiet", "Broken", "Good2"})
        Dir.Write(std::string(name) + ".dfm", FormText(name));
    const std::string converter =
        Converter("case \"$1\" in\n"
                  "Good*) cp \"$1\" \"$base.txt\" ;;\n"
                  "Broken*) printf 'unit Broken;\\r\\n' > \"$base.txt\" ;;\n"
                  "esac");

    const std::string messages =
        Analyze({UnitSourceEntry("FormA", "Good1.pas"), UnitSourceEntry("FormB", "Missing.pas"),
                 UnitSourceEntry("FormC", "Quiet.pas"), UnitSourceEntry("FormD", "Broken.pas"),
                 UnitSourceEntry("FormE", "Good2.pas")},
                converter);

    EXPECT_EQ(messages,
              "Error: Could not open the unit \\r\\r" + Dir / "Missing.dfm" +
                  "\n"
                  "Error: Could not create the unit's object text file. A possible reason is that "
                  "you do not have write permission in the directory or the text file is marked "
                  "as read-only. No objects will be reported for this form.\\r\\rUnit: " +
                  Dir / "Quiet.dfm" + "\\r\\rTextfile: " + Dir / "Quiet.txt" +
                  "\n"
                  "Error: File " +
                  Dir / "Broken.txt" + " has unrecognized format.\n");
    EXPECT_EQ(TreeDump(Tree), "1 1 Good1:  TGood1\n\tLeft = 1\n2 1 Good2:  TGood2\n\tLeft = 1\n");
    EXPECT_FALSE(fs::exists(Dir / "Quiet.txt"));
}
#endif

TEST_F(FormConversionTest, ConverterThatCannotStartLeavesTheFormUnconverted) {
    Dir.Write("Unit1.dfm", FormText("Form1"));

    const std::string messages =
        Analyze({UnitSourceEntry("Form1", "Unit1.pas")}, Dir / "bin/missing.exe");

    EXPECT_EQ(messages, "Error: CreateProcess failed:2\n"
                        "Error: Could not convert " +
                            Dir / "Unit1.dfm" + " to text format\n");
    EXPECT_EQ(Tree.Count(), 0);
}

#ifndef _WIN32 // a shell script for a converter
TEST_F(FormConversionTest, ExitCodeOfTheConverterIsNotJudged) {
    Dir.Write("Unit1.dfm", FormText("Form1"));

    const std::string messages =
        Analyze({UnitSourceEntry("Form1", "Unit1.pas")}, Converter(CopyingConverter + "\nexit 3"));

    EXPECT_EQ(messages, "");
    EXPECT_EQ(Tree.Count(), 1);
}

// One argument, never split at blanks; names from the project file may use
// backslashes and another case than the disk.
TEST_F(FormConversionTest, FindsFormFilesNamedWithBlanksBackslashesOrOtherCase) {
    Project = Dir.Write("my forms/Demo.dpr", "program Demo;\r\n");
    Dir.Write("my forms/Unit 1.dfm", FormText("Form1"));
    Dir.Write("my forms/Sub/Unit2.dfm", FormText("Form2"));
    std::string elsewhere = Dir / "my forms/sub/UNIT2.PAS";
    std::replace(elsewhere.begin(), elsewhere.end(), '/', '\\');

    const std::string messages =
        Analyze({UnitSourceEntry("Form1", "Unit 1.pas"), UnitSourceEntry("Form2", elsewhere)},
                Converter(CopyingConverter));

    EXPECT_EQ(messages, "");
    EXPECT_EQ(Calls(),
              Here() + "/my forms|1|Unit 1.dfm\n" + Here() + "/my forms/Sub|1|Unit2.dfm\n");
    EXPECT_EQ(TreeDump(Tree), "1 1 Form1:  TForm1\n\tLeft = 1\n2 1 Form2:  TForm2\n\tLeft = 1\n");
}

// Both times lie in one two-second step; only the full time tells them
// apart.
TEST_F(FormConversionTest, TextFormFileRewrittenWithinTheSameSecondCountsAsNew) {
    Dir.Write("Unit1.dfm", FormText("Form1"));
    const std::string old = Dir.Write("Unit1.txt", FormText("Old"));
    SetWriteTime(old, 1600000000, 0);

    const std::string messages =
        Analyze({UnitSourceEntry("Form1", "Unit1.pas")},
                Converter(CopyingConverter + "\n" + "touch -d @1600000000.5 \"$base.txt\""));

    EXPECT_EQ(messages, "");
    EXPECT_EQ(TreeDump(Tree), "1 1 Form1:  TForm1\n\tLeft = 1\n");
}

TEST_F(FormConversionTest, TextFormFileWithAnUnchangedTimeIsNotRead) {
    Dir.Write("Unit1.dfm", FormText("Form1"));
    const std::string old = Dir.Write("Unit1.txt", FormText("Old"));
    SetWriteTime(old, 1600000000, 500000000);

    const std::string messages =
        Analyze({UnitSourceEntry("Form1", "Unit1.pas")},
                Converter(CopyingConverter + "\n" + "touch -d @1600000000.5 \"$base.txt\""));

    EXPECT_NE(messages.find("Error: Could not create the unit's object text file."),
              std::string::npos);
    EXPECT_EQ(Tree.Count(), 0);
}
#endif

// The converter stand-in where a Delphi installation keeps it (a path with
// blanks), registered as the installation does (the system's registry on
// Windows), found, run for each form and waited for, and each text form
// judged by its age.
TEST_F(FormConversionTest, TheRegisteredConverterRunsForEachFormAndIsJudgedByItsTextForm) {
    const fs::path root = fs::path(Dir.Path) / "Delphi 2.0";
    fs::create_directories(root / "bin");
    fs::copy_file(TEST_CONVERTER_PROGRAM, root / "bin" / "convert.exe");
#ifdef _WIN32
    test::UnsetEnvironment("PEMBRILL_REGISTRY");
    const test::SystemRegistryKeyScope delphi(HKEY_CURRENT_USER, "Software\\Borland\\Delphi\\2.0");
    delphi.SetString("Rootdir", root.string());
#else
    const test::RegistryScope registry;
    registry.Dir.Write("HKEY_CURRENT_USER.reg",
                       CrLf({"REGEDIT4", "", "[HKEY_CURRENT_USER\\Software\\Borland\\Delphi\\2.0]",
                             "\"Rootdir\"=\"" + root.string() + "\""}));
#endif
    std::string converter;
    FindConverter(converter);
    CheckConverter(converter);
    ASSERT_FALSE(converter.empty());
    Dir.Write("Slow1.dfm", FormText("Slow1"));
    Dir.Write("Quiet1.dfm", FormText("Quiet1"));
    Dir.Write("Unit1.dfm", FormText("Form1"));

    const std::string messages =
        Analyze({UnitSourceEntry("Quiet1", "Quiet1.pas"), UnitSourceEntry("Slow1", "Slow1.pas"),
                 UnitSourceEntry("Form1", "Unit1.pas")},
                converter);

    EXPECT_EQ(messages, "Error: Could not create the unit's object text file. A possible reason "
                        "is that you do not have write permission in the directory or the text "
                        "file is marked as read-only. No objects will be reported for this "
                        "form.\\r\\rUnit: " +
                            DirectoryOf(Project) +
                            "Quiet1.dfm\\r\\rTextfile: " + DirectoryOf(Project) + "Quiet1.txt\n");
    EXPECT_EQ(TreeDump(Tree), "1 1 Form1:  TForm1\n\tLeft = 1\n2 1 Slow1:  TSlow1\n\tLeft = 1\n");
}

// The bundled example project, its binary and text forms converted by the
// project's own converter.
TEST_F(FormConversionTest, AnalyzesTheExampleProjectWithTheRealConverter) {
    fs::copy(EXAMPLES_DIR "/ledger", Dir.Path, fs::copy_options::recursive);
    ProjectModel model;
    model.ProjectFileName = Dir / "Ledger.dpr";
    MemoryStringList source(true), unused(true), show(true), suppress(true);
    ProjectLists lists{source, unused, show, suppress};
    ReadProject(model, lists);

    const std::string messages = Analyze(source.Items(), DFMCONVERT_PROGRAM);

    EXPECT_EQ(messages, "");
    std::string forms;
    for (const int form : Tree.Children(0))
        forms += "[" + Tree.Text(form) + "]";
    EXPECT_EQ(forms, "[EntryForm:  TEntryForm][LedgerData:  TLedgerData][MainForm:  TMainForm]");
    EXPECT_TRUE(fs::exists(Dir / "EntryUnit.txt"));
    ASSERT_TRUE(Tree.HasChildren(1));
    EXPECT_EQ(Tree.Text(2), "AmountLabel:  TLabel");
    EXPECT_EQ(Tree.Properties(2)[4], "Caption = 'Amount:'");
}
