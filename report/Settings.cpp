#include "report/Settings.h"

#include "platform/ByteText.h"
#include "platform/MessageBox.h"
#include "platform/Registry.h"

#include <utility>

namespace pembrill {

const std::array<Setting, 32> StoredSettings = {{
    {"WordWrap", SettingKind::Boolean},
    {"LeftMargin", SettingKind::Text},
    {"Header", SettingKind::Boolean},
    {"HeaderBold", SettingKind::Boolean},
    {"HeaderLine", SettingKind::Boolean},
    {"HeaderFont", SettingKind::Text},
    {"HeaderFontSize", SettingKind::Text},
    {"Footer", SettingKind::Boolean},
    {"FooterLeftBold", SettingKind::Boolean},
    {"FooterCenterBold", SettingKind::Boolean},
    {"FooterRightBold", SettingKind::Boolean},
    {"FooterLine", SettingKind::Boolean},
    {"FooterLeft", SettingKind::Text},
    {"FooterCenter", SettingKind::Text},
    {"FooterRight", SettingKind::Text},
    {"FooterFont", SettingKind::Text},
    {"FooterFontSize", SettingKind::Text},
    {"Dependency", SettingKind::DependencyChoice},
    {"DependencyFont", SettingKind::Text},
    {"DependencyFontSize", SettingKind::Text},
    {"DependencyLevels", SettingKind::Text},
    {"SourceCode", SettingKind::SourceCodeChoice},
    {"SourceCodeFont", SettingKind::Text},
    {"SourceCodeFontSize", SettingKind::Text},
    {"SourceCodeLineNumbers", SettingKind::Boolean},
    {"Objects", SettingKind::ObjectsChoice},
    {"ObjectsFont", SettingKind::Text},
    {"ObjectsFontSize", SettingKind::Text},
    {"ObjectsShowComponents", SettingKind::Boolean},
    {"ObjectsShowAllSubComponents", SettingKind::Boolean},
    {"ObjectsShowProperties", SettingKind::Boolean},
    {"ObjectsShowPictures", SettingKind::Boolean},
}};

std::array<Setting, 32> SavingOrder() {
    std::array<Setting, 32> order = StoredSettings;
    std::swap(order[0], order[1]);
    return order;
}

namespace {

struct ChoiceWord {
    SettingKind Kind;
    const char* Word;
    ReportChoice Choice;
};

constexpr ChoiceWord ChoiceWords[] = {
    {SettingKind::DependencyChoice, "filtered", ReportChoice::Filtered},
    {SettingKind::DependencyChoice, "none", ReportChoice::None},
    {SettingKind::SourceCodeChoice, "all", ReportChoice::All},
    {SettingKind::SourceCodeChoice, "selected", ReportChoice::Selected},
    {SettingKind::SourceCodeChoice, "none", ReportChoice::None},
    {SettingKind::ObjectsChoice, "all", ReportChoice::All},
    {SettingKind::ObjectsChoice, "filtered", ReportChoice::Filtered},
    {SettingKind::ObjectsChoice, "none", ReportChoice::None},
};

} // namespace

std::optional<ReportChoice> ChoiceOfWord(SettingKind kind, const std::string& word) {
    const std::string lower = LowerAscii(word);
    for (const ChoiceWord& entry : ChoiceWords)
        if (entry.Kind == kind && lower == entry.Word)
            return entry.Choice;
    return std::nullopt;
}

std::string StoredChoiceText(SettingKind kind, ReportChoice choice) {
    if (kind == SettingKind::ObjectsChoice && choice == ReportChoice::Filtered)
        choice = ReportChoice::None;
    for (const ChoiceWord& entry : ChoiceWords)
        if (entry.Kind == kind && entry.Choice == choice)
            return entry.Word;
    return "none";
}

ReportChoice LoadedChoice(SettingKind kind, const std::string& stored) {
    if (kind == SettingKind::DependencyChoice)
        return ReportChoice::None;
    const std::optional<ReportChoice> choice = ChoiceOfWord(kind, stored);
    return choice && choice != ReportChoice::Filtered ? *choice : ReportChoice::None;
}

namespace {

// Throws RegistryError when the value cannot be read.
void LoadValue(RegistryKey& key, const Setting& setting, SettingsControls& controls) {
    switch (setting.Kind) {
    case SettingKind::Boolean:
        controls.SetChecked(setting.Name, key.ReadInteger(setting.Name) != 0);
        return;
    case SettingKind::Text:
        controls.SetText(setting.Name, key.ReadString(setting.Name));
        return;
    default:
        controls.SetChoice(setting.Name, LoadedChoice(setting.Kind, key.ReadString(setting.Name)));
        return;
    }
}

// Throws RegistryError when the write is refused.
void SaveValue(RegistryKey& key, const Setting& setting, const SettingsControls& controls) {
    switch (setting.Kind) {
    case SettingKind::Boolean:
        key.WriteInteger(setting.Name, controls.Checked(setting.Name) ? 1 : 0);
        return;
    case SettingKind::Text:
        key.WriteString(setting.Name, controls.Text(setting.Name));
        return;
    default:
        key.WriteString(setting.Name,
                        StoredChoiceText(setting.Kind, controls.Choice(setting.Name)));
        return;
    }
}

std::unique_ptr<RegistryKey> OpenSettingsKey() {
    return RegistryKey::OpenExisting(RegistryRoot::CurrentUser, SettingsKeyPath);
}

} // namespace

void LoadSettings(SettingsControls& controls) {
    const auto key = OpenSettingsKey();
    if (!key)
        return;
    try {
        for (const Setting& setting : StoredSettings)
            LoadValue(*key, setting, controls);
    } catch (const RegistryError&) {
        // Settings written by an older or foreign hand: keep what loaded.
    }
}

void SaveDefaults(const SettingsControls& controls) {
    const auto key = RegistryKey::OpenOrCreate(RegistryRoot::CurrentUser, SettingsKeyPath);
    if (!key) {
        ShowMessage(MessageKind::Error, "There was an error saving your settings");
        return;
    }
    try {
        for (const Setting& setting : SavingOrder())
            SaveValue(*key, setting, controls);
    } catch (const RegistryError&) {
        ShowMessage(MessageKind::Error, "There was an error saving your settings");
    }
}

} // namespace pembrill
