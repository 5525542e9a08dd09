#pragma once

#include <array>
#include <optional>
#include <string>

namespace pembrill {

// Where the print and page settings are kept for the current user. Loading
// opens the key; saving creates it when it is missing, as the installer did.
inline constexpr const char* SettingsKeyPath = "Software\\Haldover\\Pembrill";

// How a stored value is kept. Booleans are REG_DWORD 0 or 1, everything else
// REG_SZ. The three choices stand for a group of radio buttons.
enum class SettingKind { Boolean, Text, DependencyChoice, SourceCodeChoice, ObjectsChoice };

struct Setting {
    const char* Name;
    SettingKind Kind;
};

// The stored values in the order they are loaded.
extern const std::array<Setting, 32> StoredSettings;

// The order they are saved in: the first two swapped.
std::array<Setting, 32> SavingOrder();

// The radio button checked in a choice group.
enum class ReportChoice { None, All, Selected, Filtered };

// The choice a word names in a choice group, the word compared without regard
// to the case of A to Z: "filtered"/"none" for the dependencies,
// "all"/"selected"/"none" for the source code, "all"/"filtered"/"none" for
// the objects. nullopt for a word the group does not know.
std::optional<ReportChoice> ChoiceOfWord(SettingKind kind, const std::string& word);

// The stored word for a choice, from the same words. A Filtered objects
// choice is stored as "none".
std::string StoredChoiceText(SettingKind kind, ReportChoice choice);

// The choice a stored word brings back. Filtered choices are never restored,
// because their filter lists belong to the project opened later, so the
// dependency word is read but always gives None. The others compare
// without regard to the case of A to Z; anything unknown gives None.
ReportChoice LoadedChoice(SettingKind kind, const std::string& stored);

// The controls behind the stored values, addressed by value name. The
// windows map the names to their check boxes, edits, combo boxes and radio
// groups; texts are bytes.
class SettingsControls {
public:
    virtual ~SettingsControls() = default;
    virtual bool Checked(const std::string& name) const = 0;
    virtual void SetChecked(const std::string& name, bool checked) = 0;
    virtual std::string Text(const std::string& name) const = 0;
    virtual void SetText(const std::string& name, const std::string& text) = 0;
    virtual ReportChoice Choice(const std::string& name) const = 0;
    virtual void SetChoice(const std::string& name, ReportChoice choice) = 0;
};

// Sets the controls from the settings key, value by value in loading order.
// No key: nothing changes. The first value that cannot be read (a Boolean
// missing or of another type, a text of a non-string type) ends the loading
// silently, leaving it and the later controls as they are; a missing text
// value empties its control and loading goes on.
void LoadSettings(SettingsControls& controls);

// Writes every value to the settings key in saving order, creating the key
// when it is missing. When it cannot be created, or a write is refused, shows "There was an error
// saving your settings"; the values written before a refused one stay written.
void SaveDefaults(const SettingsControls& controls);

} // namespace pembrill
