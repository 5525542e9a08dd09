#pragma once

#include "output/PageFormat.h"
#include "ui/widgets/DropDownComboBox.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QLineEdit>
#include <QPushButton>

namespace pembrill {

class FieldExitWatcher;

// The Page Format dialog. Its controls are the storage of the page settings:
// the settings code loads and saves them directly, a print run takes them
// through CurrentPageFormat. There is no Cancel: every change stays.
class TFormatForm : public QDialog {
    Q_OBJECT

public:
    explicit TFormatForm(QWidget* parent = nullptr);

    PageFormat CurrentPageFormat() const;
    // Closing by any means first checks the number field being left.
    void done(int result) override;

    void FontComboBoxClick(QComboBox& box);
    // The checks of the number fields when the focus leaves them: true when
    // the text converts.
    bool ValidateFloat();
    bool ValidateInteger(QComboBox& box);

    FieldExitWatcher& FieldChecks() const { return *ExitWatcher; }

    QLineEdit* EditLeft;
    QCheckBox* WordWrap;
    QCheckBox* Header;
    QCheckBox* HeaderBold;
    QCheckBox* HeaderLine;
    DropDownComboBox* FontHeaderComboBox;
    QComboBox* FontHeaderSizeComboBox;
    QCheckBox* Footer;
    QCheckBox* FooterLine;
    QComboBox* BottomLeftComboBox;
    QComboBox* BottomCenterComboBox;
    QComboBox* BottomRightComboBox;
    QCheckBox* BottomLeftBold;
    QCheckBox* BottomCenterBold;
    QCheckBox* BottomRightBold;
    DropDownComboBox* FontFooterComboBox;
    QComboBox* FontFooterSizeComboBox;
    QPushButton* OKBtn;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void CreateMarginGroup();
    void CreateHeaderGroup();
    void CreateFooterGroup();
    void CreateFooterColumns(QWidget& group);
    void ConnectHandlers();
    void FormCreate();

    FieldExitWatcher* ExitWatcher;
};

extern TFormatForm* FormatForm;

} // namespace pembrill
