#include "app/Cli.h"

#include <QApplication>

#include <cstdio>

namespace {

constexpr const char* Usage = "usage: pembrill-cli [OPTION]... PROJECT.dpr\n";

// stderr carries the program's message lines, and tests read them; Qt's own
// notes about the platform it runs on are not among them.
void KeepQtQuiet(QtMsgType type, const QMessageLogContext&, const QString& text) {
    if (type == QtCriticalMsg || type == QtFatalMsg)
        std::fprintf(stderr, "%s\n", qPrintable(text));
}

} // namespace

// Pembrill without a screen: the same windows, hidden on Qt's offscreen
// platform, driven through the same handlers a user would press.
int main(int argc, char** argv) {
    pembrill::CliOptions options;
    std::string error;
    if (!pembrill::ParseCliOptions(std::vector<std::string>(argv + 1, argv + argc), options,
                                   error)) {
        std::fprintf(stderr, "pembrill-cli: %s\n%s", error.c_str(), Usage);
        return 2;
    }
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    qInstallMessageHandler(KeepQtQuiet);
    int qtArgc = 1;
    QApplication application(qtArgc, argv);
    return pembrill::RunCli(options);
}
