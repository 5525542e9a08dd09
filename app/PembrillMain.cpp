#include "platform/MessageBox.h"
#include "ui/About.h"
#include "ui/Main.h"
#include "ui/Startup.h"
#include "ui/widgets/GuiMessageBox.h"

#include <QApplication>

// The desktop program. Its one argument, a project file, is opened once
// the program has started, as the Open dialog would open it ("Open with" in
// a file manager); QApplication takes Qt's own (-platform and the like)
// first.
int main(int argc, char** argv) {
    QApplication application(argc, argv);
    pembrill::GuiMessageSink messageBoxes;
    pembrill::ScopedMessageSink installMessageBoxes(messageBoxes);
    pembrill::CreateWindows(pembrill::Splash::Shown);
    pembrill::MainForm->show();
    // The splash stays above the main window also where no window manager
    // keeps it on top.
    if (pembrill::AboutDlg->isVisible())
        pembrill::AboutDlg->raise();
    pembrill::OpenArgumentProject(QApplication::arguments());
    const int result = application.exec();
    pembrill::DestroyWindows();
    return result;
}
