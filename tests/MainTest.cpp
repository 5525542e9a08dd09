#include "ui/Main.h"

#include "forms/FormPicture.h"
#include "platform/MessageBox.h"
#include "tests/support/TempDir.h"
#include "ui/AnalyzeProgress.h"
#include "ui/FormPictureWindow.h"

#include <QAction>
#include <QApplication>
#include <QDropEvent>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>
#include <QUrl>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

using namespace pembrill;
using testing::ElementsAre;
namespace fs = std::filesystem;

namespace {

const char* const NotFoundWarning =
    "Warning: The program CONVERT.EXE was not found.\\n\\r\\rYou will not be able to analyze "
    "forms or view VCL objects until this problem is corrected.\n";

std::vector<const QWidget*> Widgets(std::initializer_list<const QWidget*> widgets) {
    return widgets;
}

std::vector<std::string> MenuItems(const QMenu* menu) {
    std::vector<std::string> items;
    for (const QAction* action : menu->actions())
        items.push_back(action->isSeparator() ? "-" : action->text().toStdString());
    return items;
}

std::vector<std::string> MenuTitles(const QMenuBar* bar) {
    std::vector<std::string> titles;
    for (const QAction* action : bar->actions())
        titles.push_back(action->text().toStdString());
    return titles;
}

// Every main window here sees its own empty registry, so that no converter
// is found unless a test registers one, and records its messages.
class MainTest : public testing::Test {
protected:
    void SetUp() override {
        fs::create_directories(Directory / "registry");
        ::setenv("PEMBRILL_REGISTRY", (Directory / "registry").c_str(), 1);
        StartDirectory = fs::current_path();
        Form = NewForm();
    }

    void TearDown() override {
        Form.reset();
        fs::current_path(StartDirectory);
        ::unsetenv("PEMBRILL_REGISTRY");
    }

    std::unique_ptr<TMainForm> NewForm() {
        auto form = std::make_unique<TMainForm>();
        form->Hooks.ShowList = &ShowList;
        form->Hooks.SuppressList = &SuppressList;
        form->Hooks.ClearObjectTypeLists = [this] { ++ObjectTypeClears; };
        form->Hooks.DisableObjectOptions = [this] { ++ObjectOptionsDisabled; };
        form->Hooks.EnableObjectOptions = [this] { ++ObjectOptionsEnabled; };
        return form;
    }

    // Resizes the shown window to a client area of width × height.
    void ResizeClient(int width, int height) {
        Form->resize(width, height + Form->menuBar()->heightForWidth(width));
        QApplication::processEvents();
    }

    std::map<std::string, QRect> ControlGeometries() {
        std::map<std::string, QRect> geometries;
        for (const QWidget* control :
             Form->Client->findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly))
            geometries[control->objectName().toStdString()] = control->geometry();
        return geometries;
    }

    test::TempDir Files;
    const fs::path Directory{Files.Path};
    fs::path StartDirectory;
    RecordingMessageSink Messages;
    ScopedMessageSink InstallMessages{Messages};
    MemoryStringList ShowList{true};
    MemoryStringList SuppressList{true};
    int ObjectTypeClears = 0;
    int ObjectOptionsDisabled = 0;
    int ObjectOptionsEnabled = 0;
    std::unique_ptr<TMainForm> Form;
};

TEST_F(MainTest, ControlsCarryTheirNamesCaptionsAndFonts) {
    EXPECT_EQ(Form->windowTitle(), "Pembrill");
    const std::map<std::string, std::string> labels = {
        {"SourceCodeLabel", "Forms and Source"},
        {"UnusedSourceCodeLabel", "Unused Source"},
        {"ObjectsLabel", "Objects"},
        {"ObjectPropertiesLabel", "Object Properties"}};
    for (const auto& [name, caption] : labels) {
        const auto* label = Form->findChild<QLabel*>(QString::fromStdString(name));
        ASSERT_NE(label, nullptr) << name;
        EXPECT_EQ(label->text().toStdString(), caption);
        EXPECT_TRUE(label->font().bold()) << name;
        EXPECT_EQ(label->font().pixelSize(), 13) << name;
    }
    const std::map<std::string, std::string> buttons = {{"OpenButton", "Op&en"},
                                                        {"CloseButton", "&Quit"},
                                                        {"AnalyzeButton", "&Analyze"},
                                                        {"PrintButton", "&Print"}};
    for (const auto& [name, caption] : buttons) {
        const auto* button = Form->findChild<QPushButton*>(QString::fromStdString(name));
        ASSERT_NE(button, nullptr) << name;
        EXPECT_EQ(button->text().toStdString(), caption);
    }

    EXPECT_EQ(Form->font().family(), "Arial");
    EXPECT_EQ(Form->font().pixelSize(), 13);
    EXPECT_TRUE(Form->font().bold());
    for (const char* name : {"SourceListBox", "UnusedSourceListBox"}) {
        const auto* list = Form->findChild<QListWidget*>(name);
        ASSERT_NE(list, nullptr) << name;
        EXPECT_EQ(list->font().family(), "Courier New") << name;
        EXPECT_EQ(list->font().pointSize(), 10) << name;
        EXPECT_FALSE(list->font().bold()) << name;
    }
    EXPECT_EQ(Form->SourceListBox->selectionMode(), QAbstractItemView::ExtendedSelection);
    EXPECT_EQ(Form->UnusedSourceListBox->selectionMode(), QAbstractItemView::SingleSelection);

    const auto* outline = Form->findChild<QTreeWidget*>("ObjectOutline");
    ASSERT_NE(outline, nullptr);
    EXPECT_TRUE(outline->isHeaderHidden());
    EXPECT_EQ(outline->font().family(), "Arial");
    EXPECT_EQ(outline->font().pointSize(), 10);
    EXPECT_FALSE(outline->font().bold());
    const auto* memo = Form->findChild<QPlainTextEdit*>("PropertyMemo");
    ASSERT_NE(memo, nullptr);
    EXPECT_EQ(memo->font().family(), "Arial");
    EXPECT_EQ(memo->font().pointSize(), 10);
    EXPECT_FALSE(memo->font().bold());
    EXPECT_EQ(memo->lineWrapMode(), QPlainTextEdit::NoWrap);
    EXPECT_EQ(memo->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
    EXPECT_EQ(memo->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
    EXPECT_TRUE(memo->isReadOnly());
    EXPECT_NE(Form->findChild<QFileDialog*>("FileDialog"), nullptr);
}

TEST_F(MainTest, MenusCarryTheirCaptionsAndMnemonics) {
    EXPECT_THAT(MenuTitles(Form->menuBar()), ElementsAre("&File", "&Objects", "&Help"));
    EXPECT_THAT(MenuItems(Form->FileMenu),
                ElementsAre("&Open...", "-", "&Print...", "Page &Setup...", "-", "E&xit"));
    EXPECT_THAT(MenuItems(Form->ObjectsMenu),
                ElementsAre("&Analyze", "-", "C&ollapse", "&Collapse All", "&Expand One Level",
                            "E&xpand All", "-", "Show &Form"));
    EXPECT_THAT(MenuItems(Form->HelpMenu), ElementsAre("&About"));
    EXPECT_EQ(Form->OpenItem->shortcut(), QKeySequence("Ctrl+O"));
    EXPECT_EQ(Form->PrintItem->shortcut(), QKeySequence("Ctrl+P"));
    EXPECT_EQ(Form->findChild<QAction*>("PrintItem"), Form->PrintItem);
    EXPECT_EQ(Form->findChild<QMenu*>("ObjectsMenu"), Form->ObjectsMenu);
    EXPECT_FALSE(Form->menuBar()->font().bold()) << "menus keep the system font";
}

TEST_F(MainTest, StartsWithoutProjectAndWarnsOnceWithoutConverter) {
    EXPECT_EQ(Messages.Transcript(), NotFoundWarning);
    EXPECT_EQ(Form->ConverterPath, "");

    for (const QWidget* control :
         Widgets({Form->SourceCodeLabel, Form->UnusedSourceCodeLabel, Form->ObjectsLabel,
                  Form->ObjectPropertiesLabel, Form->ObjectOutline, Form->PropertyMemo,
                  Form->AnalyzeButton, Form->PrintButton}))
        EXPECT_FALSE(control->isEnabled()) << control->objectName().toStdString();
    for (const QWidget* control : Widgets(
             {Form->SourceListBox, Form->UnusedSourceListBox, Form->OpenButton, Form->CloseButton}))
        EXPECT_TRUE(control->isEnabled()) << control->objectName().toStdString();
    EXPECT_FALSE(Form->PrintItem->isEnabled());
    EXPECT_FALSE(Form->ObjectsMenu->menuAction()->isEnabled());
    for (const QAction* item : {Form->OpenItem, Form->PageSetup, Form->ExitItem, Form->About1})
        EXPECT_TRUE(item->isEnabled()) << item->text().toStdString();
}

TEST_F(MainTest, ARegisteredConverterIsKeptWithoutWarning) {
    const std::string converter = Files.Write("delphi/bin/convert.exe", "#!/bin/sh\n");
    Files.Write("registry/HKEY_LOCAL_MACHINE.reg",
                test::CrLf({"REGEDIT4", "", "[HKEY_LOCAL_MACHINE\\Software\\Borland\\Delphi\\2.0]",
                            "\"Rootdir\"=\"" + (Files / "delphi") + "\""}));
    RecordingMessageSink messages;
    ScopedMessageSink install(messages);
    const auto form = NewForm();
    EXPECT_EQ(form->ConverterPath, converter);
    EXPECT_TRUE(messages.Messages.empty());

    form->SetOpenState();
    EXPECT_TRUE(form->AnalyzeButton->isEnabled());
}

TEST_F(MainTest, OpensCentredAtItsMinimumOnAScreenHigherThan480) {
    const QRect screen = Form->screen()->geometry();
    ASSERT_GT(screen.height(), 480);
    EXPECT_EQ(Form->MinWidth, 623);
    EXPECT_EQ(Form->MinClientHeight, 406);
    EXPECT_FALSE(Form->isMaximized());
    EXPECT_EQ(Form->width(), 623);
    EXPECT_EQ(Form->ClientHeight(), 406);
    EXPECT_EQ(Form->x(), screen.x() + (screen.width() - 623) / 2);
    EXPECT_EQ(Form->y(), screen.y() + (screen.height() - Form->height()) / 2);

    Form->show();
    QApplication::processEvents();
    EXPECT_EQ(Form->Client->height(), 406) << "the client area lies below the menu bar";
    EXPECT_EQ(Form->Client->width(), 623);
}

TEST_F(MainTest, LayoutFollowsTheWindowSize) {
    Form->show();
    ResizeClient(1000, 700);
    ASSERT_EQ(Form->width(), 1000);
    ASSERT_EQ(Form->ClientHeight(), 700);
    const int label = Form->SourceCodeLabel->height();
    const int listTop = label + 15;
    const int outlineTop = 355 + Form->ObjectsLabel->height() + 5;
    const int outlineHeight = 350 - Form->ObjectsLabel->height() - 20;
    EXPECT_EQ(Form->SourceCodeLabel->pos(), QPoint(12, 10));
    EXPECT_EQ(Form->SourceListBox->geometry(), QRect(12, listTop, 482, 350 - listTop - 5));
    EXPECT_EQ(Form->ObjectsLabel->pos(), QPoint(12, 355));
    EXPECT_EQ(Form->ObjectOutline->geometry(), QRect(12, outlineTop, 482, outlineHeight));
    EXPECT_EQ(Form->UnusedSourceCodeLabel->pos(), QPoint(506, 10));
    EXPECT_EQ(Form->UnusedSourceListBox->geometry(), QRect(506, listTop, 369, 350 - listTop - 5));
    EXPECT_EQ(Form->ObjectPropertiesLabel->pos(), QPoint(506, 355));
    EXPECT_EQ(Form->PropertyMemo->geometry(), QRect(506, outlineTop, 476, outlineHeight));
    EXPECT_EQ(Form->OpenButton->geometry(), QRect(893, 31, 89, 33));
    EXPECT_EQ(Form->CloseButton->geometry(), QRect(893, 76, 89, 33));
    EXPECT_EQ(Form->AnalyzeButton->geometry(), QRect(893, 120, 89, 33));
    EXPECT_EQ(Form->PrintButton->geometry(), QRect(893, 165, 89, 33));

    // Odd sizes: halves drop the remainder.
    ResizeClient(1001, 701);
    EXPECT_EQ(Form->SourceListBox->width(), 482);
    EXPECT_EQ(Form->ObjectsLabel->y(), 355);
    EXPECT_EQ(Form->OpenButton->x(), 894);
}

TEST_F(MainTest, BelowTheMinimumTheControlsStayWhereTheMinimumPutsThem) {
    Form->show();
    ResizeClient(623, 406);
    const auto atMinimum = ControlGeometries();

    // The window keeps that size as its minimum, so that every control shows.
    ResizeClient(400, 250);
    EXPECT_EQ(Form->width(), 623);
    EXPECT_EQ(Form->ClientHeight(), 406);
    EXPECT_EQ(ControlGeometries(), atMinimum);
}

TEST_F(MainTest, StatesSetEveryCommand) {
    Form->SetOpenState();
    EXPECT_TRUE(Form->SourceCodeLabel->isEnabled());
    EXPECT_TRUE(Form->UnusedSourceCodeLabel->isEnabled());
    EXPECT_FALSE(Form->ObjectsLabel->isEnabled());
    EXPECT_FALSE(Form->ObjectOutline->isEnabled());
    EXPECT_FALSE(Form->AnalyzeButton->isEnabled()) << "no converter";
    EXPECT_FALSE(Form->AnalyzeItem->isEnabled());
    EXPECT_TRUE(Form->PrintButton->isEnabled());
    EXPECT_TRUE(Form->PrintItem->isEnabled());
    EXPECT_TRUE(Form->ObjectsMenu->menuAction()->isEnabled());
    EXPECT_EQ(ObjectOptionsDisabled, 1);

    Form->ConverterPath = "/opt/delphi2/bin/convert.exe";
    Form->SetOpenState();
    EXPECT_TRUE(Form->AnalyzeButton->isEnabled());
    EXPECT_TRUE(Form->AnalyzeItem->isEnabled())
        << "the Objects menu's Analyze goes with the button";

    Form->SetAnalyzedState(true);
    for (const QWidget* control : Widgets({Form->ObjectsLabel, Form->ObjectPropertiesLabel,
                                           Form->ObjectOutline, Form->PropertyMemo}))
        EXPECT_TRUE(control->isEnabled()) << control->objectName().toStdString();
    EXPECT_FALSE(Form->AnalyzeButton->isEnabled());
    EXPECT_FALSE(Form->AnalyzeItem->isEnabled());
    EXPECT_TRUE(Form->PrintButton->isEnabled());
    EXPECT_EQ(ObjectOptionsEnabled, 1);

    // A second Open after Analyze takes the object display away again.
    Form->SetOpenState();
    EXPECT_FALSE(Form->ObjectsLabel->isEnabled());
    EXPECT_FALSE(Form->PropertyMemo->isEnabled());
    EXPECT_TRUE(Form->AnalyzeButton->isEnabled());
    EXPECT_EQ(ObjectOptionsDisabled, 3);

    Form->SetAnalyzedState(false);
    EXPECT_FALSE(Form->ObjectsLabel->isEnabled());
    EXPECT_FALSE(Form->ObjectOutline->isEnabled());
    EXPECT_FALSE(Form->AnalyzeButton->isEnabled());
    EXPECT_TRUE(Form->PrintItem->isEnabled());
    EXPECT_TRUE(Form->ObjectsMenu->menuAction()->isEnabled());
    EXPECT_EQ(ObjectOptionsEnabled, 1);
}

// Answers the Open dialog each time it shows with the next name, or cancels
// once the names are used up.
void AnswerOpenDialogs(QFileDialog* dialog, std::vector<QString> names, int& shown) {
    auto* timer = new QTimer(dialog);
    timer->setInterval(5);
    QObject::connect(timer, &QTimer::timeout, dialog, [dialog, names, &shown, timer]() mutable {
        if (!dialog->isVisible())
            return;
        if (names.empty()) {
            ++shown;
            timer->deleteLater();
            dialog->reject();
            return;
        }
        // Typed into the file name box, as a user would; selectFile() leaves
        // the box alone while it has the focus.
        auto* nameBox = dialog->findChild<QLineEdit*>("fileNameEdit");
        if (!nameBox) {
            ADD_FAILURE() << "the Open dialog has no file name box";
            dialog->reject();
            return;
        }
        nameBox->setText(names.front());
        static_cast<QDialog*>(dialog)->accept();
        // On a busy machine the dialog may still be reading the folder and
        // keep itself open: the name is typed again on the next tick.
        if (dialog->isVisible())
            return;
        ++shown;
        names.erase(names.begin());
    });
    timer->start();
}

TEST_F(MainTest, AskProjectFileInsistsOnAProjectFile) {
    const std::string unit = Files.Write("Unit1.pas", "unit Unit1;\r\n");
    const std::string project = Files.Write("Demo.DPR", "program Demo;\r\n");
    Messages.Messages.clear();

    int shown = 0;
    AnswerOpenDialogs(Form->FileDialog,
                      {QString::fromStdString(unit), QString::fromStdString(project)}, shown);
    std::string fileName;
    ASSERT_TRUE(Form->AskProjectFile(fileName));
    EXPECT_EQ(fileName, project);
    EXPECT_EQ(shown, 2);
    EXPECT_EQ(Messages.Transcript(), "Information: You must enter a Delphi Project File .dpr\n");
    EXPECT_EQ(Form->FileDialog->windowTitle(), "Open Project");
    EXPECT_EQ(Form->FileDialog->nameFilters(), QStringList{"Delphi Project (*.dpr)"});
    EXPECT_EQ(Form->FileDialog->defaultSuffix(), "dpr");
    EXPECT_EQ(Form->FileDialog->fileMode(), QFileDialog::ExistingFile);

    shown = 0;
    AnswerOpenDialogs(Form->FileDialog, {}, shown);
    EXPECT_FALSE(Form->AskProjectFile(fileName));
    EXPECT_EQ(shown, 1);
}

class OpenProjectTest : public MainTest {
protected:
    void SetUp() override {
        MainTest::SetUp();
        ProjectDirectory = Directory / "demo";
        Files.Write(
            "demo/Demo.dpr",
            test::CrLf({"program Demo;", "", "uses", "  Forms,", "  Unit1 in 'Unit1.pas' {Form1};",
                        "", "{$R *.RES}", "", "begin", "  Application.Initialize;",
                        "  Application.CreateForm(TForm1, Form1);", "  Application.Run;", "end."}));
        Files.Write("demo/Unit1.pas",
                    test::CrLf({"unit Unit1;", "", "interface", "", "uses", "  Windows, Forms;", "",
                                "implementation", "", "end."}));
        Files.Write("demo/Old.pas", test::CrLf({"unit Old;", "", "end."}));
        Messages.Messages.clear();
    }

    std::string ProjectPath() const { return (ProjectDirectory / "Demo.dpr").string(); }

    fs::path ProjectDirectory;
};

TEST_F(OpenProjectTest, ReadsTheProjectIntoTheWindow) {
    std::optional<Qt::CursorShape> cursorWhileOpening;
    QString captionWhileOpening;
    Form->Hooks.ClearObjectTypeLists = [&] {
        if (const QCursor* cursor = QApplication::overrideCursor())
            cursorWhileOpening = cursor->shape();
        captionWhileOpening = Form->windowTitle();
    };
    Form->OpenProject(ProjectPath());

    EXPECT_EQ(Form->windowTitle().toStdString(), "Pembrill: " + ProjectPath());
    EXPECT_EQ(captionWhileOpening, Form->windowTitle()) << "the caption comes before the reading";
    EXPECT_EQ(cursorWhileOpening, Qt::WaitCursor);
    EXPECT_EQ(fs::current_path(), ProjectDirectory);
    EXPECT_EQ(Form->Project.ProjectFileName, ProjectPath());
    EXPECT_THAT(Form->Project.UnitNames, ElementsAre("Unit1"));
    EXPECT_EQ(Form->Project.MainFormName, "Form1");
    EXPECT_THAT(Form->SourceList.Items(),
                ElementsAre("                    Demo.dpr", "Form1               Unit1.pas"));
    EXPECT_TRUE(Form->SourceList.Selected(0));
    EXPECT_EQ(Form->SourceListBox->item(0)->text(), "                    Demo.dpr");
    EXPECT_THAT(Form->UnusedSourceList.Items(), ElementsAre("Old.pas"));
    EXPECT_THAT(ShowList.Items(), ElementsAre("Unit1"));
    EXPECT_THAT(SuppressList.Items(), ElementsAre("Forms", "Windows"));
    EXPECT_TRUE(Messages.Messages.empty()) << Messages.Transcript();

    EXPECT_TRUE(Form->PrintButton->isEnabled());
    EXPECT_TRUE(Form->SourceCodeLabel->isEnabled());
    EXPECT_EQ(ObjectOptionsDisabled, 1);
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

TEST_F(OpenProjectTest, ASecondOpenLeavesNothingOfTheFirst) {
    Form->OpenProject(ProjectPath());
    new QTreeWidgetItem(Form->ObjectOutline, QStringList{"Form1:  TForm1"});
    Form->PropertyMemo->setPlainText("Left = 46");
    Form->SetAnalyzedState(true);

    Form->OpenProject(ProjectPath());
    EXPECT_EQ(Form->ObjectOutline->topLevelItemCount(), 0);
    EXPECT_TRUE(Form->PropertyMemo->toPlainText().isEmpty());
    EXPECT_EQ(ObjectTypeClears, 2);
    EXPECT_EQ(Form->SourceList.Count(), 2);
    EXPECT_EQ(Form->UnusedSourceList.Count(), 1);
    EXPECT_EQ(ShowList.Count(), 1);
    EXPECT_EQ(SuppressList.Count(), 2);
    EXPECT_THAT(Form->Project.UnitNames, ElementsAre("Unit1"));
    EXPECT_FALSE(Form->ObjectsLabel->isEnabled());
    EXPECT_FALSE(Form->ObjectOutline->isEnabled());
}

TEST_F(OpenProjectTest, AProjectThatCannotBeReadStillAllowsPrinting) {
    const std::string missing = (ProjectDirectory / "Gone.dpr").string();
    Form->OpenProject(missing);
    EXPECT_EQ(Messages.Transcript(), "Error: Can not open file: \\r\\r" + missing + "\n");
    EXPECT_EQ(Form->windowTitle().toStdString(), "Pembrill: " + missing);
    EXPECT_THAT(Form->SourceList.Items(), ElementsAre("                    Gone.dpr"));
    EXPECT_TRUE(Form->PrintButton->isEnabled());
    EXPECT_TRUE(Form->PrintItem->isEnabled());
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

TEST_F(OpenProjectTest, TheFileMenuListsTheLastFourProjectsAcrossARestart) {
    std::vector<std::string> paths;
    for (const char* name : {"P1", "P2", "P3", "P4", "P5", "P3"}) {
        paths.push_back((ProjectDirectory / (std::string(name) + ".dpr")).string());
        fs::copy_file(ProjectPath(), paths.back(), fs::copy_options::overwrite_existing);
        Form->OpenProjectFile(paths.back());
    }
    const auto caption = [&](int place, int project) {
        return "&" + std::to_string(place) + " " + paths[static_cast<size_t>(project)];
    };
    Form = NewForm();
    Messages.Messages.clear();
    EXPECT_THAT(MenuItems(Form->FileMenu),
                ElementsAre("&Open...", "-", "&Print...", "Page &Setup...", "-", caption(1, 2),
                            caption(2, 4), caption(3, 3), caption(4, 1), "-", "E&xit"));

    Form->RecentItems[1]->trigger();
    EXPECT_EQ(Form->Project.ProjectFileName, paths[4]);
    EXPECT_EQ(Form->RecentItems[0]->text().toStdString(), caption(1, 4));
    EXPECT_EQ(Form->RecentItems.size(), 5u) << "four projects and a separator";
    EXPECT_TRUE(Messages.Messages.empty()) << Messages.Transcript();
}

TEST_F(OpenProjectTest, AFileDroppedOnTheWindowOpensAsTheOpenDialogWould) {
    const auto drop = [&](const std::string& path) {
        QMimeData data;
        data.setUrls({QUrl::fromLocalFile(QString::fromStdString(path))});
        QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &data, Qt::LeftButton,
                              Qt::NoModifier);
        QApplication::sendEvent(Form.get(), &enter);
        QDropEvent event(QPointF(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(Form.get(), &event);
    };
    drop(ProjectPath());
    EXPECT_EQ(Form->Project.ProjectFileName, ProjectPath());
    EXPECT_EQ(Form->windowTitle().toStdString(), "Pembrill: " + ProjectPath());

    drop((ProjectDirectory / "Unit1.pas").string());
    EXPECT_EQ(Messages.Transcript(), "Information: You must enter a Delphi Project File .dpr\n");
    EXPECT_EQ(Form->Project.ProjectFileName, ProjectPath());
}

} // namespace

// Analyze with a converter that copies each form file, which is already text.
class AnalyzeTest : public OpenProjectTest {
protected:
    void SetUp() override {
        OpenProjectTest::SetUp();
        Files.Write("delphi/bin/convert.exe", "#!/bin/sh\nexec cp \"$1\" \"${1%.*}.txt\"\n");
        fs::permissions(Directory / "delphi/bin/convert.exe", fs::perms::owner_all);
        Files.Write(
            "registry/HKEY_LOCAL_MACHINE.reg",
            test::CrLf({"REGEDIT4", "", "[HKEY_LOCAL_MACHINE\\Software\\Borland\\Delphi\\2.0]",
                        "\"Rootdir\"=\"" + (Files / "delphi") + "\""}));
        Form = NewForm();
        Form->Hooks.AvailableList = &Available;
        Form->Hooks.SetObjectTypeButtons = [this] { ++ButtonUpdates; };
    }

    QTreeWidgetItem* Item(int top, std::initializer_list<int> path = {}) {
        QTreeWidgetItem* item = Form->ObjectOutline->topLevelItem(top);
        for (int child : path)
            item = item->child(child);
        return item;
    }

    MemoryStringList Available{true};
    int ButtonUpdates = 0;
};

TEST_F(AnalyzeTest, FillsTheTreeShowsPropertiesAndLeavesAnalyzeDisabled) {
    Files.Write("demo/Unit1.dfm",
                test::CrLf({"object Form1: TForm1", "  Left = 46", "  Caption = 'One'",
                            "  object Panel1: TPanel", "    object Button1: TButton",
                            "      Caption = 'OK'", "    end", "  end", "end"}));
    Form->OpenProject(ProjectPath());
    ASSERT_TRUE(Form->AnalyzeButton->isEnabled());
    Form->AnalyzeButton->click();

    EXPECT_EQ(Messages.Transcript(), "");
    EXPECT_EQ(Item(0)->text(0), "Form1:  TForm1");
    EXPECT_EQ(Item(0, {0, 0})->text(0), "Button1:  TButton");
    EXPECT_EQ(Form->PropertyMemo->toPlainText(), "Left = 46\nCaption = 'One'");
    EXPECT_THAT(Available.Items(), ElementsAre("TButton", "TForm1", "TPanel"));
    EXPECT_EQ(ButtonUpdates, 1);
    EXPECT_FALSE(Form->AnalyzeButton->isEnabled());
    EXPECT_TRUE(Form->ObjectOutline->isEnabled());
    EXPECT_TRUE(Form->PropertyMemo->isEnabled());
    EXPECT_EQ(ObjectOptionsEnabled, 1);

    // The arrow keys show the properties of the item they move to.
    Form->ObjectOutline->expandAll();
    QTest::keyClick(Form->ObjectOutline, Qt::Key_Down);
    QTest::keyClick(Form->ObjectOutline, Qt::Key_Down);
    EXPECT_EQ(Form->ObjectOutline->currentItem(), Item(0, {0, 0}));
    EXPECT_EQ(Form->PropertyMemo->toPlainText(), "Caption = 'OK'");
}

TEST_F(AnalyzeTest, ObjectsMenuCollapsesAndExpands) {
    Files.Write(
        "demo/Unit1.dfm",
        test::CrLf({"object Form1: TForm1", "  object Panel1: TPanel", "    object Inner: TPanel",
                    "      object Deep: TLabel", "      end", "    end", "  end", "end"}));
    Form->OpenProject(ProjectPath());
    Form->AnalyzeButton->click();

    Form->ExpandAll->trigger();
    EXPECT_TRUE(Item(0)->isExpanded());
    EXPECT_TRUE(Item(0, {0, 0})->isExpanded());

    Form->CollapseAll->trigger();
    EXPECT_FALSE(Item(0)->isExpanded());
    EXPECT_FALSE(Item(0, {0})->isExpanded());

    // Expand One Level opens the item alone; its children stay collapsed.
    Form->ObjectOutline->setCurrentItem(Item(0));
    Form->ExpandOne->trigger();
    EXPECT_TRUE(Item(0)->isExpanded());
    EXPECT_FALSE(Item(0, {0})->isExpanded());

    Form->ExpandAll->trigger();
    Form->ObjectOutline->setCurrentItem(Item(0, {0}));
    Form->CollapseOne->trigger();
    EXPECT_TRUE(Item(0)->isExpanded());
    EXPECT_FALSE(Item(0, {0})->isExpanded());
    EXPECT_FALSE(Item(0, {0, 0})->isExpanded());
}

// The picture window and the outline follow each other both ways.
TEST_F(AnalyzeTest, ShowFormOpensThePictureThatSelectsAndMarksObjects) {
    Files.Write("demo/Unit1.dfm",
                test::CrLf({"object Form1: TForm1", "  Width = 300", "  Height = 200",
                            "  object Panel1: TPanel", "    Left = 10", "    Top = 10",
                            "    Width = 200", "    Height = 100", "    object Button1: TButton",
                            "      Left = 20", "      Top = 30", "      Width = 75",
                            "      Height = 25", "    end", "  end", "end"}));
    Form->OpenProject(ProjectPath());
    Form->AnalyzeButton->click();
    auto* window = Form->findChild<FormPictureWindow*>("FormPictureWindow");
    ASSERT_NE(window, nullptr);

    Form->ObjectOutline->expandAll();
    Form->ObjectOutline->setCurrentItem(Item(0, {0}));
    Form->ShowForm->trigger();
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(window->FormItem(), 1);

    // The button: the form's client area, then the panel's, then 30 down.
    const FormPicture picture = BuildFormPicture(Form->Objects, 1);
    const PictureRect& client = picture.Elements[0].Client;
    QWidget* view = window->findChild<QWidget*>("PictureView");
    QTest::mouseClick(view, Qt::LeftButton, {},
                      QPoint(client.Left + 10 + 1 + 20 + 5, client.Top + 10 + 1 + 30 + 5));
    EXPECT_EQ(Form->ObjectOutline->currentItem(), Item(0, {0, 0}));
    EXPECT_EQ(Form->PropertyMemo->toPlainText(), "Left = 20\nTop = 30\nWidth = 75\nHeight = 25");

    window->hide();
    Form->ObjectOutline->collapseAll();
    Form->ObjectOutline->itemDoubleClicked(Item(0), 0);
    EXPECT_TRUE(window->isVisible());
}

TEST_F(AnalyzeTest, NoObjectsLeavesTheObjectDisplayDisabled) {
    Form->OpenProject(ProjectPath());
    Form->AnalyzeButton->click();
    EXPECT_EQ(Messages.Transcript(),
              "Error: Could not open the unit \\r\\r" + ProjectDirectory.string() +
                  "/Unit1.dfm\nInformation: There are no objects used by this project\n");
    EXPECT_FALSE(Form->AnalyzeButton->isEnabled());
    EXPECT_FALSE(Form->ObjectOutline->isEnabled());
    EXPECT_EQ(ObjectOptionsEnabled, 0);
    // The tree is empty: the menu's commands have nothing to act on.
    Form->CollapseOne->trigger();
    Form->ExpandOne->trigger();
}

// A project of three forms, each with the one object of its name.
class ThreeFormAnalyzeTest : public AnalyzeTest {
protected:
    void SetUp() override {
        AnalyzeTest::SetUp();
        std::vector<std::string> uses;
        for (const char* unit : {"UnitA", "UnitB", "UnitC"}) {
            const std::string form = std::string("Form") + unit[4];
            Files.Write("demo/" + std::string(unit) + ".dfm",
                        test::CrLf({"object " + form + ": T" + form, "end"}));
            Files.Write("demo/" + std::string(unit) + ".pas",
                        test::CrLf({"unit " + std::string(unit) + ";", "end."}));
            uses.push_back(std::string(unit) + " in '" + unit + ".pas' {" + form + "}");
        }
        Files.Write("demo/Demo.dpr",
                    test::CrLf({"program Demo;", "uses", "  " + uses[0] + ",", "  " + uses[1] + ",",
                                "  " + uses[2] + ";", "begin",
                                "  Application.CreateForm(TFormA, FormA);", "end."}));
        Form->Hooks.ShowPrintSetup = [this](const std::string&) { ++PrintSetups; };
        Form->OpenProject(ProjectPath());
        Form->show();
    }

    // Runs `during` at the first form, once its progress is shown.
    void AnalyzeWith(std::function<void()> during) {
        QTimer::singleShot(0, Form.get(), std::move(during));
        Form->AnalyzeButton->click();
    }

    int PrintSetups = 0;
};

TEST_F(ThreeFormAnalyzeTest, CancelKeepsTheFormsReadBeforeItAndTheWindowTakesNoInput) {
    QString upper, lower;
    bool progressShown = false;
    AnalyzeWith([&] {
        upper = Form->AnalyzeProgress->Label1->text();
        lower = Form->AnalyzeProgress->Label2->text();
        progressShown = Form->AnalyzeProgress->isVisible();
        QTest::mouseClick(Form->PrintButton, Qt::LeftButton);
        QTest::mouseClick(Form->AnalyzeProgress->CancelButton, Qt::LeftButton);
    });

    EXPECT_TRUE(progressShown);
    EXPECT_EQ(upper, "Analyzing form 1 of 3");
    EXPECT_EQ(lower, "FormA");
    EXPECT_EQ(PrintSetups, 0) << "the window took input while Analyze ran";
    EXPECT_FALSE(Form->AnalyzeProgress->isVisible());
    EXPECT_EQ(Form->Objects.Count(), 1);
    EXPECT_EQ(Item(0)->text(0), "FormA:  TFormA");
    EXPECT_THAT(Available.Items(), ElementsAre("TFormA"));
    EXPECT_FALSE(Form->AnalyzeButton->isEnabled());
    EXPECT_TRUE(Form->ObjectOutline->isEnabled());
    EXPECT_EQ(Messages.Transcript(), "");

    // Afterwards the window answers again.
    QTest::mouseClick(Form->PrintButton, Qt::LeftButton);
    EXPECT_EQ(PrintSetups, 1);
}

TEST_F(ThreeFormAnalyzeTest, ACloseRequestWaitsForTheFormInHand) {
    bool stillShown = false;
    AnalyzeWith([&] {
        Form->close();
        stillShown = Form->isVisible();
    });
    EXPECT_TRUE(stillShown);
    EXPECT_FALSE(Form->isVisible());
    EXPECT_EQ(Form->Objects.Count(), 1);
    EXPECT_EQ(Messages.Transcript(), "");
}

namespace {

// The depth of an outline item: 1 for a top-level item.
int OutlineLevel(const QTreeWidgetItem* item) {
    int level = 0;
    for (; item; item = item->parent())
        ++level;
    return level;
}

} // namespace

// A form nested 100,000 levels deep. The object tree keeps every level; the
// outline shows the objects below level 256 side by side under their ancestor
// there, because Qt lays out and deletes outline items by recursion.
TEST_F(AnalyzeTest, AHundredThousandNestedObjectsAreShownFlatBelowLevel256) {
    constexpr int Depth = 100000;
    std::string form;
    for (int level = 1; level <= Depth; ++level)
        form += "object Panel" + std::to_string(level) +
                ": TPanel\r\n  Tag = " + std::to_string(level) + "\r\n";
    for (int level = 1; level <= Depth; ++level)
        form += "end\r\n";
    Files.Write("demo/Unit1.dfm", form);
    Form->OpenProject(ProjectPath());
    Form->show();

    Form->AnalyzeButton->click();
    EXPECT_EQ(Messages.Transcript(), "Information: Objects nested more than 256 levels deep are "
                                     "shown side by side below their ancestor at level 256.\n");
    ASSERT_EQ(Form->Objects.Count(), Depth);
    EXPECT_EQ(Form->Objects.Level(Depth), Depth);
    const QTreeWidgetItem* level256 = Form->ObjectOutline->topLevelItem(0);
    for (int level = 1; level < 256; ++level)
        level256 = level256->child(0);
    EXPECT_EQ(level256->text(0), "Panel256:  TPanel");
    ASSERT_EQ(level256->childCount(), Depth - 256);
    QTreeWidgetItem* deepest = level256->child(Depth - 257);
    EXPECT_EQ(OutlineLevel(deepest), 257);
    EXPECT_EQ(deepest->text(0), "Panel100000:  TPanel");
    Form->ObjectOutline->setCurrentItem(deepest);
    Form->ObjectOutlineClick();
    EXPECT_EQ(Form->PropertyMemo->toPlainText(), "Tag = 100000");

    Form->ExpandAllClick();
    Form->resize(Form->width() + 10, Form->height());
    QApplication::processEvents();
    EXPECT_TRUE(deepest->parent()->isExpanded());
    Form->CollapseAllClick();
    QApplication::processEvents();
    EXPECT_FALSE(Form->ObjectOutline->topLevelItem(0)->isExpanded());

    Form->OpenProject(ProjectPath());
    EXPECT_EQ(Form->ObjectOutline->topLevelItemCount(), 0);
    Form->AnalyzeButton->click();
    Form.reset();
}
