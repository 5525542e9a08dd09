#include "app/Cli.h"
#include "app/Headless.h"
#include "platform/Process.h"

#include <QApplication>

#include <cstdio>

// Pembrill without a screen: the same windows, hidden on Qt's offscreen
// platform, driven through the same handlers a user would press.
int main(int argc, char** argv) {
    pembrill::CliOptions options;
    std::string error;
    if (!pembrill::ParseCliOptions(pembrill::ProgramArguments(argc, argv), options, error)) {
        std::fprintf(stderr, "pembrill-cli: %s\n%s", error.c_str(),
                     pembrill::CliUsage(false).c_str());
        return 2;
    }
    if (options.Help) {
        std::fputs(pembrill::CliUsage(true).c_str(), stdout);
        return 0;
    }
    pembrill::PrepareHeadlessQt();
    int qtArgc = 1;
    QApplication application(qtArgc, argv);
    return pembrill::RunCli(options);
}
