#include "ui/Startup.h"

#include "output/DisplayText.h"
#include "output/Prnt.h"
#include "ui/About.h"
#include "ui/Depfilt.h"
#include "ui/Frmt.h"
#include "ui/Main.h"
#include "ui/Objfilt.h"
#include "ui/Prntset.h"
#include "ui/Progress.h"

#include <QApplication>
#include <QStringList>
#include <QTimer>

namespace pembrill {

namespace {

// What opening and analysing a project do to the other windows.
void ConnectMainForm() {
    MainFormHooks& hooks = MainForm->Hooks;
    hooks.ShowList = &DependencyFilterForm->ShowStrings();
    hooks.SuppressList = &DependencyFilterForm->SuppressStrings();
    hooks.AvailableList = &ObjectFilterForm->AvailableStrings();
    hooks.ClearObjectTypeLists = [] {
        ObjectFilterForm->AvailableStrings().Clear();
        ObjectFilterForm->SelectedStrings().Clear();
    };
    hooks.SetObjectTypeButtons = [] { ObjectFilterForm->SetButtons(); };
    hooks.DisableObjectOptions = [] {
        PrintSetupForm->DisableObjectOptions();
        PrintSetupForm->ObjectNoneRadioButton->setChecked(true);
    };
    hooks.EnableObjectOptions = [] { PrintSetupForm->EnableObjectOptions(); };
    hooks.ShowAbout = [] { AboutDlg->ShowModal(); };
    hooks.ShowPageFormat = [] { FormatForm->exec(); };
    hooks.ShowPrintSetup = [](const std::string& projectFileName) {
        PrintSetupForm->ProjectFileName = projectFileName;
        PrintSetupForm->exec();
    };
}

} // namespace

void CreateWindows(Splash splash) {
    AboutDlg = new TAboutDlg;
    if (splash == Splash::Shown)
        AboutDlg->ShowSplash();
    QApplication::setApplicationName(QStringLiteral("Pembrill"));
    QApplication::setWindowIcon(ProgramIconPixmap());
    MainForm = new TMainForm;
    if (splash == Splash::Shown)
        AboutDlg->StartSplashTimer(3500);
    FormatForm = new TFormatForm;
    PrintSetupForm = new TPrintSetupForm;
    ObjectFilterForm = new TObjectFilterForm;
    PrintForm = new TPrintForm;
    DependencyFilterForm = new TDependencyFilterForm;
    ProgressForm = new TProgressForm;
    ConnectMainForm();
}

void OpenArgumentProject(const QStringList& arguments) {
    if (arguments.size() < 2)
        return;
    QTimer::singleShot(0, MainForm,
                       [name = arguments.at(1)] { MainForm->OpenProjectFile(FromDisplay(name)); });
}

void DestroyWindows() {
    delete ProgressForm;
    ProgressForm = nullptr;
    delete DependencyFilterForm;
    DependencyFilterForm = nullptr;
    delete PrintForm;
    PrintForm = nullptr;
    delete ObjectFilterForm;
    ObjectFilterForm = nullptr;
    delete PrintSetupForm;
    PrintSetupForm = nullptr;
    delete FormatForm;
    FormatForm = nullptr;
    delete MainForm;
    MainForm = nullptr;
    delete AboutDlg;
    AboutDlg = nullptr;
}

} // namespace pembrill
