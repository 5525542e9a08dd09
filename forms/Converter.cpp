#include "forms/Converter.h"

#include "platform/Files.h"
#include "platform/MessageBox.h"
#include "platform/Registry.h"

namespace pembrill {

namespace {

constexpr const char* DelphiKey = "Software\\Borland\\Delphi\\2.0";

#ifdef _WIN32
constexpr const char* ConverterInRoot = "\\bin\\convert.exe";
#else
constexpr const char* ConverterInRoot = "/bin/convert.exe";
#endif

// An absent key, an absent or empty value and a value of another type all
// leave the next root to be asked.
std::string ReadRootdir(RegistryRoot root) {
    const auto key = RegistryKey::OpenExisting(root, DelphiKey, RegistryAccess::Read);
    if (!key)
        return "";
    try {
        return key->ReadString("Rootdir");
    } catch (const RegistryError&) {
        return "";
    }
}

} // namespace

void FindConverter(std::string& Path) {
    Path = ReadRootdir(RegistryRoot::LocalMachine);
    if (Path.empty())
        Path = ReadRootdir(RegistryRoot::CurrentUser);
    if (!Path.empty())
        Path += ConverterInRoot;
}

// Found as ConvertFormFile starts it: a Rootdir holding BIN/CONVERT.EXE
// has a converter.
void CheckConverter(std::string& Path) {
    if (!Path.empty() && FileExists(NativePath(Path)))
        return;
    ShowMessage(MessageKind::Warning,
                "The program CONVERT.EXE was not found.\n\r\rYou will not be able to analyze forms "
                "or view VCL objects until this problem is corrected.");
    Path.clear();
}

} // namespace pembrill
