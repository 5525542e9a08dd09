// The registry stand-in's hive parser over any bytes. A hive keeps every line
// it read, so its text reads back as itself; a value it writes reads back as
// written, whatever the lines around it hold.

#include "FuzzCheck.h"
#include "platform/RegistryHive.h"
#include "platform/RegistryValue.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

using namespace pembrill;

namespace {

constexpr std::string_view SettingsKey = "HKEY_CURRENT_USER\\Software\\Haldover\\Pembrill";
constexpr std::string_view NewKey = "HKEY_CURRENT_USER\\Software\\Fuzz\\New";

bool SameValue(const std::optional<RegistryValue>& found, const RegistryValue& value) {
    return found && found->Type == value.Type && found->Bytes == value.Bytes;
}

void WriteAndReadBack(RegistryHive& hive, std::string_view key, std::string_view name,
                      const RegistryValue& value) {
    hive.SetValue(key, name, value);
    const RegistryHive reread(hive.Text());
    FUZZ_CHECK(reread.Text() == hive.Text());
    FUZZ_CHECK(reread.HasKey(key));
    FUZZ_CHECK(SameValue(reread.FindValue(key, name), value));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    RegistryHive hive(std::string_view(reinterpret_cast<const char*>(data), size));
    FUZZ_CHECK(RegistryHive(hive.Text()).Text() == hive.Text());
    hive.HasKey(SettingsKey);
    hive.FindValue(SettingsKey, "LeftMargin");

    WriteAndReadBack(hive, SettingsKey, "LeftMargin", RegistryValue::FromString("C:\\a \"b\""));
    WriteAndReadBack(hive, SettingsKey, "WordWrap", RegistryValue::FromDword(0xDEADBEEF));
    WriteAndReadBack(hive, SettingsKey, "", RegistryValue::FromString("two\r\nlines"));
    WriteAndReadBack(hive, NewKey, "Name", RegistryValue{RegistryValue::BinaryType, "\x01\xFF"});
    return 0;
}
