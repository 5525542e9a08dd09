#include "forms/Converter.h"

#include "platform/MessageBox.h"
#include "tests/support/Environment.h"
#include "tests/support/SystemRegistry.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

using namespace pembrill;

namespace {

const char* const NotFoundWarning =
    "Warning: The program CONVERT.EXE was not found.\\n\\r\\rYou will not be able to analyze "
    "forms or view VCL objects until this problem is corrected.\n";

#ifdef _WIN32
const std::string InRoot = "\\bin\\convert.exe";
#else
const std::string InRoot = "/bin/convert.exe";
#endif

// Each test gets its own registry directory with hives written by hand.
class ConverterTest : public testing::Test {
protected:
    void SetUp() override { test::SetEnvironment("PEMBRILL_REGISTRY", Registry.Path); }
    void TearDown() override { test::UnsetEnvironment("PEMBRILL_REGISTRY"); }

    void WriteHive(const std::string& root, const std::string& value) {
        Registry.Write(root + ".reg", "REGEDIT4\r\n\r\n[" + root +
                                          "\\Software\\Borland\\Delphi\\2.0]\r\n"
                                          "\"Rootdir\"=" +
                                          value + "\r\n");
    }

    std::string Found() {
        std::string path = "left over";
        FindConverter(path);
        return path;
    }

    test::TempDir Registry;
};

TEST_F(ConverterTest, MachineRootComesFirst) {
    WriteHive("HKEY_LOCAL_MACHINE", "\"/opt/delphi2\"");
    WriteHive("HKEY_CURRENT_USER", "\"/home/me/delphi2\"");
    EXPECT_EQ(Found(), "/opt/delphi2" + InRoot);
}

TEST_F(ConverterTest, UserRootWhenTheMachineRootHasNoUsableValue) {
    WriteHive("HKEY_CURRENT_USER", "\"/home/me/delphi2\"");
    EXPECT_EQ(Found(), "/home/me/delphi2" + InRoot) << "no machine hive";

    WriteHive("HKEY_LOCAL_MACHINE", "\"\"");
    EXPECT_EQ(Found(), "/home/me/delphi2" + InRoot) << "empty value";

    WriteHive("HKEY_LOCAL_MACHINE", "dword:00000001");
    EXPECT_EQ(Found(), "/home/me/delphi2" + InRoot) << "value of another type";
}

TEST_F(ConverterTest, NoRootdirAnywhereGivesAnEmptyPath) {
    EXPECT_EQ(Found(), "");
    WriteHive("HKEY_CURRENT_USER", "dword:00000001");
    EXPECT_EQ(Found(), "");
}

TEST_F(ConverterTest, RootdirIsTakenAsWritten) {
    WriteHive("HKEY_LOCAL_MACHINE", "\"/opt/delphi 2/\"");
    EXPECT_EQ(Found(), "/opt/delphi 2/" + InRoot);
}

TEST_F(ConverterTest, CheckWarnsOnceAndClearsAPathWithoutAFile) {
    for (const std::string& missing : {std::string(), Registry / "convert.exe", Registry.Path}) {
        RecordingMessageSink messages;
        ScopedMessageSink install(messages);
        std::string path = missing;
        CheckConverter(path);
        EXPECT_EQ(path, "");
        EXPECT_EQ(messages.Transcript(), NotFoundWarning) << "path: " << missing;
    }
}

TEST_F(ConverterTest, CheckKeepsAnExistingFileSilently) {
    const std::string converter = Registry.Write("convert.exe", "#!/bin/sh\n");
    RecordingMessageSink messages;
    ScopedMessageSink install(messages);
    std::string path = converter;
    CheckConverter(path);
    EXPECT_EQ(path, converter);
    EXPECT_TRUE(messages.Messages.empty());
}

#ifdef _WIN32

// Without PEMBRILL_REGISTRY the system's registry is asked: the Delphi key is
// opened for reading, as an ordinary user may.
TEST(SystemRegistryConverterTest, RootdirComesFromTheSystemRegistry) {
    test::UnsetEnvironment("PEMBRILL_REGISTRY");
    const test::SystemRegistryKeyScope delphi(HKEY_CURRENT_USER, "Software\\Borland\\Delphi\\2.0");
    delphi.SetString("Rootdir", "C:\\Program Files\\Borland\\Delphi 2.0");
    std::string path;
    FindConverter(path);
    EXPECT_EQ(path, "C:\\Program Files\\Borland\\Delphi 2.0\\bin\\convert.exe");
}

#endif

} // namespace
