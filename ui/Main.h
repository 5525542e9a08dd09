#pragma once

#include "forms/ObjectTree.h"
#include "source/Project.h"
#include "ui/widgets/ListBoxStrings.h"

#include <QMainWindow>

#include <functional>
#include <string>
#include <vector>

class QAction;
class QFileDialog;
class QLabel;
class QListWidget;
class QMenu;
class QPlainTextEdit;
class QPushButton;
class QTreeWidget;
class QTreeWidgetItem;

namespace pembrill {

class TAnalyzeProgressForm;
class FormPictureWindow;

// The main window's one way to the other windows: what opening and
// analysing a project do to them, and the commands that open them. Start-up
// fills these from the program-wide references once the windows exist, so
// that the main window can also be made and tested on its own.
struct MainFormHooks {
    // The unit filter dialog's lists, which opening a project fills.
    StringList* ShowList = nullptr;
    StringList* SuppressList = nullptr;
    // Empties the object-type filter dialog's AvailableList and SelectedList.
    std::function<void()> ClearObjectTypeLists;
    // The object-type filter dialog's AvailableList, which Analyze fills,
    // and its SetButtons, which Analyze calls afterwards.
    StringList* AvailableList = nullptr;
    std::function<void()> SetObjectTypeButtons;
    // The print setup dialog's Objects options: disabled with
    // ObjectNoneRadioButton checked after an Open, enabled when Analyze
    // found objects.
    std::function<void()> DisableObjectOptions;
    std::function<void()> EnableObjectOptions;
    // Help, About; Page Setup; Print, for the project file named.
    std::function<void()> ShowAbout;
    std::function<void()> ShowPageFormat;
    std::function<void(const std::string& projectFileName)> ShowPrintSetup;
};

class TMainForm : public QMainWindow {
    Q_OBJECT

public:
    // Builds the controls and runs FormCreate.
    explicit TMainForm(QWidget* parent = nullptr);

    // The Open dialog until the user picks a .dpr file or cancels.
    bool AskProjectFile(std::string& fileName);
    // Opening a project once its file is chosen: the working directory
    // becomes the project's, then the model is cleared and read again under
    // the hourglass, and the window enters the state after Open. False when
    // the project could not be read.
    bool OpenProject(const std::string& path);
    // A project named outside the Open dialog (the command line, a file
    // dropped on the window, the File menu's recent list): the dialog's
    // check of the name, then the opening.
    void OpenProjectFile(const std::string& fileName);
    void ClearProject();

    // The window's states; each sets every control the states differ in.
    void SetStartState();
    void SetOpenState();
    void SetAnalyzedState(bool objectsFound);

    // Lays the controls out for the current size, never for less than
    // MinWidth by MinClientHeight.
    void FormResize();
    // The client area: the central widget, below the menu bar.
    int ClientHeight() const;
    void SetClientHeight(int height);

    ProjectModel Project;
    // The analysed forms' objects; ObjectOutline shows them.
    ObjectTree Objects;
    std::string ConverterPath;
    int MinClientHeight = 0;
    int MinWidth = 0;
    MainFormHooks Hooks;

    QWidget* Client;
    QLabel* SourceCodeLabel;
    QListWidget* SourceListBox;
    QLabel* UnusedSourceCodeLabel;
    QListWidget* UnusedSourceListBox;
    QLabel* ObjectsLabel;
    QTreeWidget* ObjectOutline;
    // The picture of a form of the outline, opened from it.
    FormPictureWindow* PictureWindow;
    QLabel* ObjectPropertiesLabel;
    QPlainTextEdit* PropertyMemo;
    QPushButton* OpenButton;
    QPushButton* CloseButton;
    QPushButton* AnalyzeButton;
    QPushButton* PrintButton;
    QFileDialog* FileDialog;
    TAnalyzeProgressForm* AnalyzeProgress;

    // The two list boxes as the project reader fills and walks them.
    ListBoxStrings SourceList;
    ListBoxStrings UnusedSourceList;

    QMenu* FileMenu;
    QAction* OpenItem;
    QAction* PrintItem;
    QAction* PageSetup;
    QAction* ExitItem;
    // The File menu's last projects, "&1 name" and on, above Exit.
    std::vector<QAction*> RecentItems;
    QMenu* ObjectsMenu;
    QAction* AnalyzeItem;
    QAction* CollapseOne;
    QAction* CollapseAll;
    QAction* ExpandOne;
    QAction* ExpandAll;
    QAction* ShowForm;
    QMenu* HelpMenu;
    QAction* About1;

public slots:
    void OpenItemClick();
    void OpenButtonClick();
    void CloseButtonClick();
    void ExitItemClick();
    void About1Click();
    void AnalyzeButtonClick();
    void PageSetupClick();
    void PrintButtonClick();
    void PrintItemClick();
    void ObjectOutlineClick();
    void CollapseOneClick();
    void CollapseAllClick();
    void ExpandOneClick();
    void ExpandAllClick();
    void ShowFormClick();
    void ObjectOutlineDblClick(QTreeWidgetItem* item);
    // Selects the outline's item of tree item `index`, or of its nearest
    // ancestor shown.
    void SelectObject(int index);

protected:
    void resizeEvent(QResizeEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void CreateControls();
    void CreateMenus();
    void FormCreate();
    void FitToScreen();
    void CentreOnScreen();
    int MenuBarHeight() const;
    void SetSourceDisplay(bool enabled);
    void SetObjectDisplay(bool enabled);
    void SetProjectCommands(bool enabled);
    void SetAnalyzeEnabled(bool enabled);
    ProjectLists Lists();
    bool ShowObjectTree();
    void ShowAnalyzeResult();
    void OpenAndRemember(const std::string& path);
    void ShowRecentProjects();

    std::vector<std::string> RecentProjects;

    bool Analyzing = false;
    // A close request that came while Analyze ran, answered once it ends.
    bool CloseAsked = false;
};

// The one main window of the program, created at start-up.
extern TMainForm* MainForm;

} // namespace pembrill
