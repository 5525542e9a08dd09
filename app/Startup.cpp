#include "app/Startup.h"

#include "app/About.h"
#include "app/Main.h"

#include <QApplication>

namespace pembrill {

void CreateWindows(Splash splash) {
    AboutDlg = new TAboutDlg;
    if (splash == Splash::Shown)
        AboutDlg->ShowSplash();
    QApplication::setApplicationName(QStringLiteral("Pembrill"));
    QApplication::setWindowIcon(ProgramIconPixmap());
    MainForm = new TMainForm;
    if (splash == Splash::Shown)
        AboutDlg->StartSplashTimer(3500);
    // The other windows follow here, hidden, in this order: the page format
    // dialog, the print setup dialog (which loads the stored settings), the
    // object-type filter dialog, the page composer, the unit filter dialog,
    // the progress window. Then MainForm->Hooks is filled from them.
}

void DestroyWindows() {
    delete MainForm;
    MainForm = nullptr;
    delete AboutDlg;
    AboutDlg = nullptr;
}

} // namespace pembrill
