#include "app/Headless.h"

#include <QByteArray>
#include <QString>
#include <QtGlobal>

#include <cstdio>

namespace pembrill {

namespace {

void KeepQtQuiet(QtMsgType type, const QMessageLogContext&, const QString& text) {
    if (type == QtCriticalMsg || type == QtFatalMsg)
        std::fprintf(stderr, "%s\n", qPrintable(text));
}

} // namespace

void PrepareHeadlessQt() {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    qInstallMessageHandler(KeepQtQuiet);
}

} // namespace pembrill
