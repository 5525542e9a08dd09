#include "ui/Frmt.h"

#include "output/Printer.h"
#include "platform/MessageBox.h"

#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <QLocale>
#include <QTest>

#include <gtest/gtest.h>

using namespace pembrill;

namespace {

QStringList ItemsOf(const QComboBox& box) {
    QStringList items;
    for (int i = 0; i < box.count(); ++i)
        items.append(box.itemText(i));
    return items;
}

// The dialog shown and active, as the user has it, with messages recorded.
class FrmtFocusTest : public testing::Test {
protected:
    void SetUp() override { ShowActive(); }

    // The offscreen platform does not activate a window shown again after
    // hiding, so the application is told directly.
    void ShowActive() {
        Form.show();
        QApplication::setActiveWindow(&Form);
        ASSERT_TRUE(QTest::qWaitFor([this] { return QApplication::activeWindow() == &Form; }));
    }

    // Types text into a field and leaves it with Tab.
    void LeaveWith(QWidget& field, const QString& text) {
        field.setFocus();
        if (auto* box = qobject_cast<QComboBox*>(&field))
            box->setEditText(text);
        else
            qobject_cast<QLineEdit*>(&field)->setText(text);
        QTest::keyClick(&field, Qt::Key_Tab);
        QApplication::processEvents();
    }

    std::string Transcript() const { return Messages.Transcript(); }

    RecordingMessageSink Messages;
    ScopedMessageSink Sink{Messages};
    TFormatForm Form;
};

} // namespace

TEST(FrmtTest, LayoutAndDefaults) {
    TFormatForm form;
    EXPECT_EQ(form.windowTitle(), "Page Format");
    EXPECT_EQ(form.size(), QSize(338, 395));
    EXPECT_EQ(form.minimumSize(), form.maximumSize());
    EXPECT_EQ(form.OKBtn->geometry(), QRect(130, 360, 77, 27));
    EXPECT_TRUE(form.OKBtn->isDefault());
    EXPECT_EQ(form.EditLeft->toolTip(), "Margin in inches");

    QStringList groups;
    for (const QGroupBox* group : form.findChildren<QGroupBox*>())
        groups.append(group->title());
    EXPECT_EQ(groups, QStringList({"", "Header", "Footer"}));
    QStringList columns;
    for (const QLabel* label : form.findChildren<QLabel*>())
        columns.append(label->text());
    EXPECT_EQ(columns, QStringList({"Left Margin", "Left", "Center", "Right"}));

    const QStringList sizes = {"6", "8", "10", "12", "14", "16", "20"};
    EXPECT_EQ(ItemsOf(*form.FontHeaderSizeComboBox), sizes);
    EXPECT_EQ(ItemsOf(*form.FontFooterSizeComboBox), sizes);
    EXPECT_EQ(ItemsOf(*form.BottomCenterComboBox),
              QStringList({"None", "Date", "DateTime", "Filename", "PageNum"}));

    const PageFormat shown = form.CurrentPageFormat();
    const PageFormat defaults;
    EXPECT_EQ(shown.LeftMargin, defaults.LeftMargin);
    EXPECT_EQ(shown.HeaderFont, "Arial");
    EXPECT_EQ(shown.HeaderFontSize, "10");
    EXPECT_EQ(shown.BottomLeft, "DateTime");
    EXPECT_EQ(shown.BottomCenter, "Filename");
    EXPECT_EQ(shown.BottomRight, "PageNum");
    EXPECT_EQ(shown.FooterFont, "Arial");
    EXPECT_EQ(shown.FooterFontSize, "10");
    const std::vector<bool> checks = {
        shown.WordWrap,       shown.Header,           shown.HeaderBold,
        shown.HeaderLine,     shown.Footer,           shown.FooterLine,
        shown.BottomLeftBold, shown.BottomCenterBold, shown.BottomRightBold};
    EXPECT_EQ(checks, std::vector<bool>({true, true, true, true, true, true, false, true, false}));

    for (const QComboBox* box :
         {form.BottomLeftComboBox, form.BottomCenterComboBox, form.BottomRightComboBox,
          form.FontHeaderSizeComboBox, form.FontFooterSizeComboBox})
        EXPECT_FALSE(box->lineEdit()->hasSelectedText()) << box->objectName().toStdString();
}

TEST(FrmtTest, PageFormatTakesTheControlsAsTheyStand) {
    TFormatForm form;
    form.EditLeft->setText("-1");
    form.WordWrap->setChecked(false);
    form.FontFooterComboBox->setEditText("Courier New");
    form.BottomRightComboBox->setEditText("Pages");
    form.BottomLeftBold->setChecked(true);
    const PageFormat format = form.CurrentPageFormat();
    EXPECT_EQ(format.LeftMargin, "-1");
    EXPECT_FALSE(format.WordWrap);
    EXPECT_EQ(format.FooterFont, "Courier New");
    EXPECT_EQ(format.BottomRight, "Pages");
    EXPECT_TRUE(format.BottomLeftBold);
}

TEST(FrmtTest, DroppingDownAFontBoxListsTheFontsOnceAndKeepsTheText) {
    TFormatForm form;
    const QStringList fonts = PrinterFontNames();
    ASSERT_FALSE(fonts.isEmpty());
    // Each family once, by the name a user types ("C059", not "C059 [urw]").
    EXPECT_EQ(fonts.filter("[").size(), 0) << fonts.join('|').toStdString();
    QStringList once = fonts;
    EXPECT_EQ(once.removeDuplicates(), 0);
    form.FontHeaderComboBox->setEditText("Typed By Hand");
    for (int drop = 0; drop < 2; ++drop) {
        form.FontHeaderComboBox->showPopup();
        form.FontHeaderComboBox->hidePopup();
    }
    EXPECT_EQ(ItemsOf(*form.FontHeaderComboBox), fonts);
    EXPECT_EQ(form.FontHeaderComboBox->currentText(), "Typed By Hand");
    EXPECT_EQ(form.FontFooterComboBox->count(), 0) << "only the box dropped down is filled";

    form.FontFooterComboBox->setEditText(fonts.last());
    form.FontFooterComboBox->showPopup();
    form.FontFooterComboBox->hidePopup();
    EXPECT_EQ(form.FontFooterComboBox->currentIndex(), fonts.size() - 1);
}

TEST_F(FrmtFocusTest, MarginThatIsNoNumberKeepsTheFocus) {
    LeaveWith(*Form.EditLeft, "abc");
    EXPECT_EQ(Transcript(), "Error: Invalid value\n");
    EXPECT_EQ(QApplication::focusWidget(), Form.EditLeft);
    EXPECT_EQ(Form.EditLeft->text(), "abc");

    LeaveWith(*Form.EditLeft, "");
    EXPECT_EQ(Messages.Messages.size(), 2u);
    EXPECT_EQ(QApplication::focusWidget(), Form.EditLeft);
}

TEST_F(FrmtFocusTest, AnyDecimalNumberPassesAsMargin) {
    for (const char* text : {"0.25", "-1", "0", " 2.5e1 "}) {
        LeaveWith(*Form.EditLeft, text);
        EXPECT_EQ(QApplication::focusWidget(), Form.WordWrap) << text;
    }
    EXPECT_EQ(Transcript(), "");
}

// The default "0.1" must pass in a comma locale too.
TEST_F(FrmtFocusTest, MarginTakesThePointOrTheLocaleDecimalSeparator) {
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    LeaveWith(*Form.EditLeft, "0,25");
    const bool commaPassed = QApplication::focusWidget() == Form.WordWrap;
    LeaveWith(*Form.EditLeft, "0.1");
    const bool pointPassed = QApplication::focusWidget() == Form.WordWrap;
    QLocale::setDefault(QLocale::c());
    LeaveWith(*Form.EditLeft, "0,25");
    EXPECT_TRUE(commaPassed);
    EXPECT_TRUE(pointPassed);
    EXPECT_EQ(QApplication::focusWidget(), Form.EditLeft) << "a comma in a point locale";
}

TEST_F(FrmtFocusTest, FontSizesMustBeWholeNumbers) {
    for (QComboBox* box : {Form.FontHeaderSizeComboBox, Form.FontFooterSizeComboBox}) {
        LeaveWith(*box, "12.5");
        EXPECT_EQ(QApplication::focusWidget(), box);
        LeaveWith(*box, "0");
        EXPECT_NE(QApplication::focusWidget(), box);
        LeaveWith(*box, "$A");
        EXPECT_NE(QApplication::focusWidget(), box);
    }
    EXPECT_EQ(Transcript(), "Error: Invalid value\nError: Invalid value\n");
}

// Clicking OK takes the focus from the field; the click must not close the
// dialog with the bad text in place.
TEST_F(FrmtFocusTest, ClickingAwayFromABadFieldDoesNotClick) {
    Form.EditLeft->setFocus();
    Form.EditLeft->setText("abc");
    QTest::mouseClick(Form.OKBtn, Qt::LeftButton);
    QApplication::processEvents();
    EXPECT_TRUE(Form.isVisible());
    EXPECT_EQ(QApplication::focusWidget(), Form.EditLeft);

    QTest::mouseClick(Form.WordWrap, Qt::LeftButton);
    QApplication::processEvents();
    EXPECT_TRUE(Form.WordWrap->isChecked());
    EXPECT_EQ(Transcript(), "Error: Invalid value\nError: Invalid value\n");

    Form.EditLeft->setText("0.5");
    QTest::mouseClick(Form.WordWrap, Qt::LeftButton);
    QApplication::processEvents();
    EXPECT_FALSE(Form.WordWrap->isChecked());
    EXPECT_EQ(Messages.Messages.size(), 2u);
}

// Returning the focus to one bad field leaves the other: that must not be
// checked again, or the two would throw the focus back and forth.
TEST_F(FrmtFocusTest, TwoBadFieldsGiveOneMessage) {
    Form.FontHeaderSizeComboBox->setEditText("x");
    Form.EditLeft->setFocus();
    Form.EditLeft->setText("abc");
    QTest::mouseClick(Form.FontHeaderSizeComboBox, Qt::LeftButton);
    QApplication::processEvents();
    QApplication::processEvents();
    EXPECT_EQ(Transcript(), "Error: Invalid value\n");
    EXPECT_EQ(QApplication::focusWidget(), Form.EditLeft);
}

TEST_F(FrmtFocusTest, ClosingChecksTheFieldBeingLeftFirst) {
    Form.EditLeft->setFocus();
    Form.EditLeft->setText("abc");
    QTest::keyClick(Form.EditLeft, Qt::Key_Escape);
    QApplication::processEvents();
    EXPECT_TRUE(Form.isVisible());
    EXPECT_EQ(Transcript(), "Error: Invalid value\n");
    EXPECT_EQ(QApplication::focusWidget(), Form.EditLeft);
    Form.EditLeft->setText("0.3");
    Form.close();
    EXPECT_FALSE(Form.isVisible());
    EXPECT_EQ(Form.CurrentPageFormat().LeftMargin, "0.3");
}

TEST_F(FrmtFocusTest, OkHasTheFocusOnOpening) {
    EXPECT_EQ(QApplication::focusWidget(), Form.OKBtn);
    Form.WordWrap->setFocus();
    Form.hide();
    QApplication::processEvents();
    ShowActive();
    EXPECT_EQ(QApplication::focusWidget(), Form.OKBtn);
}
