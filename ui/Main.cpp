#include "ui/Main.h"

#include "forms/Converter.h"
#include "forms/FormConversion.h"
#include "forms/FormPicture.h"
#include "output/DisplayText.h"
#include "platform/FileError.h"
#include "platform/Files.h"
#include "platform/MessageBox.h"
#include "platform/ScreenFit.h"
#include "report/RecentProjects.h"
#include "ui/AnalyzeProgress.h"
#include "ui/FormPictureWindow.h"
#include "ui/widgets/DialogControls.h"
#include "ui/widgets/InputBlock.h"
#include "ui/widgets/WaitCursor.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QCloseEvent>
#include <QCompleter>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileDialog>
#include <QKeySequence>
#include <QLabel>
#include <QListWidget>
#include <QMenuBar>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QTreeWidget>
#include <QTreeWidgetItemIterator>

#include <algorithm>
#include <filesystem>
#include <initializer_list>

namespace pembrill {

TMainForm* MainForm = nullptr;

namespace {

constexpr int ButtonLeft = 524;
constexpr int ButtonWidth = 89;
constexpr int ButtonHeight = 33;

QFont WindowFont() {
    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(13);
    font.setBold(true);
    return font;
}

QPushButton* MakeCommandButton(QWidget& parent, const char* name, const char* caption, int top) {
    return MakeButton(parent, name, caption, QRect(ButtonLeft, top, ButtonWidth, ButtonHeight));
}

// A font of its own, so that nothing of the window's bold font shows through.
void SetOwnFont(QWidget* control, QFont font) {
    font.setResolveMask(QFont::AllPropertiesResolved);
    control->setFont(font);
}

void SetPointSize(QWidget* control, int points) {
    QFont font = control->font();
    font.setPointSize(points);
    control->setFont(font);
}

// The file name box's completion list is a window of its own, which the
// dialog leaves standing over the main window when Enter picks a file.
void HideCompletionPopups(QFileDialog& dialog) {
    for (const QCompleter* completer : dialog.findChildren<QCompleter*>()) {
        if (completer->popup())
            completer->popup()->hide();
    }
}

} // namespace

TMainForm::TMainForm(QWidget* parent)
    : QMainWindow(parent), Client(new QWidget(this)), SourceListBox(new QListWidget(Client)),
      UnusedSourceListBox(new QListWidget(Client)), SourceList(*SourceListBox, true),
      UnusedSourceList(*UnusedSourceListBox, true) {
    setObjectName(QStringLiteral("MainForm"));
    setFont(WindowFont());
    setCentralWidget(Client);
    CreateControls();
    CreateMenus();
    FormCreate();
}

void TMainForm::CreateControls() {
    SourceCodeLabel = MakeLabel(*Client, "SourceCodeLabel", "Forms and Source", QPoint(12, 10));
    SourceListBox->setObjectName(QStringLiteral("SourceListBox"));
    SourceListBox->setSelectionMode(QAbstractItemView::ExtendedSelection);
    SetOwnFont(SourceListBox, QFont(QStringLiteral("Courier New")));
    // Its left follows the window's width; its top stays.
    UnusedSourceCodeLabel =
        MakeLabel(*Client, "UnusedSourceCodeLabel", "Unused Source", QPoint(0, 10));
    UnusedSourceListBox->setObjectName(QStringLiteral("UnusedSourceListBox"));
    SetOwnFont(UnusedSourceListBox, QFont(QStringLiteral("Courier New")));
    ObjectsLabel = MakeLabel(*Client, "ObjectsLabel", "Objects", QPoint());
    ObjectOutline = new QTreeWidget(Client);
    ObjectOutline->setObjectName(QStringLiteral("ObjectOutline"));
    ObjectOutline->setHeaderHidden(true);
    SetOwnFont(ObjectOutline, QFont(QStringLiteral("Arial")));
    ObjectPropertiesLabel =
        MakeLabel(*Client, "ObjectPropertiesLabel", "Object Properties", QPoint());
    PropertyMemo = new QPlainTextEdit(Client);
    PropertyMemo->setObjectName(QStringLiteral("PropertyMemo"));
    PropertyMemo->setReadOnly(true);
    SetOwnFont(PropertyMemo, QFont(QStringLiteral("Arial")));
    PropertyMemo->setLineWrapMode(QPlainTextEdit::NoWrap);
    PropertyMemo->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    PropertyMemo->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    // Alt+O is the Objects menu's, so Open underlines its E.
    OpenButton = MakeCommandButton(*Client, "OpenButton", "Op&en", 31);
    CloseButton = MakeCommandButton(*Client, "CloseButton", "&Quit", 76);
    AnalyzeButton = MakeCommandButton(*Client, "AnalyzeButton", "&Analyze", 120);
    PrintButton = MakeCommandButton(*Client, "PrintButton", "&Print", 165);
    FileDialog = new QFileDialog(this);
    FileDialog->setObjectName(QStringLiteral("FileDialog"));
    AnalyzeProgress = new TAnalyzeProgressForm(this);

    connect(OpenButton, &QPushButton::clicked, this, &TMainForm::OpenButtonClick);
    connect(CloseButton, &QPushButton::clicked, this, &TMainForm::CloseButtonClick);
    connect(AnalyzeButton, &QPushButton::clicked, this, &TMainForm::AnalyzeButtonClick);
    connect(PrintButton, &QPushButton::clicked, this, &TMainForm::PrintButtonClick);
    connect(ObjectOutline, &QTreeWidget::itemClicked, this, &TMainForm::ObjectOutlineClick);
    // The outline's click event also fires when the arrow keys move to an item.
    connect(ObjectOutline, &QTreeWidget::currentItemChanged, this, &TMainForm::ObjectOutlineClick);
    connect(ObjectOutline, &QTreeWidget::itemDoubleClicked, this,
            &TMainForm::ObjectOutlineDblClick);
    PictureWindow = new FormPictureWindow(this);
    connect(PictureWindow, &FormPictureWindow::ItemClicked, this, &TMainForm::SelectObject);
}

void TMainForm::CreateMenus() {
    QMenuBar* bar = menuBar();
    // Menus keep the system's font, not the window's bold one, and stay in
    // the window so that the client area starts below them everywhere.
    SetOwnFont(bar, QApplication::font());
    bar->setNativeMenuBar(false);

    FileMenu = MakeMenu(*bar, "FileMenu", "&File");
    OpenItem = MakeMenuItem(*FileMenu, "OpenItem", "&Open...");
    OpenItem->setShortcut(QKeySequence::Open);
    FileMenu->addSeparator();
    PrintItem = MakeMenuItem(*FileMenu, "PrintItem", "&Print...");
    PrintItem->setShortcut(QKeySequence::Print);
    PageSetup = MakeMenuItem(*FileMenu, "PageSetup", "Page &Setup...");
    FileMenu->addSeparator();
    ExitItem = MakeMenuItem(*FileMenu, "ExitItem", "E&xit");

    ObjectsMenu = MakeMenu(*bar, "ObjectsMenu", "&Objects");
    AnalyzeItem = MakeMenuItem(*ObjectsMenu, "AnalyzeItem", "&Analyze");
    ObjectsMenu->addSeparator();
    CollapseOne = MakeMenuItem(*ObjectsMenu, "CollapseOne", "C&ollapse");
    CollapseAll = MakeMenuItem(*ObjectsMenu, "CollapseAll", "&Collapse All");
    ExpandOne = MakeMenuItem(*ObjectsMenu, "ExpandOne", "&Expand One Level");
    ExpandAll = MakeMenuItem(*ObjectsMenu, "ExpandAll", "E&xpand All");
    ObjectsMenu->addSeparator();
    ShowForm = MakeMenuItem(*ObjectsMenu, "ShowForm", "Show &Form");

    HelpMenu = MakeMenu(*bar, "HelpMenu", "&Help");
    About1 = MakeMenuItem(*HelpMenu, "About1", "&About");

    connect(OpenItem, &QAction::triggered, this, &TMainForm::OpenItemClick);
    connect(ExitItem, &QAction::triggered, this, &TMainForm::ExitItemClick);
    connect(AnalyzeItem, &QAction::triggered, this, &TMainForm::AnalyzeButtonClick);
    connect(About1, &QAction::triggered, this, &TMainForm::About1Click);
    connect(PageSetup, &QAction::triggered, this, &TMainForm::PageSetupClick);
    connect(PrintItem, &QAction::triggered, this, &TMainForm::PrintItemClick);
    connect(CollapseOne, &QAction::triggered, this, &TMainForm::CollapseOneClick);
    connect(CollapseAll, &QAction::triggered, this, &TMainForm::CollapseAllClick);
    connect(ExpandOne, &QAction::triggered, this, &TMainForm::ExpandOneClick);
    connect(ExpandAll, &QAction::triggered, this, &TMainForm::ExpandAllClick);
    connect(ShowForm, &QAction::triggered, this, &TMainForm::ShowFormClick);
}

void TMainForm::FormCreate() {
    setWindowTitle(QStringLiteral("Pembrill"));
    for (QWidget* control : std::initializer_list<QWidget*>{SourceListBox, UnusedSourceListBox,
                                                            ObjectOutline, PropertyMemo})
        SetPointSize(control, 10);
    for (QLabel* label :
         {SourceCodeLabel, UnusedSourceCodeLabel, ObjectsLabel, ObjectPropertiesLabel})
        label->adjustSize();
    FitToScreen();
    MinClientHeight = (PrintButton->y() + PrintButton->height() + 5) * 2;
    MinWidth = OpenButton->width() * 6;
    if (screen()->geometry().height() > 480) {
        // A window that FitToScreen maximised must come back to its normal
        // state, or it would not open at the size set here.
        setWindowState(windowState() & ~Qt::WindowMaximized);
        SetClientHeight(MinClientHeight);
        MinWidth = OpenButton->width() * 7;
        resize(MinWidth, height());
        CentreOnScreen();
    }
    setMinimumSize(MinWidth, MinClientHeight + MenuBarHeight());
    FileDialog->setFileMode(QFileDialog::ExistingFile);
    setAcceptDrops(true);
    RecentProjects = LoadRecentProjects();
    ShowRecentProjects();
    FindConverter(ConverterPath);
    CheckConverter(ConverterPath);
    SetStartState();
}

#ifdef _WIN32

void TMainForm::FitToScreen() {
    const ScreenFit fit = FitBesideSystemTaskbar();
    if (fit.Maximise) {
        setWindowState(Qt::WindowMaximized);
        return;
    }
    setWindowState(Qt::WindowNoState);
    // The geometry is the outer rectangle, as Windows gives a window's
    // bounds, and Qt places the client area: the native window's frame comes
    // off it. Qt's own frame margins leave out Windows 10's invisible
    // borders, which the bounds hold. pembrill-cli's offscreen windows have
    // no native window.
    const ScreenRect area = QGuiApplication::platformName() == QLatin1String("windows")
                                ? ClientAreaWithin(fit.Geometry, reinterpret_cast<void*>(winId()))
                                : fit.Geometry;
    setGeometry(area.Left, area.Top, area.Width, area.Height);
}

#else

// The geometry is set also for a maximised window: it is the window's normal
// size, and where no window manager maximises the window it is all there is.
void TMainForm::FitToScreen() {
    const auto rectOf = [](const QRect& r) {
        return ScreenRect{r.x(), r.y(), r.width(), r.height()};
    };
    const ScreenFit fit =
        FitToScreenArea(rectOf(screen()->geometry()), rectOf(screen()->availableGeometry()));
    const ScreenRect& area = fit.Geometry;
    setWindowState(Qt::WindowNoState);
    move(area.Left, area.Top);
    resize(area.Width, area.Height);
    if (fit.Maximise)
        setWindowState(Qt::WindowMaximized);
}

#endif

void TMainForm::CentreOnScreen() {
    const QRect area = screen()->geometry();
    move(area.x() + (area.width() - width()) / 2, area.y() + (area.height() - height()) / 2);
}

int TMainForm::MenuBarHeight() const {
    return menuBar()->heightForWidth(width());
}

int TMainForm::ClientHeight() const {
    return height() - MenuBarHeight();
}

void TMainForm::SetClientHeight(int height) {
    resize(width(), height + MenuBarHeight());
}

void TMainForm::resizeEvent(QResizeEvent* event) {
    QMainWindow::resizeEvent(event);
    FormResize();
}

void TMainForm::FormResize() {
    const int W = std::max(width(), MinWidth);
    const int H = std::max(ClientHeight(), MinClientHeight);
    const int halfW = W / 2;
    const int halfH = H / 2;
    SourceCodeLabel->move(12, 10);
    const int listTop = SourceCodeLabel->height() + 15;
    SourceListBox->setGeometry(12, listTop, halfW - 18, halfH - listTop - 5);
    ObjectsLabel->move(12, halfH + 5);
    ObjectOutline->setGeometry(12, ObjectsLabel->y() + ObjectsLabel->height() + 5,
                               SourceListBox->width(), halfH - ObjectsLabel->height() - 20);
    UnusedSourceCodeLabel->move(halfW + 6, UnusedSourceCodeLabel->y());
    UnusedSourceListBox->setGeometry(halfW + 6, SourceListBox->y(),
                                     halfW - OpenButton->width() - 42, SourceListBox->height());
    ObjectPropertiesLabel->move(halfW + 6, ObjectsLabel->y());
    PropertyMemo->setGeometry(halfW + 6, ObjectOutline->y(), halfW - 24, ObjectOutline->height());
    OpenButton->move(W - OpenButton->width() - 18, OpenButton->y());
    for (QPushButton* button : {CloseButton, AnalyzeButton, PrintButton})
        button->move(OpenButton->x(), button->y());
}

void TMainForm::SetSourceDisplay(bool enabled) {
    SourceCodeLabel->setEnabled(enabled);
    UnusedSourceCodeLabel->setEnabled(enabled);
}

void TMainForm::SetObjectDisplay(bool enabled) {
    ObjectsLabel->setEnabled(enabled);
    ObjectPropertiesLabel->setEnabled(enabled);
    ObjectOutline->setEnabled(enabled);
    PropertyMemo->setEnabled(enabled);
}

// The button and the Objects menu's item are one command.
void TMainForm::SetAnalyzeEnabled(bool enabled) {
    AnalyzeButton->setEnabled(enabled);
    AnalyzeItem->setEnabled(enabled);
}

void TMainForm::SetProjectCommands(bool enabled) {
    PrintButton->setEnabled(enabled);
    PrintItem->setEnabled(enabled);
    ObjectsMenu->menuAction()->setEnabled(enabled);
}

void TMainForm::SetStartState() {
    SetSourceDisplay(false);
    SetObjectDisplay(false);
    SetAnalyzeEnabled(false);
    SetProjectCommands(false);
}

void TMainForm::SetOpenState() {
    SetSourceDisplay(true);
    SetObjectDisplay(false);
    SetAnalyzeEnabled(!ConverterPath.empty());
    SetProjectCommands(true);
    if (Hooks.DisableObjectOptions)
        Hooks.DisableObjectOptions();
}

void TMainForm::SetAnalyzedState(bool objectsFound) {
    SetSourceDisplay(true);
    SetObjectDisplay(objectsFound);
    SetAnalyzeEnabled(false);
    SetProjectCommands(true);
    if (objectsFound && Hooks.EnableObjectOptions)
        Hooks.EnableObjectOptions();
}

bool TMainForm::AskProjectFile(std::string& fileName) {
    FileDialog->setWindowTitle(QStringLiteral("Open Project"));
    FileDialog->setNameFilter(QStringLiteral("Delphi Project (*.dpr)"));
    FileDialog->setDefaultSuffix(QStringLiteral("dpr"));
    for (;;) {
        const int answer = FileDialog->exec();
        HideCompletionPopups(*FileDialog);
        if (answer != QDialog::Accepted || FileDialog->selectedFiles().isEmpty())
            return false;
        // The dialog hands back another extension when the user typed one.
        fileName = FromDisplay(FileDialog->selectedFiles().constFirst());
        if (AcceptProjectFileName(fileName))
            return true;
    }
}

ProjectLists TMainForm::Lists() {
    return {SourceList, UnusedSourceList, *Hooks.ShowList, *Hooks.SuppressList};
}

void TMainForm::ClearProject() {
    ProjectLists lists = Lists();
    ClearProjectLists(Project, lists);
    ObjectOutline->clear();
    PictureWindow->Clear();
    Objects.Clear();
    PropertyMemo->clear();
    if (Hooks.ClearObjectTypeLists)
        Hooks.ClearObjectTypeLists();
}

bool TMainForm::OpenProject(const std::string& path) {
    Project.ProjectFileName = path;
    // Unit files named with a relative directory resolve against the
    // working directory, which the Open dialog leaves at the project's.
    const std::string directory = DirectoryOf(path);
    if (!directory.empty())
        SetWorkingDirectory(directory);
    WaitCursor wait;
    setWindowTitle(ToDisplay("Pembrill: " + path));
    ClearProject();
    SetObjectDisplay(false);
    repaint();
    try {
        ProjectLists lists = Lists();
        ReadProject(Project, lists);
    } catch (const FileError& error) {
        // The opening ends here: a half-read project is no open project.
        ShowMessage(MessageKind::Error, error.what());
        SetStartState();
        return false;
    }
    SetOpenState();
    return true;
}

void TMainForm::OpenAndRemember(const std::string& path) {
    if (!OpenProject(path))
        return;
    RecentProjects = WithRecentProject(RecentProjects, path);
    SaveRecentProjects(RecentProjects);
    ShowRecentProjects();
}

// Named as the Open dialog names files: in full, so that the caption and the
// recent list say where the project is.
void TMainForm::OpenProjectFile(const std::string& fileName) {
    if (AcceptProjectFileName(fileName))
        OpenAndRemember(FromFileSystemPath(
            std::filesystem::absolute(ToFileSystemPath(fileName)).lexically_normal()));
}

void TMainForm::OpenItemClick() {
    std::string fileName;
    if (AskProjectFile(fileName))
        OpenAndRemember(fileName);
}

void TMainForm::ShowRecentProjects() {
    // The item chosen may be among them, its handler still running.
    for (QAction* item : RecentItems) {
        FileMenu->removeAction(item);
        item->deleteLater();
    }
    RecentItems.clear();
    if (RecentProjects.empty())
        return;
    int place = 0;
    for (const std::string& path : RecentProjects) {
        const QString caption = QString("&%1 %2").arg(++place).arg(ToDisplay(path));
        auto* item = new QAction(caption, FileMenu);
        item->setObjectName(QString("RecentProject%1").arg(place));
        connect(item, &QAction::triggered, this, [this, path] { OpenProjectFile(path); });
        RecentItems.push_back(item);
    }
    RecentItems.push_back(new QAction(FileMenu));
    RecentItems.back()->setSeparator(true);
    FileMenu->insertActions(ExitItem, QList<QAction*>(RecentItems.begin(), RecentItems.end()));
}

void TMainForm::dragEnterEvent(QDragEnterEvent* event) {
    if (event->mimeData()->hasUrls() && event->mimeData()->urls().constFirst().isLocalFile())
        event->acceptProposedAction();
}

void TMainForm::dropEvent(QDropEvent* event) {
    const QString fileName = event->mimeData()->urls().constFirst().toLocalFile();
    event->acceptProposedAction();
    OpenProjectFile(FromDisplay(fileName));
}

void TMainForm::OpenButtonClick() {
    OpenItemClick();
}

void TMainForm::CloseButtonClick() {
    close();
}

// The object tree's property lists go with the tree when the window does.
void TMainForm::ExitItemClick() {
    close();
}

void TMainForm::About1Click() {
    if (Hooks.ShowAbout)
        Hooks.ShowAbout();
}

void TMainForm::PageSetupClick() {
    if (Hooks.ShowPageFormat)
        Hooks.ShowPageFormat();
}

void TMainForm::PrintButtonClick() {
    if (Hooks.ShowPrintSetup)
        Hooks.ShowPrintSetup(Project.ProjectFileName);
}

void TMainForm::PrintItemClick() {
    PrintButtonClick();
}

namespace {

// Qt lays out and deletes an outline's items by recursion, one call per level,
// so a form nested tens of thousands of levels deep would run it out of stack.
// The outline shows objects nested deeper than this side by side below their
// ancestor at this level; the object tree itself keeps every level.
constexpr int MaxOutlineLevel = 256;

} // namespace

// Between forms the window paints and the progress window takes its Cancel;
// the window itself takes no input until Analyze has ended, and a close
// request waits for the form in hand.
void TMainForm::AnalyzeButtonClick() {
    {
        WaitCursor wait;
        InputBlock block(*this);
        Analyzing = true;
        AnalyzeProgress->Start();
        AnalyzeForms(
            SourceList, Project.ProjectFileName, ConverterPath, Objects, [this] { repaint(); },
            AnalyzeProgress);
        AnalyzeProgress->hide();
        Analyzing = false;
    }
    if (CloseAsked) {
        close();
        return;
    }
    ShowAnalyzeResult();
}

void TMainForm::ShowAnalyzeResult() {
    if (!ShowObjectTree())
        ShowMessage(MessageKind::Information,
                    "Objects nested more than " + std::to_string(MaxOutlineLevel) +
                        " levels deep are shown side by side below their ancestor at level " +
                        std::to_string(MaxOutlineLevel) + ".");
    if (Objects.Count() > 0)
        ObjectOutlineClick();
    if (Hooks.AvailableList)
        ObjectTypes(Objects, *Hooks.AvailableList);
    if (Hooks.SetObjectTypeButtons)
        Hooks.SetObjectTypeButtons();
    SetAnalyzedState(Objects.Count() > 0);
    if (Objects.Count() == 0)
        ShowMessage(MessageKind::Information, "There are no objects used by this project");
}

// The outline mirrors the object tree: parents come before their children in
// the tree's order, so one pass builds it. Each item keeps its tree index.
// False when some objects lie too deep to be shown at their own level.
bool TMainForm::ShowObjectTree() {
    ObjectOutline->clear();
    PictureWindow->Clear();
    // For each tree item, the outline item its children are shown under.
    std::vector<QTreeWidgetItem*> childrenUnder(static_cast<size_t>(Objects.Count()) + 1, nullptr);
    bool allLevelsShown = true;
    for (int index = 1; index <= Objects.Count(); ++index) {
        QTreeWidgetItem* parent = childrenUnder[static_cast<size_t>(Objects.Parent(index))];
        auto* item = parent ? new QTreeWidgetItem(parent) : new QTreeWidgetItem(ObjectOutline);
        item->setText(0, ToDisplay(Objects.Text(index)));
        item->setData(0, Qt::UserRole, index);
        const bool tooDeep = Objects.Level(index) > MaxOutlineLevel;
        allLevelsShown = allLevelsShown && !tooDeep;
        childrenUnder[static_cast<size_t>(index)] = tooDeep ? parent : item;
    }
    if (Objects.Count() > 0)
        ObjectOutline->setCurrentItem(ObjectOutline->topLevelItem(0));
    return allLevelsShown;
}

void TMainForm::ObjectOutlineClick() {
    PropertyMemo->clear();
    const QTreeWidgetItem* item = ObjectOutline->currentItem();
    if (!item)
        return;
    QStringList lines;
    const int index = item->data(0, Qt::UserRole).toInt();
    for (const auto& entry : Objects.Properties(index))
        lines << ToDisplay(entry);
    PropertyMemo->setPlainText(lines.join(QLatin1Char('\n')));
    PictureWindow->MarkItem(index);
}

void TMainForm::ShowFormClick() {
    const QTreeWidgetItem* current = ObjectOutline->currentItem();
    if (!current)
        return;
    const int index = current->data(0, Qt::UserRole).toInt();
    if (const int form = FormItemOf(Objects, index))
        PictureWindow->ShowForm(Objects, form, index);
}

void TMainForm::ObjectOutlineDblClick(QTreeWidgetItem* item) {
    const int index = item->data(0, Qt::UserRole).toInt();
    if (IsFormItem(Objects, index))
        PictureWindow->ShowForm(Objects, index, index);
}

void TMainForm::SelectObject(int index) {
    for (int at = index; at > 0; at = Objects.Parent(at)) {
        for (QTreeWidgetItemIterator it(ObjectOutline); *it; ++it) {
            if ((*it)->data(0, Qt::UserRole).toInt() == at) {
                ObjectOutline->setCurrentItem(*it);
                return;
            }
        }
    }
}

namespace {

// An item and every item below it, without recursion: trees may be deep.
void SetExpandedBelow(QTreeWidgetItem* top, bool expanded) {
    std::vector<QTreeWidgetItem*> pending{top};
    while (!pending.empty()) {
        QTreeWidgetItem* item = pending.back();
        pending.pop_back();
        item->setExpanded(expanded);
        for (int i = 0; i < item->childCount(); ++i)
            pending.push_back(item->child(i));
    }
}

} // namespace

void TMainForm::CollapseOneClick() {
    QTreeWidgetItem* item = ObjectOutline->currentItem();
    if (item && item->childCount() > 0)
        SetExpandedBelow(item, false);
}

void TMainForm::CollapseAllClick() {
    ObjectOutline->collapseAll();
}

void TMainForm::ExpandOneClick() {
    QTreeWidgetItem* item = ObjectOutline->currentItem();
    if (item && item->childCount() > 0)
        item->setExpanded(true);
}

// Expanding item by item would lay the view out again for every item; the
// view's own Expand All lays it out once.
void TMainForm::ExpandAllClick() {
    ObjectOutline->expandAll();
}

// Closing the main window ends the program, also while the splash or a
// hidden dialog still exists.
void TMainForm::closeEvent(QCloseEvent* event) {
    if (Analyzing) {
        CloseAsked = true;
        AnalyzeProgress->Cancel();
        event->ignore();
        return;
    }
    QMainWindow::closeEvent(event);
    if (event->isAccepted())
        QCoreApplication::quit();
}

} // namespace pembrill
