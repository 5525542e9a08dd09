#include "ui/DialogSettingsControls.h"

#include "output/DisplayText.h"
#include "ui/Frmt.h"
#include "ui/Prntset.h"
#include "ui/widgets/FieldExitWatcher.h"

namespace pembrill {

DialogSettingsControls::DialogSettingsControls(TPrintSetupForm& setup, TFormatForm& format)
    : Setup(setup), Format(format),
      CheckBoxes{
          {"WordWrap", format.WordWrap},
          {"Header", format.Header},
          {"HeaderBold", format.HeaderBold},
          {"HeaderLine", format.HeaderLine},
          {"Footer", format.Footer},
          {"FooterLeftBold", format.BottomLeftBold},
          {"FooterCenterBold", format.BottomCenterBold},
          {"FooterRightBold", format.BottomRightBold},
          {"FooterLine", format.FooterLine},
          {"SourceCodeLineNumbers", setup.PrintLineNumbersCheckBox},
          {"ObjectsShowComponents", setup.ComponentsCheckBox},
          {"ObjectsShowAllSubComponents", setup.AllSubComponentsCheckBox},
          {"ObjectsShowProperties", setup.ObjectPropertiesCheckBox},
          {"ObjectsShowPictures", setup.ObjectPicturesCheckBox},
      },
      TextControls{
          {"LeftMargin", format.EditLeft},
          {"HeaderFont", format.FontHeaderComboBox},
          {"HeaderFontSize", format.FontHeaderSizeComboBox},
          {"FooterLeft", format.BottomLeftComboBox},
          {"FooterCenter", format.BottomCenterComboBox},
          {"FooterRight", format.BottomRightComboBox},
          {"FooterFont", format.FontFooterComboBox},
          {"FooterFontSize", format.FontFooterSizeComboBox},
          {"DependencyFont", setup.FontDependencyComboBox},
          {"DependencyFontSize", setup.FontSizeDependencyComboBox},
          {"DependencyLevels", setup.DependencyLevels},
          {"SourceCodeFont", setup.FontSourceComboBox},
          {"SourceCodeFontSize", setup.FontSizeSourceComboBox},
          {"ObjectsFont", setup.FontObjectComboBox},
          {"ObjectsFontSize", setup.FontSizeObjectComboBox},
      },
      ChoiceGroups{
          {"Dependency",
           {.None = setup.DependencyNoneRadioButton,
            .Filtered = setup.DependencyFilterRadioButton}},
          {"SourceCode",
           {.None = setup.SourceNoneRadioButton,
            .All = setup.SourceAllRadioButton,
            .Selected = setup.SourceSelectedRadioButton}},
          {"Objects",
           {.None = setup.ObjectNoneRadioButton,
            .All = setup.ObjectAllRadioButton,
            .Filtered = setup.ObjectFilterRadioButton}},
      } {}

bool DialogSettingsControls::Checked(const std::string& name) const {
    return CheckBoxes.at(name)->isChecked();
}

void DialogSettingsControls::SetChecked(const std::string& name, bool checked) {
    CheckBoxes.at(name)->setChecked(checked);
}

std::string DialogSettingsControls::Text(const std::string& name) const {
    const QWidget* control = TextControls.at(name);
    if (const auto* box = qobject_cast<const QComboBox*>(control))
        return FromDisplay(box->currentText());
    return FromDisplay(qobject_cast<const QLineEdit*>(control)->text());
}

void DialogSettingsControls::SetText(const std::string& name, const std::string& text) {
    QWidget* control = TextControls.at(name);
    if (auto* box = qobject_cast<QComboBox*>(control))
        box->setEditText(ToDisplay(text));
    else
        qobject_cast<QLineEdit*>(control)->setText(ToDisplay(text));
}

ReportChoice DialogSettingsControls::Choice(const std::string& name) const {
    const ChoiceGroup& group = ChoiceGroups.at(name);
    if (group.All && group.All->isChecked())
        return ReportChoice::All;
    if (group.Selected && group.Selected->isChecked())
        return ReportChoice::Selected;
    if (group.Filtered && group.Filtered->isChecked())
        return ReportChoice::Filtered;
    return ReportChoice::None;
}

bool DialogSettingsControls::CheckText(const std::string& name) {
    QWidget& control = *TextControls.at(name);
    return Setup.FieldChecks().CheckField(control) && Format.FieldChecks().CheckField(control);
}

// A choice the group does not offer checks None.
void DialogSettingsControls::SetChoice(const std::string& name, ReportChoice choice) {
    const ChoiceGroup& group = ChoiceGroups.at(name);
    QRadioButton* radio = group.None;
    if (choice == ReportChoice::All && group.All)
        radio = group.All;
    else if (choice == ReportChoice::Selected && group.Selected)
        radio = group.Selected;
    else if (choice == ReportChoice::Filtered && group.Filtered)
        radio = group.Filtered;
    radio->setChecked(true);
}

} // namespace pembrill
