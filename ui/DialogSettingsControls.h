#pragma once

#include "report/Settings.h"

#include <map>
#include <string>

class QAbstractButton;
class QRadioButton;
class QWidget;

namespace pembrill {

class TFormatForm;
class TPrintSetupForm;

// The controls of the print setup and page format dialogs behind the names
// of the stored settings. Setting a control here is setting it as the user
// would: its handlers run.
class DialogSettingsControls : public SettingsControls {
public:
    DialogSettingsControls(TPrintSetupForm& setup, TFormatForm& format);

    bool Checked(const std::string& name) const override;
    void SetChecked(const std::string& name, bool checked) override;
    std::string Text(const std::string& name) const override;
    void SetText(const std::string& name, const std::string& text) override;
    ReportChoice Choice(const std::string& name) const override;
    void SetChoice(const std::string& name, ReportChoice choice) override;

    // The check a dialog runs when the user leaves the text's control, with
    // its message when the text does not convert; true for a text that has
    // no check.
    bool CheckText(const std::string& name);

private:
    TPrintSetupForm& Setup;
    TFormatForm& Format;
    // The radio of each choice a group offers; the others are null.
    struct ChoiceGroup {
        QRadioButton* None = nullptr;
        QRadioButton* All = nullptr;
        QRadioButton* Selected = nullptr;
        QRadioButton* Filtered = nullptr;
    };

    std::map<std::string, QAbstractButton*> CheckBoxes;
    // Edit fields and editable combo boxes.
    std::map<std::string, QWidget*> TextControls;
    std::map<std::string, ChoiceGroup> ChoiceGroups;
};

} // namespace pembrill
