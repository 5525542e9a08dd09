#include "platform/Files.h"

#include "tests/support/Environment.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#ifdef _WIN32
#include <windows.h>
#endif

using namespace pembrill;
using pembrill::test::TempDir;

namespace {

std::vector<std::string> Sorted(std::vector<std::string> names) {
    std::sort(names.begin(), names.end());
    return names;
}

// Runs the test body in another working directory and comes back.
class WorkingDirectoryGuard {
public:
    WorkingDirectoryGuard() : Saved(std::filesystem::current_path()) {}
    ~WorkingDirectoryGuard() { std::filesystem::current_path(Saved); }

private:
    std::filesystem::path Saved;
};

} // namespace

TEST(FilesTest, NamesSplitAtEitherSeparator) {
    EXPECT_TRUE(HasDirectoryPart("..\\common\\Unit5.pas"));
    EXPECT_TRUE(HasDirectoryPart("lib/Export.pas"));
    EXPECT_FALSE(HasDirectoryPart("Unit1.pas"));

    EXPECT_EQ(DirectoryOf("C:\\Projects\\Ledger.dpr"), "C:\\Projects\\");
    EXPECT_EQ(DirectoryOf("/home/ann/mixed\\Unit1.pas"), "/home/ann/mixed\\");
    EXPECT_EQ(DirectoryOf("Unit1.pas"), "");
    EXPECT_EQ(FileNameOf("/home/ann\\src/Unit1.dfm"), "Unit1.dfm");
    EXPECT_EQ(FileNameOf("dir/"), "");
#ifdef _WIN32
    // A drive's colon ends a directory part as Windows has it.
    EXPECT_TRUE(HasDirectoryPart("D:Unit1.pas"));
    EXPECT_EQ(DirectoryOf("D:Unit1.pas"), "D:");
    EXPECT_EQ(FileNameOf("D:Unit1.pas"), "Unit1.pas");
#else
    EXPECT_FALSE(HasDirectoryPart("D:Unit1.pas"));
#endif
}

TEST(FilesTest, ExtensionIsTakenOnlyFromTheLastComponent) {
    EXPECT_EQ(ChangeFileExt("Unit1.pas", ".dfm"), "Unit1.dfm");
    EXPECT_EQ(ChangeFileExt("/p/Unit1.form.pas", ".dfm"), "/p/Unit1.form.dfm");
    EXPECT_EQ(ChangeFileExt("v1.2\\Unit1", ".dfm"), "v1.2\\Unit1.dfm");
    EXPECT_EQ(ChangeFileExt("v1.2/Unit1", ".txt"), "v1.2/Unit1.txt");
    EXPECT_EQ(ChangeFileExt("Unit1.", ".txt"), "Unit1.txt");

    EXPECT_EQ(ExtractFileExt("Ledger.DPR"), ".DPR");
    EXPECT_EQ(ExtractFileExt("v1.2\\Unit1"), "");
    EXPECT_EQ(ExtractFileExt(".hidden"), ".hidden");
    EXPECT_EQ(ExtractFileExt("noext"), "");
}

// Windows' file system ignores case itself: names are used as written there.
#ifndef _WIN32
TEST(FilesTest, NativePathFindsComponentsWrittenInAnotherCase) {
    TempDir dir;
    const std::string unit = dir.Write("Source/Forms/Unit1.PAS", "unit Unit1;");

    EXPECT_EQ(NativePath(dir.Path + "\\source\\FORMS\\unit1.pas"), unit);
    EXPECT_EQ(NativePath(dir.Path + "/Source/./forms/../Forms/UNIT1.pas"),
              dir.Path + "/Source/./Forms/../Forms/Unit1.PAS");
    EXPECT_EQ(NativePath(unit), unit);
    // Nothing matches: the name as written, with slashes.
    EXPECT_EQ(NativePath(dir.Path + "\\source\\Unit2.pas"), dir.Path + "/source/Unit2.pas");
}

TEST(FilesTest, NativePathPrefersTheExactNameAndADirectoryOnTheWay) {
    TempDir dir;
    dir.Write("DATA", "a file, not a directory");
    dir.Write("Data/Unit.pas", "");
    dir.Write("data/unit.pas", "");

    EXPECT_EQ(NativePath(dir.Path + "/data/UNIT.PAS"), dir.Path + "/data/unit.pas");
    EXPECT_EQ(NativePath(dir.Path + "/dAtA/unit.PAS"), dir.Path + "/Data/Unit.pas");
}

TEST(FilesTest, NativePathOfARelativeNameStaysRelative) {
    TempDir dir;
    dir.Write("Lib/Export.pas", "");
    WorkingDirectoryGuard guard;
    ASSERT_TRUE(SetWorkingDirectory(dir.Path));

    EXPECT_EQ(NativePath("lib\\export.pas"), "Lib/Export.pas");
    EXPECT_TRUE(FileExists("Lib/Export.pas"));
    EXPECT_FALSE(SetWorkingDirectory(dir / "missing"));
}

#endif

TEST(FilesTest, OnlyRegularFilesExistAndHaveAWriteTime) {
    TempDir dir;
    const std::string file = dir.Write("Unit1.txt", "object Form1: TForm1");
    // To the 100 ns that Windows keeps.
    const auto written = std::chrono::seconds(1700000000) + std::chrono::nanoseconds(123456700);
    test::SetLastWriteTime(file, written);

    EXPECT_TRUE(FileExists(file));
    EXPECT_EQ(LastWriteTime(file), written);

    std::filesystem::create_directory(dir / "Unit2.txt");
    for (const std::string& notAFile : {dir / "Unit2.txt", dir / "missing.txt"}) {
        EXPECT_FALSE(FileExists(notAFile)) << notAFile;
        EXPECT_EQ(LastWriteTime(notAFile), std::nullopt) << notAFile;
    }
}

TEST(FilesTest, FilesWithExtensionIgnoresCaseAndIncludesHiddenFilesOnly) {
    TempDir dir;
    for (const char* name :
         {"a.pas", "B.PAS", ".hidden.pas", "c.pas.bak", "d.pass", "pas", "e.dpr"})
        dir.Write(name, "");
    std::filesystem::create_directory(dir / "Old.pas");
#ifdef _WIN32
    // Hidden and system files by their attributes.
    ASSERT_TRUE(::SetFileAttributesA(dir.Write("f.pas", "").c_str(),
                                     FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM));
    const std::vector<std::string> expected{".hidden.pas", "B.PAS", "a.pas", "f.pas"};
#else
    const std::vector<std::string> expected{".hidden.pas", "B.PAS", "a.pas"};
#endif

    EXPECT_EQ(Sorted(FilesWithExtension(dir.Path, ".pas")), expected);
    EXPECT_TRUE(FilesWithExtension(dir / "missing", ".pas").empty());
}
