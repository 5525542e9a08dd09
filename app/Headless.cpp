#include "app/Headless.h"

#include <QByteArray>
#include <QFont>
#include <QString>
#include <QtGlobal>

#include <cstdio>

#ifdef _WIN32
#include <windows.h>
#endif

namespace pembrill {

namespace {

void KeepQtQuiet(QtMsgType type, const QMessageLogContext&, const QString& text) {
    if (type == QtCriticalMsg || type == QtFatalMsg)
        std::fprintf(stderr, "%s\n", qPrintable(text));
}

#ifdef _WIN32
// The offscreen platform reads its fonts from one folder, by default one
// beside Qt that no Windows installation has: without the system's fonts
// every text of a PDF came out blank.
void UseTheSystemsFonts() {
    if (!qEnvironmentVariableIsEmpty("QT_QPA_FONTDIR"))
        return;
    wchar_t windows[MAX_PATH];
    const UINT length = ::GetWindowsDirectoryW(windows, MAX_PATH);
    if (length == 0 || length >= MAX_PATH)
        return;
    qputenv("QT_QPA_FONTDIR", (QString::fromWCharArray(windows, length) + "\\Fonts").toLocal8Bit());
}

// The reports name Arial, Courier New and Times New Roman. A system without
// them (Wine; Windows without its core fonts) may hold their stand-ins of the
// same metrics, which fontconfig gives for them on Linux; the offscreen
// platform knows no such aliases and took whatever font came first, so the
// report's lines and columns fell elsewhere than on Linux.
void UseStandInsOfTheReportsFonts() {
    QFont::insertSubstitution("Arial", "Liberation Sans");
    QFont::insertSubstitution("Courier New", "Liberation Mono");
    QFont::insertSubstitution("Times New Roman", "Liberation Serif");
}
#endif

} // namespace

void PrepareHeadlessQt() {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
#ifdef _WIN32
    UseTheSystemsFonts();
    UseStandInsOfTheReportsFonts();
#endif
    qInstallMessageHandler(KeepQtQuiet);
}

} // namespace pembrill
