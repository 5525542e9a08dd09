#include "ui/Startup.h"

#include "platform/MessageBox.h"
#include "tests/support/TempDir.h"
#include "ui/About.h"
#include "ui/Main.h"

#include <QApplication>
#include <QPushButton>
#include <QStringList>
#include <QTimer>

#include <gtest/gtest.h>

#include <cstdlib>

using namespace pembrill;

namespace {

// Notes how the splash stood when the main window's converter check spoke,
// which happens while the main window is being created.
class SplashWatchingSink : public MessageSink {
public:
    void Show(MessageKind, const std::string&) override {
        ++Count;
        SplashVisible = AboutDlg && AboutDlg->isVisible();
        SplashTimerRunning = AboutDlg && AboutDlg->SplashTimer->isActive();
    }

    int Count = 0;
    bool SplashVisible = false;
    bool SplashTimerRunning = false;
};

class StartupTest : public testing::Test {
protected:
    void SetUp() override { ::setenv("PEMBRILL_REGISTRY", Registry.Path.c_str(), 1); }
    void TearDown() override {
        DestroyWindows();
        ::unsetenv("PEMBRILL_REGISTRY");
    }

    test::TempDir Registry;
    SplashWatchingSink Messages;
    ScopedMessageSink InstallMessages{Messages};
};

TEST_F(StartupTest, DesktopShowsTheSplashBeforeTheMainWindowAndTimesItAfter) {
    CreateWindows(Splash::Shown);
    ASSERT_NE(AboutDlg, nullptr);
    ASSERT_NE(MainForm, nullptr);
    EXPECT_EQ(Messages.Count, 1) << "the converter warning";
    EXPECT_TRUE(Messages.SplashVisible);
    EXPECT_FALSE(Messages.SplashTimerRunning);

    EXPECT_EQ(QApplication::applicationName(), "Pembrill");
    EXPECT_TRUE(AboutDlg->isVisible());
    EXPECT_TRUE(AboutDlg->SplashTimer->isActive());
    EXPECT_EQ(AboutDlg->SplashTimer->interval(), 3500);
    EXPECT_FALSE(MainForm->isVisible()) << "the program shows it when it starts its loop";
}

TEST_F(StartupTest, CommandLineCreatesTheSameWindowsWithoutSplash) {
    CreateWindows(Splash::Hidden);
    ASSERT_NE(AboutDlg, nullptr);
    ASSERT_NE(MainForm, nullptr);
    EXPECT_EQ(Messages.Count, 1);
    EXPECT_FALSE(AboutDlg->isVisible());
    EXPECT_FALSE(AboutDlg->SplashTimer->isActive());
    EXPECT_FALSE(MainForm->isVisible());

    DestroyWindows();
    EXPECT_EQ(MainForm, nullptr);
    EXPECT_EQ(AboutDlg, nullptr);
}

} // namespace

TEST_F(StartupTest, TheProjectNamedOnTheCommandLineOpensOnceTheProgramRuns) {
    const std::string project =
        Registry.Write("demo/Demo.dpr", "program Demo;\r\nbegin\r\nend.\r\n");
    CreateWindows(Splash::Hidden);
    OpenArgumentProject({"pembrill", QString::fromStdString(project)});
    EXPECT_TRUE(MainForm->Project.ProjectFileName.empty()) << "not before the loop runs";
    QApplication::processEvents();
    const int warnings = Messages.Count;
    EXPECT_EQ(MainForm->Project.ProjectFileName, project);
    EXPECT_EQ(MainForm->windowTitle().toStdString(), "Pembrill: " + project);
    EXPECT_TRUE(MainForm->PrintButton->isEnabled());

    // The Open dialog's check, and its message, for a file of another kind.
    OpenArgumentProject({"pembrill", "Demo.pas"});
    QApplication::processEvents();
    EXPECT_EQ(Messages.Count, warnings + 1);
    EXPECT_EQ(MainForm->Project.ProjectFileName, project);
}
