#include "report/Settings.h"

#include "platform/MessageBox.h"
#include "platform/Registry.h"
#include "platform/RegistryHive.h"
#include "tests/support/RegistryScope.h"
#include "tests/support/SystemRegistry.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <functional>
#include <map>

#ifndef _WIN32
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

namespace pembrill {

void PrintTo(ReportChoice choice, std::ostream* out) {
    static const char* const Names[] = {"None", "All", "Selected", "Filtered"};
    *out << Names[static_cast<int>(choice)];
}

} // namespace pembrill

using namespace pembrill;
using pembrill::test::CrLf;
using pembrill::test::RegistryScope;

namespace {

// The controls as plain maps, holding the dialogs' initial values.
class FakeControls : public SettingsControls {
public:
    bool Checked(const std::string& name) const override { return Checks.at(name); }
    void SetChecked(const std::string& name, bool checked) override { Checks.at(name) = checked; }
    std::string Text(const std::string& name) const override {
        if (BeforeTextRead)
            BeforeTextRead(name);
        return Texts.at(name);
    }
    void SetText(const std::string& name, const std::string& text) override {
        Texts.at(name) = text;
    }
    ReportChoice Choice(const std::string& name) const override { return Choices.at(name); }
    void SetChoice(const std::string& name, ReportChoice choice) override {
        Choices.at(name) = choice;
    }

    std::map<std::string, bool> Checks = {
        {"WordWrap", true},
        {"Header", true},
        {"HeaderBold", true},
        {"HeaderLine", true},
        {"Footer", true},
        {"FooterLeftBold", false},
        {"FooterCenterBold", true},
        {"FooterRightBold", false},
        {"FooterLine", true},
        {"SourceCodeLineNumbers", true},
        {"ObjectsShowComponents", true},
        {"ObjectsShowAllSubComponents", false},
        {"ObjectsShowProperties", false},
        {"ObjectsShowPictures", false},
    };
    std::map<std::string, std::string> Texts = {
        {"LeftMargin", "0.1"},
        {"HeaderFont", "Arial"},
        {"HeaderFontSize", "10"},
        {"FooterLeft", "DateTime"},
        {"FooterCenter", "Filename"},
        {"FooterRight", "PageNum"},
        {"FooterFont", "Arial"},
        {"FooterFontSize", "10"},
        {"DependencyFont", "Courier New"},
        {"DependencyFontSize", "10"},
        {"DependencyLevels", "0"},
        {"SourceCodeFont", "Arial"},
        {"SourceCodeFontSize", "10"},
        {"ObjectsFont", "Arial"},
        {"ObjectsFontSize", "10"},
    };
    std::map<std::string, ReportChoice> Choices = {
        {"Dependency", ReportChoice::None},
        {"SourceCode", ReportChoice::None},
        {"Objects", ReportChoice::None},
    };
    // Lets a test act in the middle of a save.
    std::function<void(const std::string&)> BeforeTextRead;
};

// Every value differs from its initial one.
const std::string ChangedValues = CrLf({
    "\"WordWrap\"=dword:00000000",
    "\"LeftMargin\"=\"0.5\"",
    "\"Header\"=dword:00000000",
    "\"HeaderBold\"=dword:00000000",
    "\"HeaderLine\"=dword:00000000",
    "\"HeaderFont\"=\"Times New Roman\"",
    "\"HeaderFontSize\"=\"12\"",
    "\"Footer\"=dword:00000000",
    "\"FooterLeftBold\"=dword:00000001",
    "\"FooterCenterBold\"=dword:00000000",
    "\"FooterRightBold\"=dword:00000100",
    "\"FooterLine\"=dword:00000000",
    "\"FooterLeft\"=\"Date\"",
    "\"FooterCenter\"=\"None\"",
    "\"FooterRight\"=\"Filename\"",
    "\"FooterFont\"=\"Courier New\"",
    "\"FooterFontSize\"=\"8\"",
    "\"Dependency\"=\"filtered\"",
    "\"DependencyFont\"=\"Arial\"",
    "\"DependencyFontSize\"=\"14\"",
    "\"DependencyLevels\"=\"3\"",
    "\"SourceCode\"=\"all\"",
    "\"SourceCodeFont\"=\"Courier New\"",
    "\"SourceCodeFontSize\"=\"16\"",
    "\"SourceCodeLineNumbers\"=dword:00000000",
    "\"Objects\"=\"all\"",
    "\"ObjectsFont\"=\"Times New Roman\"",
    "\"ObjectsFontSize\"=\"20\"",
    "\"ObjectsShowComponents\"=dword:00000000",
    "\"ObjectsShowAllSubComponents\"=dword:00000001",
    "\"ObjectsShowProperties\"=dword:00000001",
    "\"ObjectsShowPictures\"=dword:00000001",
});

// ChangedValues without the line of one value.
std::string ChangedValuesWithout(const std::string& name) {
    std::string text = ChangedValues;
    const size_t start = text.find("\"" + name + "\"=");
    text.erase(start, text.find('\n', start) + 1 - start);
    return text;
}

// What the controls hold after ChangedValues loaded up to (not including)
// the value named stop.
FakeControls LoadedUpTo(const std::string& stop) {
    FakeControls changed;
    changed.Checks = {
        {"WordWrap", false},
        {"Header", false},
        {"HeaderBold", false},
        {"HeaderLine", false},
        {"Footer", false},
        {"FooterLeftBold", true},
        {"FooterCenterBold", false},
        {"FooterRightBold", true},
        {"FooterLine", false},
        {"SourceCodeLineNumbers", false},
        {"ObjectsShowComponents", false},
        {"ObjectsShowAllSubComponents", true},
        {"ObjectsShowProperties", true},
        {"ObjectsShowPictures", true},
    };
    changed.Texts = {
        {"LeftMargin", "0.5"},         {"HeaderFont", "Times New Roman"},
        {"HeaderFontSize", "12"},      {"FooterLeft", "Date"},
        {"FooterCenter", "None"},      {"FooterRight", "Filename"},
        {"FooterFont", "Courier New"}, {"FooterFontSize", "8"},
        {"DependencyFont", "Arial"},   {"DependencyFontSize", "14"},
        {"DependencyLevels", "3"},     {"SourceCodeFont", "Courier New"},
        {"SourceCodeFontSize", "16"},  {"ObjectsFont", "Times New Roman"},
        {"ObjectsFontSize", "20"},
    };
    changed.Choices = {
        {"Dependency", ReportChoice::None},
        {"SourceCode", ReportChoice::All},
        {"Objects", ReportChoice::All},
    };
    FakeControls expected;
    bool stopped = false;
    for (const Setting& setting : StoredSettings) {
        stopped = stopped || setting.Name == stop;
        if (stopped)
            continue;
        if (expected.Checks.contains(setting.Name))
            expected.Checks[setting.Name] = changed.Checks[setting.Name];
        if (expected.Texts.contains(setting.Name))
            expected.Texts[setting.Name] = changed.Texts[setting.Name];
        if (expected.Choices.contains(setting.Name))
            expected.Choices[setting.Name] = changed.Choices[setting.Name];
    }
    return expected;
}

void ExpectSameControls(const FakeControls& actual, const FakeControls& expected) {
    EXPECT_EQ(actual.Checks, expected.Checks);
    EXPECT_EQ(actual.Texts, expected.Texts);
    EXPECT_EQ(actual.Choices, expected.Choices);
}

class SettingsTest : public testing::Test {
protected:
    RegistryScope Registry;
    RecordingMessageSink Messages;
    ScopedMessageSink Sink{Messages};
};

// --- Loading -------------------------------------------------------------------

TEST_F(SettingsTest, EveryValueLoadsIntoItsControl) {
    Registry.WriteSettings(ChangedValues);
    FakeControls controls;
    controls.Choices["Dependency"] = ReportChoice::Filtered;

    LoadSettings(controls);

    ExpectSameControls(controls, LoadedUpTo(""));
    EXPECT_TRUE(Messages.Messages.empty());
}

TEST_F(SettingsTest, WithoutTheKeyNothingLoadsAndNothingIsSaid) {
    for (const std::string hive : {"", "REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\Software\\Haldover]\r\n"
                                       "\"WordWrap\"=dword:00000000\r\n"}) {
        if (!hive.empty())
            Registry.WriteUserHive(hive);
        FakeControls controls;
        LoadSettings(controls);
        ExpectSameControls(controls, FakeControls());
    }
    EXPECT_TRUE(Messages.Messages.empty());
}

TEST_F(SettingsTest, AnUnreadableValueStopsTheLoadingThereSilently) {
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"HeaderBold", ""},                         // a Boolean deleted by hand
        {"FooterLine", "\"FooterLine\"=\"1\"\r\n"}, // a Boolean stored as text
        {"ObjectsShowProperties", "\"ObjectsShowProperties\"=hex:01,00,00,00,00\r\n"},
        {"FooterFont", "\"FooterFont\"=dword:00000001\r\n"},  // a text stored as a number
        {"SourceCode", "\"SourceCode\"=hex:61,6c,6c,00\r\n"}, // a choice of binary type
        {"ObjectsShowPictures", ""}, // a store written before Form Pictures came
    };
    for (const auto& [name, replacement] : cases) {
        SCOPED_TRACE(name);
        Registry.WriteSettings(ChangedValuesWithout(name) + replacement);
        FakeControls controls;
        LoadSettings(controls);
        ExpectSameControls(controls, LoadedUpTo(name));
    }
    EXPECT_TRUE(Messages.Messages.empty());
}

TEST_F(SettingsTest, AMissingTextEmptiesItsControlAndLoadingGoesOn) {
    Registry.WriteSettings(ChangedValuesWithout("FooterLeft") + "\"FooterRight\"=\"\"\r\n" +
                           "\"LeftMargin\"=hex(2):00\r\n");
    FakeControls controls;

    LoadSettings(controls);

    FakeControls expected = LoadedUpTo("");
    expected.Texts["FooterLeft"] = "";
    expected.Texts["FooterRight"] = "";
    expected.Texts["LeftMargin"] = "";
    ExpectSameControls(controls, expected);
}

TEST_F(SettingsTest, ChoiceWordsLoadWithoutRegardToCase) {
    const std::vector<std::tuple<std::string, std::string, ReportChoice>> cases = {
        {"SourceCode", "SELECTED", ReportChoice::Selected},
        {"SourceCode", "All", ReportChoice::All},
        {"SourceCode", "filtered", ReportChoice::None},
        {"SourceCode", " all", ReportChoice::None},
        {"Objects", "ALL", ReportChoice::All},
        {"Objects", "selected", ReportChoice::None},
        {"Objects", "filtered", ReportChoice::None},
        {"Dependency", "FILTERED", ReportChoice::None},
    };
    for (const auto& [name, word, choice] : cases) {
        SCOPED_TRACE(name + "=" + word);
        Registry.WriteSettings(ChangedValues + "\"" + name + "\"=\"" + word + "\"\r\n");
        FakeControls controls;
        controls.Choices = {{"Dependency", ReportChoice::Filtered},
                            {"SourceCode", ReportChoice::Filtered},
                            {"Objects", ReportChoice::Filtered}};
        LoadSettings(controls);
        EXPECT_EQ(controls.Choices[name], choice);
    }
}

// --- Saving --------------------------------------------------------------------

TEST_F(SettingsTest, SaveWritesEveryValueAsRegeditWouldImportIt) {
    Registry.WriteSettings("");
    FakeControls controls;
    controls.Texts["FooterFont"] = "Font \"Q\" C:\\fonts";
    controls.Texts["DependencyLevels"] = "5x";
    controls.Choices["SourceCode"] = ReportChoice::Selected;

    SaveDefaults(controls);

    EXPECT_TRUE(Messages.Messages.empty());
    EXPECT_EQ(Registry.UserHiveText(), CrLf({"REGEDIT4",
                                             "",
                                             "[HKEY_CURRENT_USER\\Software\\Haldover\\Pembrill]",
                                             "\"LeftMargin\"=\"0.1\"",
                                             "\"WordWrap\"=dword:00000001",
                                             "\"Header\"=dword:00000001",
                                             "\"HeaderBold\"=dword:00000001",
                                             "\"HeaderLine\"=dword:00000001",
                                             "\"HeaderFont\"=\"Arial\"",
                                             "\"HeaderFontSize\"=\"10\"",
                                             "\"Footer\"=dword:00000001",
                                             "\"FooterLeftBold\"=dword:00000000",
                                             "\"FooterCenterBold\"=dword:00000001",
                                             "\"FooterRightBold\"=dword:00000000",
                                             "\"FooterLine\"=dword:00000001",
                                             "\"FooterLeft\"=\"DateTime\"",
                                             "\"FooterCenter\"=\"Filename\"",
                                             "\"FooterRight\"=\"PageNum\"",
                                             "\"FooterFont\"=\"Font \\\"Q\\\" C:\\\\fonts\"",
                                             "\"FooterFontSize\"=\"10\"",
                                             "\"Dependency\"=\"none\"",
                                             "\"DependencyFont\"=\"Courier New\"",
                                             "\"DependencyFontSize\"=\"10\"",
                                             "\"DependencyLevels\"=\"5x\"",
                                             "\"SourceCode\"=\"selected\"",
                                             "\"SourceCodeFont\"=\"Arial\"",
                                             "\"SourceCodeFontSize\"=\"10\"",
                                             "\"SourceCodeLineNumbers\"=dword:00000001",
                                             "\"Objects\"=\"none\"",
                                             "\"ObjectsFont\"=\"Arial\"",
                                             "\"ObjectsFontSize\"=\"10\"",
                                             "\"ObjectsShowComponents\"=dword:00000001",
                                             "\"ObjectsShowAllSubComponents\"=dword:00000000",
                                             "\"ObjectsShowProperties\"=dword:00000000",
                                             "\"ObjectsShowPictures\"=dword:00000000"}));
}

TEST_F(SettingsTest, SavedValuesLoadBackButFilteredChoicesComeBackAsNone) {
    Registry.WriteSettings(ChangedValues);
    FakeControls saved = LoadedUpTo("");
    saved.Choices = {{"Dependency", ReportChoice::Filtered},
                     {"SourceCode", ReportChoice::All},
                     {"Objects", ReportChoice::Filtered}};
    saved.Texts["HeaderFont"] = "Caf\xe9 Sans";

    SaveDefaults(saved);
    FakeControls loaded;
    LoadSettings(loaded);

    const auto key = RegistryKey::OpenExisting(RegistryRoot::CurrentUser, SettingsKeyPath);
    EXPECT_EQ(key->ReadString("Dependency"), "filtered");
    EXPECT_EQ(key->ReadString("Objects"), "none");
    FakeControls expected = saved;
    expected.Choices = {{"Dependency", ReportChoice::None},
                        {"SourceCode", ReportChoice::All},
                        {"Objects", ReportChoice::None}};
    ExpectSameControls(loaded, expected);
}

// A first run without the installer: Save makes the key under the current
// user, beside any other key there, and only the settings key.
TEST_F(SettingsTest, WithoutTheKeySaveCreatesItAndSaves) {
    FakeControls saved;
    saved.Texts["HeaderFont"] = "Courier New";
    SaveDefaults(saved);
    FakeControls loaded;
    LoadSettings(loaded);
    EXPECT_EQ(loaded.Texts["HeaderFont"], "Courier New");

    const std::string otherKey = "REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\Software\\Haldover]\r\n";
    Registry.WriteUserHive(otherKey);
    SaveDefaults(saved);
    EXPECT_EQ(Registry.UserHiveText().substr(0, otherKey.size()), otherKey);
    EXPECT_TRUE(RegistryKey::OpenExisting(RegistryRoot::CurrentUser, SettingsKeyPath));

    EXPECT_EQ(Messages.Transcript(), "");
    EXPECT_FALSE(std::filesystem::exists(Registry.Dir / "HKEY_LOCAL_MACHINE.reg"));
}

TEST_F(SettingsTest, AKeyThatCannotBeCreatedIsTheSaveError) {
    test::SetEnvironment("PEMBRILL_REGISTRY", Registry.Dir / "file/registry");
    Registry.Dir.Write("file", "not a directory");
    FakeControls controls;
    SaveDefaults(controls);
    EXPECT_EQ(Messages.Transcript(), "Error: There was an error saving your settings\n");
}

#ifdef _WIN32

// The same values through the system's registry: texts as REG_SZ, Booleans
// as REG_DWORD, and back. A text typed in a window (UTF-8) is stored as the
// text it is, which a program reading it in the ANSI code page sees too.
TEST(SystemRegistrySettingsTest, SavedValuesLoadBackThroughTheSystemRegistry) {
    test::UnsetEnvironment("PEMBRILL_REGISTRY");
    const test::SystemRegistryKeyScope settings(HKEY_CURRENT_USER, SettingsKeyPath);
    RecordingMessageSink messages;
    ScopedMessageSink sink{messages};
    FakeControls saved;
    saved.Texts["HeaderFont"] = "Caf\xC3\xA9 Sans";
    saved.Checks["WordWrap"] = false;

    SaveDefaults(saved);
    FakeControls loaded;
    LoadSettings(loaded);

    EXPECT_TRUE(messages.Messages.empty());
    ExpectSameControls(loaded, saved);
    DWORD type = 0;
    std::string data;
    ASSERT_TRUE(settings.Get("WordWrap", type, data));
    EXPECT_EQ(type, static_cast<DWORD>(REG_DWORD));
    ASSERT_TRUE(settings.Get("HeaderFont", type, data));
    EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));
    EXPECT_EQ(data, std::string("Caf\xe9 Sans", 9) + '\0');
}

#else

// Makes every write that grows a file fail, as a full disk does.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes) {
        PreviousHandler = std::signal(SIGXFSZ, SIG_IGN);
        ::getrlimit(RLIMIT_FSIZE, &Previous);
        const rlimit limit = {bytes, Previous.rlim_max};
        ::setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit() {
        ::setrlimit(RLIMIT_FSIZE, &Previous);
        std::signal(SIGXFSZ, PreviousHandler);
    }

private:
    rlimit Previous;
    void (*PreviousHandler)(int);
};

TEST_F(SettingsTest, ARefusedWriteStopsTheSaveAndKeepsTheValuesBeforeIt) {
    Registry.WriteSettings("\"FooterLeft\"=\"Date\"\r\n\"FooterFont\"=\"Old\"\r\n");
    FakeControls controls = LoadedUpTo("");
    std::unique_ptr<FileSizeLimit> diskFull;
    controls.BeforeTextRead = [&](const std::string& name) {
        if (name == "FooterLeft")
            diskFull = std::make_unique<FileSizeLimit>(Registry.UserHiveText().size());
    };

    SaveDefaults(controls);
    diskFull.reset();

    EXPECT_EQ(Messages.Transcript(), "Error: There was an error saving your settings\n");
    const RegistryHive hive(Registry.UserHiveText());
    const std::string key = std::string("HKEY_CURRENT_USER\\") + SettingsKeyPath;
    bool refused = false;
    for (const Setting& setting : SavingOrder()) {
        SCOPED_TRACE(setting.Name);
        refused = refused || std::string(setting.Name) == "FooterLeft";
        const auto value = hive.FindValue(key, setting.Name);
        if (!refused)
            EXPECT_TRUE(value);
        else if (std::string(setting.Name) == "FooterLeft" ||
                 std::string(setting.Name) == "FooterFont")
            EXPECT_EQ(value->AsString(),
                      setting.Name == std::string("FooterLeft") ? "Date" : "Old");
        else
            EXPECT_FALSE(value);
    }
    EXPECT_EQ(hive.FindValue(key, "FooterLine")->AsDword(), 0u);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(Registry.Dir.Path),
                            std::filesystem::directory_iterator()),
              1);
}

// A save killed at any moment, as by a power cut, leaves a hive that holds
// every value, each as one save or the other wrote it.
TEST_F(SettingsTest, ASaveKilledAtAnyMomentLeavesAWholeHive) {
    const FakeControls first = LoadedUpTo("");
    const FakeControls second;
    Registry.WriteSettings("");
    SaveDefaults(second);
    const std::string key = std::string("HKEY_CURRENT_USER\\") + SettingsKeyPath;

    // Each save syncs every value to the disk, so one takes a while: the
    // kills land at spread points of the first few saves.
    for (int round = 0; round < 10; ++round) {
        SCOPED_TRACE(round);
        int started[2];
        ASSERT_EQ(::pipe(started), 0);
        const pid_t child = ::fork();
        ASSERT_NE(child, -1);
        if (child == 0) {
            ::close(started[0]);
            if (::write(started[1], "s", 1) != 1)
                ::_exit(1);
            for (;;) {
                SaveDefaults(first);
                SaveDefaults(second);
            }
        }
        ::close(started[1]);
        char byte;
        ASSERT_EQ(::read(started[0], &byte, 1), 1);
        ::close(started[0]);
        ::usleep(static_cast<useconds_t>(round * 97'000 % 800'000 + round * 3'001));
        ::kill(child, SIGKILL);
        ::waitpid(child, nullptr, 0);

        const RegistryHive hive(Registry.UserHiveText());
        for (const Setting& setting : StoredSettings)
            EXPECT_TRUE(hive.FindValue(key, setting.Name)) << setting.Name;
        FakeControls loaded;
        LoadSettings(loaded);
        for (const auto& [name, text] : loaded.Texts)
            EXPECT_TRUE(text == first.Texts.at(name) || text == second.Texts.at(name)) << name;
    }
    EXPECT_TRUE(Messages.Messages.empty());
}

#endif

} // namespace
