#include "platform/MessageBox.h"
#include "platform/TempFile.h"
#include "ui/About.h"
#include "ui/Main.h"
#include "ui/Startup.h"
#include "ui/widgets/GuiMessageBox.h"

#include <QAbstractNativeEventFilter>
#include <QApplication>

#ifdef _WIN32
#include <windows.h>

namespace {

// A program without a console gets no console event when the user logs off
// or Windows shuts down; its windows get WM_ENDSESSION, and the session may
// end as soon as they have answered, before an open preview's print files
// would go the ordinary way. WM_QUERYENDSESSION leaves them: another program
// may still cancel the end, and the preview reads them while it lays pages
// out.
class EndSessionFilter : public QAbstractNativeEventFilter {
public:
    bool nativeEventFilter(const QByteArray&, void* message, qintptr*) override {
        const MSG& windowsMessage = *static_cast<const MSG*>(message);
        if (windowsMessage.message == WM_ENDSESSION && windowsMessage.wParam)
            pembrill::RemoveAllTempFiles();
        return false;
    }
};

} // namespace
#endif

// The desktop program. Its one argument, a project file, is opened once
// the program has started, as the Open dialog would open it ("Open with" in
// a file manager); QApplication takes Qt's own (-platform and the like)
// first.
int main(int argc, char** argv) {
    QApplication application(argc, argv);
#ifdef _WIN32
    EndSessionFilter endSession;
    application.installNativeEventFilter(&endSession);
#endif
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
