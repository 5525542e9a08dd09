#include "platform/Registry.h"

#include "platform/RegistryHive.h"
#include "platform/TextDecoding.h"
#include "tests/support/Environment.h"
#include "tests/support/SystemRegistry.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <random>
#include <sstream>

#ifndef _WIN32
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

using namespace pembrill;
using pembrill::test::TempDir;

namespace {

const std::string SettingsPath = "Software\\Haldover\\Pembrill";
const std::string SettingsKey = "HKEY_CURRENT_USER\\" + SettingsPath;

std::string RootName(RegistryRoot root) {
    return root == RegistryRoot::CurrentUser ? "HKEY_CURRENT_USER" : "HKEY_LOCAL_MACHINE";
}

std::string Contents(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}

std::vector<std::string> Listing(const std::string& directory) {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(directory))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

// Points the registry at a fresh directory for as long as it lives.
class RegistryDirectoryScope {
public:
    RegistryDirectoryScope() { test::SetEnvironment("PEMBRILL_REGISTRY", Dir.Path); }
    ~RegistryDirectoryScope() { test::UnsetEnvironment("PEMBRILL_REGISTRY"); }

    std::string HivePath(RegistryRoot root) const { return Dir / (RootName(root) + ".reg"); }
    void WriteHive(RegistryRoot root, const std::string& text) const {
        Dir.Write(RootName(root) + ".reg", text);
    }
    std::string HiveText(RegistryRoot root) const { return Contents(HivePath(root)); }

    TempDir Dir;
};

// --- The contract every registry backend keeps -----------------------------

// What the contract tests need beyond the program's own operations: keys and
// values that the program never makes itself.
class RegistryBackend {
public:
    virtual ~RegistryBackend() = default;
    virtual void CreateKey(RegistryRoot root, const std::string& path) = 0;
    // A REG_BINARY value, a type the program neither reads nor writes.
    virtual void PutBinaryValue(RegistryRoot root, const std::string& path,
                                const std::string& name) = 0;
};

class HiveFileBackend : public RegistryBackend {
public:
    void CreateKey(RegistryRoot root, const std::string& path) override {
        Append(root, "[" + RootName(root) + "\\" + path + "]\r\n");
    }
    void PutBinaryValue(RegistryRoot root, const std::string& path,
                        const std::string& name) override {
        Append(root,
               "[" + RootName(root) + "\\" + path + "]\r\n\"" + name + "\"=hex:01,00,00,00\r\n");
    }

private:
    void Append(RegistryRoot root, const std::string& text) {
        const std::string old = std::filesystem::exists(Scope.HivePath(root))
                                    ? Scope.HiveText(root)
                                    : std::string("REGEDIT4\r\n\r\n");
        Scope.WriteHive(root, old + text);
    }

    RegistryDirectoryScope Scope;
};

#ifdef _WIN32

// The system's registry itself: what the test makes is removed afterwards.
class SystemRegistryBackend : public RegistryBackend {
public:
    SystemRegistryBackend() { test::UnsetEnvironment("PEMBRILL_REGISTRY"); }

    void CreateKey(RegistryRoot root, const std::string& path) override {
        Keys.push_back(std::make_unique<test::SystemRegistryKeyScope>(Root(root), path));
    }
    void PutBinaryValue(RegistryRoot root, const std::string& path,
                        const std::string& name) override {
        CreateKey(root, path);
        Keys.back()->SetBinary(name);
    }

private:
    static HKEY Root(RegistryRoot root) {
        return root == RegistryRoot::CurrentUser ? HKEY_CURRENT_USER : HKEY_LOCAL_MACHINE;
    }

    // Removed in reverse, subkeys before their parents.
    struct ReverseOrder {
        std::vector<std::unique_ptr<test::SystemRegistryKeyScope>>& Keys;
        ~ReverseOrder() {
            while (!Keys.empty())
                Keys.pop_back();
        }
    };
    std::vector<std::unique_ptr<test::SystemRegistryKeyScope>> Keys;
    ReverseOrder Remover{Keys};
};

#endif

struct BackendFactory {
    std::string Name;
    std::function<std::unique_ptr<RegistryBackend>()> Make;
};

class RegistryContractTest : public testing::TestWithParam<BackendFactory> {
protected:
    static constexpr const char* Path = "Software\\Haldover\\PembrillTest";

    void SetUp() override {
        Backend = GetParam().Make();
        Backend->CreateKey(RegistryRoot::CurrentUser, Path);
    }

    static std::unique_ptr<RegistryKey> Open(const std::string& path = Path) {
        auto key = RegistryKey::OpenExisting(RegistryRoot::CurrentUser, path);
        EXPECT_NE(key, nullptr) << path;
        return key;
    }

    std::unique_ptr<RegistryBackend> Backend;
};

TEST_P(RegistryContractTest, OpeningNeverCreatesAKey) {
    const std::string absent = std::string(Path) + "\\Absent";
    EXPECT_EQ(RegistryKey::OpenExisting(RegistryRoot::CurrentUser, absent), nullptr);
    EXPECT_EQ(RegistryKey::OpenExisting(RegistryRoot::CurrentUser, absent), nullptr);
    EXPECT_EQ(RegistryKey::OpenExisting(RegistryRoot::LocalMachine, Path), nullptr);
}

TEST_P(RegistryContractTest, KeyNamesIgnoreCaseAndParentsOfAKeyExist) {
    EXPECT_NE(
        RegistryKey::OpenExisting(RegistryRoot::CurrentUser, "SOFTWARE\\haldover\\PEMBRILLtest"),
        nullptr);
    EXPECT_NE(RegistryKey::OpenExisting(RegistryRoot::CurrentUser, "Software\\Haldover"), nullptr);
    EXPECT_EQ(RegistryKey::OpenExisting(RegistryRoot::CurrentUser, "Software\\Haldover\\Pembrill"),
              nullptr);
}

TEST_P(RegistryContractTest, AMissingOrEmptyStringReadsEmptyButAMissingIntegerFails) {
    const auto key = Open();
    EXPECT_EQ(key->ReadString("FooterLeft"), "");
    EXPECT_THROW(key->ReadInteger("WordWrap"), RegistryError);
    key->WriteString("FooterLeft", "");
    EXPECT_EQ(key->ReadString("FooterLeft"), "");
}

TEST_P(RegistryContractTest, AKeyOpenedForReadingReadsButRefusesWrites) {
    Open()->WriteString("Rootdir", "C:\\DELPHI 2.0");
    const auto key =
        RegistryKey::OpenExisting(RegistryRoot::CurrentUser, Path, RegistryAccess::Read);
    ASSERT_NE(key, nullptr);
    EXPECT_EQ(key->ReadString("Rootdir"), "C:\\DELPHI 2.0");
    EXPECT_THROW(key->WriteString("Rootdir", "elsewhere"), RegistryError);
    EXPECT_THROW(key->WriteInteger("Header", 1), RegistryError);
    EXPECT_EQ(Open()->ReadString("Rootdir"), "C:\\DELPHI 2.0");
}

// The system's registry keeps text rather than bytes: 8-bit text comes back
// as the UTF-8 it is shown as, and a name of no ANSI code page comes back
// whole.
TEST_P(RegistryContractTest, ValuesAreStoredAtOnceWithTheirBytes) {
    const std::vector<std::string> texts = {"0.1",        "C:\\DELPHI 2.0\\",
                                            "say \"hi\"", "\\\\",
                                            "caf\xE9",    "two\r\nlines\n",
                                            " padded ",   "@",
                                            "\"quoted\"", "C:\\Users\\\xC5\x81ukasz \xED\x95\x9C"};
    const std::vector<uint32_t> numbers = {0, 1, 10, 0x7FFFFFFF, 0xFFFFFFFF};
    {
        const auto writer = Open();
        for (size_t i = 0; i < texts.size(); ++i)
            writer->WriteString("Text" + std::to_string(i), texts[i]);
        for (size_t i = 0; i < numbers.size(); ++i)
            writer->WriteInteger("Number" + std::to_string(i), numbers[i]);
        // The registry keeps a C string: nothing after a zero byte.
        writer->WriteString("Zero", std::string("ab\0cd", 5));
    }
    const auto reader = Open();
    const bool keepsBytes = GetParam().Name == "HiveFile";
    for (size_t i = 0; i < texts.size(); ++i)
        EXPECT_EQ(reader->ReadString("Text" + std::to_string(i)),
                  keepsBytes ? texts[i] : DecodeForDisplay(texts[i]));
    for (size_t i = 0; i < numbers.size(); ++i)
        EXPECT_EQ(reader->ReadInteger("Number" + std::to_string(i)), numbers[i]);
    EXPECT_EQ(reader->ReadString("Zero"), "ab");
}

TEST_P(RegistryContractTest, ReadsRefuseAValueOfAnotherType) {
    Backend->PutBinaryValue(RegistryRoot::CurrentUser, Path, "Blob");
    const auto key = Open();
    key->WriteInteger("Header", 1);
    key->WriteString("LeftMargin", "1");

    EXPECT_THROW(key->ReadString("Header"), RegistryError);
    EXPECT_THROW(key->ReadInteger("LeftMargin"), RegistryError);
    EXPECT_THROW(key->ReadString("Blob"), RegistryError);
    EXPECT_THROW(key->ReadInteger("Blob"), RegistryError);
}

TEST_P(RegistryContractTest, AWriteReplacesTheValueOfTheSameNameInAnyCase) {
    const auto key = Open();
    key->WriteString("WordWrap", "yes");
    key->WriteInteger("WORDWRAP", 0);
    EXPECT_EQ(key->ReadInteger("wordwrap"), 0u);
    EXPECT_THROW(key->ReadString("WordWrap"), RegistryError);

    key->WriteString("wordWrap", "no");
    EXPECT_EQ(key->ReadString("WordWrap"), "no");
    EXPECT_THROW(key->ReadInteger("WordWrap"), RegistryError);
}

TEST_P(RegistryContractTest, KeysOpenSideBySideKeepEachOthersWrites) {
    const std::string other = std::string(Path) + "\\Other";
    Backend->CreateKey(RegistryRoot::CurrentUser, other);
    const auto first = Open();
    const auto second = Open(other);
    first->WriteString("A", "1");
    second->WriteString("B", "2");
    first->WriteString("C", "3");

    EXPECT_EQ(Open()->ReadString("A"), "1");
    EXPECT_EQ(Open()->ReadString("C"), "3");
    EXPECT_EQ(Open()->ReadString("B"), "");
    EXPECT_EQ(Open(other)->ReadString("B"), "2");
}

INSTANTIATE_TEST_SUITE_P(
    Backends, RegistryContractTest,
    testing::Values(BackendFactory{"HiveFile", [] { return std::make_unique<HiveFileBackend>(); }}
#ifdef _WIN32
                    ,
                    BackendFactory{"SystemRegistry",
                                   [] { return std::make_unique<SystemRegistryBackend>(); }}
#endif
                    ),
    [](const testing::TestParamInfo<BackendFactory>& info) { return info.param.Name; });

#ifdef _WIN32
// A 32-bit Delphi installer wrote its key into the 32-bit view, which the
// 64-bit program sees only when it asks for that view.
TEST(SystemRegistryTest, AMachineKeyOfA32BitInstallerIsRead) {
    test::UnsetEnvironment("PEMBRILL_REGISTRY");
    const std::string path = "Software\\Haldover\\PembrillTest32";
    const test::SystemRegistryKeyScope installed(HKEY_LOCAL_MACHINE, path);
    installed.SetString("Rootdir", "C:\\Delphi 2.0");
    HKEY native = nullptr;
    ASSERT_NE(
        ::RegOpenKeyExA(HKEY_LOCAL_MACHINE, path.c_str(), 0, KEY_READ | KEY_WOW64_64KEY, &native),
        ERROR_SUCCESS)
        << "the key is in the 32-bit view only";
    const auto key =
        RegistryKey::OpenExisting(RegistryRoot::LocalMachine, path, RegistryAccess::Read);
    ASSERT_NE(key, nullptr);
    EXPECT_EQ(key->ReadString("Rootdir"), "C:\\Delphi 2.0");
}
#endif

// --- The hive files ----------------------------------------------------------

class RegistryFileTest : public testing::Test {
protected:
    std::unique_ptr<RegistryKey> OpenSettings() {
        auto key = RegistryKey::OpenExisting(RegistryRoot::CurrentUser, SettingsPath);
        EXPECT_NE(key, nullptr);
        return key;
    }

    RegistryDirectoryScope Scope;
};

#ifdef _WIN32
TEST_F(RegistryFileTest, TheHiveFilesServeWhenTheEnvironmentNamesTheirDirectory) {
    EXPECT_EQ(RegistryDirectory(), Scope.Dir.Path);
    test::UnsetEnvironment("PEMBRILL_REGISTRY");
    EXPECT_EQ(RegistryDirectory(), "") << "the system's registry";
    test::SetEnvironment("PEMBRILL_REGISTRY", Scope.Dir.Path);
}
#else
TEST_F(RegistryFileTest, TheDirectoryComesFromTheEnvironment) {
    const std::string home = std::getenv("HOME") ? std::getenv("HOME") : "";
    EXPECT_EQ(RegistryDirectory(), Scope.Dir.Path);

    test::UnsetEnvironment("PEMBRILL_REGISTRY");
    test::SetEnvironment("XDG_CONFIG_HOME", "/xdg");
    EXPECT_EQ(RegistryDirectory(), "/xdg/pembrill/registry");
    test::UnsetEnvironment("XDG_CONFIG_HOME");
    test::SetEnvironment("HOME", "/home/ann");
    EXPECT_EQ(RegistryDirectory(), "/home/ann/.config/pembrill/registry");
    test::SetEnvironment("HOME", home);
}
#endif

TEST_F(RegistryFileTest, AHandWrittenHiveLoads) {
    Scope.WriteHive(RegistryRoot::CurrentUser,
                    "REGEDIT4\n"
                    "\n"
                    "\"Orphan\"=\"before any key\"\n"
                    "; settings\r\n"
                    "[hkey_current_user\\software\\HALDOVER\\Pembrill]\n"
                    "  \"LeftMargin\" = \"0.5\"  \r\n"
                    "@=\"default\"\n"
                    "\"WordWrap\"=DWORD:0000000A\n"
                    "\"Header\"=hex(4):01,00,00,00\n"
                    "\"Rootdir\"=hex(2):43,3a,5c,\\\n"
                    "  44,00\n"
                    "\"Short\"=hex(4):01,00\n"
                    "\"Broken\"=\"no end\n"
                    "[HKEY_CURRENT_USER\\Software\\Haldover\\Pembrill\\Sub]\n"
                    "\"Footer\"=dword:00000001\n"
                    "[HKEY_CURRENT_USER\\Software\\Haldover\\Pembrill]\n"
                    "\"LeftMargin\"=\"0.75\"\n");
    const auto key = OpenSettings();
    EXPECT_EQ(key->ReadString("LeftMargin"), "0.75");
    EXPECT_EQ(key->ReadString(""), "default");
    EXPECT_EQ(key->ReadInteger("WordWrap"), 10u);
    EXPECT_EQ(key->ReadInteger("Header"), 1u);
    EXPECT_EQ(key->ReadString("Rootdir"), "C:\\D");
    EXPECT_THROW(key->ReadInteger("Short"), RegistryError);
    EXPECT_EQ(key->ReadString("Broken"), "");
    EXPECT_THROW(key->ReadInteger("Footer"), RegistryError);
    EXPECT_EQ(key->ReadString("Orphan"), "");
}

TEST_F(RegistryFileTest, AWriteChangesOneLineAndKeepsTheRestInCrLf) {
    Scope.WriteHive(RegistryRoot::CurrentUser, "REGEDIT4\n"
                                               "\n"
                                               "; written by hand\n"
                                               "[HKEY_CURRENT_USER\\Software\\Haldover\\Pembrill]\n"
                                               "\"LeftMargin\"=\"0.1\"\n"
                                               "\"WordWrap\"=dword:00000001\n"
                                               "not a registry line\n"
                                               "[HKEY_CURRENT_USER\\Software\\Other]\n"
                                               "\"Keep\"=\"me\"");
    const auto key = OpenSettings();
    key->WriteString("leftmargin", "C:\\Delphi \"2\"");
    key->WriteInteger("Header", 26);
    key->WriteString("Caption", "two\r\nlines");

    EXPECT_EQ(Scope.HiveText(RegistryRoot::CurrentUser),
              "REGEDIT4\r\n"
              "\r\n"
              "; written by hand\r\n"
              "[HKEY_CURRENT_USER\\Software\\Haldover\\Pembrill]\r\n"
              "\"LeftMargin\"=\"C:\\\\Delphi \\\"2\\\"\"\r\n"
              "\"WordWrap\"=dword:00000001\r\n"
              "\"Header\"=dword:0000001a\r\n"
              "\"Caption\"=hex(1):74,77,6f,0d,0a,6c,69,6e,65,73,00\r\n"
              "not a registry line\r\n"
              "[HKEY_CURRENT_USER\\Software\\Other]\r\n"
              "\"Keep\"=\"me\"\r\n");
}

TEST_F(RegistryFileTest, AWriteToAKeyWithoutAHeaderOfItsOwnAddsOne) {
    Scope.WriteHive(RegistryRoot::CurrentUser,
                    "REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\Software\\Haldover\\Pembrill]\r\n");
    RegistryKey::OpenExisting(RegistryRoot::CurrentUser, "Software\\Haldover")
        ->WriteInteger("A", 1);
    RegistryKey::OpenExisting(RegistryRoot::LocalMachine, "")->WriteString("B", "2");

    EXPECT_EQ(Scope.HiveText(RegistryRoot::CurrentUser),
              "REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\Software\\Haldover\\Pembrill]\r\n"
              "\r\n[HKEY_CURRENT_USER\\Software\\Haldover]\r\n\"A\"=dword:00000001\r\n");
    EXPECT_EQ(Scope.HiveText(RegistryRoot::LocalMachine),
              "REGEDIT4\r\n\r\n[HKEY_LOCAL_MACHINE]\r\n\"B\"=\"2\"\r\n");
}

TEST_F(RegistryFileTest, AMissingOrUnreadableHiveHasNoKeys) {
    EXPECT_EQ(RegistryKey::OpenExisting(RegistryRoot::CurrentUser, SettingsPath), nullptr);
    std::filesystem::create_directory(Scope.HivePath(RegistryRoot::CurrentUser));
    EXPECT_EQ(RegistryKey::OpenExisting(RegistryRoot::CurrentUser, SettingsPath), nullptr);
}

#ifndef _WIN32
TEST_F(RegistryFileTest, AWriteThatFailsHalfwayLeavesTheHiveAsItWas) {
    Scope.WriteHive(RegistryRoot::CurrentUser,
                    "REGEDIT4\r\n\r\n[" + SettingsKey + "]\r\n\"LeftMargin\"=\"0.1\"\r\n");
    const std::string before = Scope.HiveText(RegistryRoot::CurrentUser);
    const auto key = OpenSettings();

    // A file size limit makes the write fail part of the way through, as a
    // full disk would.
    const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit previousLimit;
    ::getrlimit(RLIMIT_FSIZE, &previousLimit);
    const rlimit small = {before.size() + 16, previousLimit.rlim_max};
    ::setrlimit(RLIMIT_FSIZE, &small);
    EXPECT_THROW(key->WriteString("LeftMargin", std::string(4096, '9')), RegistryError);
    ::setrlimit(RLIMIT_FSIZE, &previousLimit);
    std::signal(SIGXFSZ, previousHandler);

    EXPECT_EQ(Scope.HiveText(RegistryRoot::CurrentUser), before);
    EXPECT_EQ(Listing(Scope.Dir.Path), std::vector<std::string>{"HKEY_CURRENT_USER.reg"});
    EXPECT_EQ(key->ReadString("LeftMargin"), "0.1");
}
#endif

#ifdef _WIN32
TEST_F(RegistryFileTest, AReadOnlyHiveRefusesWrites) {
    Scope.WriteHive(RegistryRoot::CurrentUser, "REGEDIT4\r\n\r\n[" + SettingsKey + "]\r\n");
    const std::string before = Scope.HiveText(RegistryRoot::CurrentUser);
    const std::string hive = Scope.HivePath(RegistryRoot::CurrentUser);
    const auto key = OpenSettings();
    ASSERT_TRUE(::SetFileAttributesA(hive.c_str(), FILE_ATTRIBUTE_READONLY));
    EXPECT_THROW(key->WriteString("LeftMargin", "0.2"), RegistryError);
    ::SetFileAttributesA(hive.c_str(), FILE_ATTRIBUTE_NORMAL);
    EXPECT_EQ(Scope.HiveText(RegistryRoot::CurrentUser), before);
    EXPECT_EQ(Listing(Scope.Dir.Path), std::vector<std::string>{"HKEY_CURRENT_USER.reg"});
}
#else
TEST_F(RegistryFileTest, AReadOnlyDirectoryOrHiveRefusesWrites) {
    Scope.WriteHive(RegistryRoot::CurrentUser, "REGEDIT4\r\n\r\n[" + SettingsKey + "]\r\n");
    const std::string before = Scope.HiveText(RegistryRoot::CurrentUser);
    const std::string hive = Scope.HivePath(RegistryRoot::CurrentUser);
    const auto key = OpenSettings();
    ::chmod(Scope.Dir.Path.c_str(), 0555);
    const int probe = ::open((Scope.Dir / "probe").c_str(), O_WRONLY | O_CREAT, 0644);
    if (probe != -1) {
        ::close(probe);
        ::chmod(Scope.Dir.Path.c_str(), 0755);
        GTEST_SKIP() << "this user may write into read-only directories";
    }

    EXPECT_THROW(key->WriteString("LeftMargin", "0.2"), RegistryError);
    ::chmod(Scope.Dir.Path.c_str(), 0755);
    ::chmod(hive.c_str(), 0444);
    EXPECT_THROW(key->WriteString("LeftMargin", "0.2"), RegistryError);

    EXPECT_EQ(Scope.HiveText(RegistryRoot::CurrentUser), before);
    EXPECT_EQ(Listing(Scope.Dir.Path), std::vector<std::string>{"HKEY_CURRENT_USER.reg"});
}
#endif

TEST_F(RegistryFileTest, AKeyRemovedAfterOpeningIsNotWrittenAgain) {
    Scope.WriteHive(RegistryRoot::CurrentUser, "REGEDIT4\r\n\r\n[" + SettingsKey + "]\r\n");
    const auto key = OpenSettings();
    Scope.WriteHive(RegistryRoot::CurrentUser, "REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\Other]\r\n");
    EXPECT_THROW(key->WriteString("LeftMargin", "0.2"), RegistryError);
    EXPECT_EQ(Scope.HiveText(RegistryRoot::CurrentUser),
              "REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\Other]\r\n");
}

#ifndef _WIN32
TEST_F(RegistryFileTest, AWrittenHiveKeepsPermissionsAndLinks) {
    Scope.Dir.Write("target/hive.reg", "REGEDIT4\r\n\r\n[" + SettingsKey + "]\r\n");
    const std::string target = Scope.Dir / "target/hive.reg";
    ::chmod(target.c_str(), 0640);
    ASSERT_EQ(::symlink(target.c_str(), Scope.HivePath(RegistryRoot::CurrentUser).c_str()), 0);

    OpenSettings()->WriteString("LeftMargin", "0.2");

    struct stat info;
    ASSERT_EQ(::lstat(Scope.HivePath(RegistryRoot::CurrentUser).c_str(), &info), 0);
    EXPECT_TRUE(S_ISLNK(info.st_mode));
    ASSERT_EQ(::stat(target.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, 0640u);
    EXPECT_EQ(OpenSettings()->ReadString("LeftMargin"), "0.2");
}
#endif

// --- Any bytes -----------------------------------------------------------------

// The hive as the reader keeps it: every line as it stands, ended with CR LF.
std::string WithCrLf(const std::string& text) {
    std::string out;
    std::istringstream lines(text);
    for (std::string line; std::getline(lines, line);) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        out += line + "\r\n";
    }
    return out;
}

std::vector<std::string> GarbageHives() {
    std::vector<std::string> hives = {
        "",
        "[",
        "]",
        "[]",
        "\"",
        "\"=",
        "@",
        "@=",
        "\"a\"=hex:",
        "\"a\"=hex(",
        "\"a\"=hex(ffffffffff):00",
        "\"a\"=hex:0,\\",
        "\"a\"=hex:100",
        "\"a\"=dword:",
        "\"a\"=dword:123456789",
        "\"\\",
        "\"a\\\"=\"b",
        std::string("[HKEY_CURRENT_USER\\K]\0\"a\"=\"\0\"\r\r\n\n", 28),
        "[HKEY_CURRENT_USER\\K]\n\"Bin\"=hex:01,\\\n[HKEY_CURRENT_USER\\L]\n\"V\"=\"kept\"\n",
    };
    std::mt19937 random(20240917);
    const std::string alphabet =
        "[]\"\\=@:,;()-hexdwor0123456789abcdefHKEY_CURRENT_USER \t\r\n\x80\xff";
    for (int i = 0; i < 300; ++i) {
        std::string hive = i % 2 ? "REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\K]\r\n" : "";
        const size_t length = random() % 200;
        for (size_t k = 0; k < length; ++k)
            hive += random() % 8 ? alphabet[random() % alphabet.size()]
                                 : static_cast<char>(random() % 256);
        hives.push_back(hive);
    }
    return hives;
}

TEST(RegistryHiveTest, AnyBytesAreReadAndKeptAndAValueCanStillBeWritten) {
    for (const std::string& text : GarbageHives()) {
        RegistryHive hive(text);
        EXPECT_EQ(hive.Text(), WithCrLf(text)) << testing::PrintToString(text);
        hive.FindValue("HKEY_CURRENT_USER\\K", "a");

        hive.SetValue("HKEY_CURRENT_USER\\K", "a", RegistryValue::FromString("written"));
        const RegistryHive reread(hive.Text());
        EXPECT_TRUE(reread.HasKey("HKEY_CURRENT_USER\\K")) << testing::PrintToString(text);
        const auto value = reread.FindValue("hkey_current_user\\k", "A");
        ASSERT_TRUE(value.has_value()) << testing::PrintToString(text);
        EXPECT_EQ(value->AsString(), "written") << testing::PrintToString(text);
    }
}

TEST(RegistryHiveTest, AStrayBackslashDoesNotSwallowTheNextKey) {
    const RegistryHive hive(
        "[HKEY_CURRENT_USER\\K]\n\"Bin\"=hex:01,\\\n[HKEY_CURRENT_USER\\L]\n\"V\"=\"kept\"\n");
    ASSERT_TRUE(hive.FindValue("HKEY_CURRENT_USER\\L", "V").has_value());
    EXPECT_EQ(hive.FindValue("HKEY_CURRENT_USER\\L", "V")->AsString(), "kept");
    EXPECT_FALSE(hive.FindValue("HKEY_CURRENT_USER\\K", "Bin").has_value());
}

TEST(RegistryHiveTest, AValueNameWithALineBreakIsRefused) {
    RegistryHive hive("[HKEY_CURRENT_USER\\K]\r\n");
    EXPECT_THROW(hive.SetValue("HKEY_CURRENT_USER\\K", "a\nb", RegistryValue::FromDword(1)),
                 RegistryError);
    EXPECT_EQ(hive.Text(), "[HKEY_CURRENT_USER\\K]\r\n");
}

} // namespace
