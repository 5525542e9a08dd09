#include "ui/About.h"

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QTimer>

#include <gtest/gtest.h>

using namespace pembrill;

namespace {

bool OnTop(const QWidget& widget) {
    return widget.windowFlags().testFlag(Qt::WindowStaysOnTopHint);
}

TEST(AboutTest, ShowsNameVersionIconAndOK) {
    TAboutDlg about;
    EXPECT_EQ(about.ProductName->text(), "Pembrill");
    EXPECT_GT(about.ProductName->font().pointSize(), about.Version->font().pointSize());
    EXPECT_EQ(about.Version->text(), "Version 1.0 for Windows 95");
    ASSERT_FALSE(about.ProgramIcon->pixmap().isNull());
    EXPECT_EQ(about.ProgramIcon->pixmap().size(), QSize(32, 32));
    EXPECT_EQ(about.OKButton->text(), "OK");
}

TEST(AboutTest, SplashStaysOnTopUntilItsTimerFires) {
    TAboutDlg about;
    EXPECT_TRUE(OnTop(about));
    about.ShowSplash();
    EXPECT_TRUE(about.isVisible());
    about.StartSplashTimer(3500);
    EXPECT_TRUE(about.SplashTimer->isActive());
    EXPECT_EQ(about.SplashTimer->interval(), 3500);

    about.SplashTimerTimer();
    EXPECT_FALSE(about.isVisible());
    EXPECT_FALSE(about.SplashTimer->isActive());
    EXPECT_FALSE(OnTop(about));
}

TEST(AboutTest, OKEndsTheSplashEarly) {
    TAboutDlg about;
    about.ShowSplash();
    about.StartSplashTimer(3500);
    about.OKButton->click();
    EXPECT_FALSE(about.isVisible());
    EXPECT_FALSE(about.SplashTimer->isActive());
    EXPECT_FALSE(OnTop(about));
}

// What the modal box looked like while it was up.
struct ModalView {
    bool Visible = false;
    bool Modal = false;
    bool OnTop = true;
    bool TimerActive = true;
};

ModalView ShowModalAndPressOK(TAboutDlg& about) {
    ModalView view;
    QTimer::singleShot(0, &about, [&about, &view] {
        view = {about.isVisible(), about.isModal(), OnTop(about), about.SplashTimer->isActive()};
        about.OKButton->click();
    });
    about.ShowModal();
    return view;
}

TEST(AboutTest, AboutAfterTheSplashIsModalAndNotOnTop) {
    TAboutDlg about;
    about.ShowSplash();
    about.StartSplashTimer(3500);
    about.SplashTimerTimer();

    const ModalView view = ShowModalAndPressOK(about);
    EXPECT_TRUE(view.Visible);
    EXPECT_TRUE(view.Modal);
    EXPECT_FALSE(view.OnTop);
    EXPECT_FALSE(view.TimerActive);
    EXPECT_FALSE(about.isVisible());
}

TEST(AboutTest, AboutWhileTheSplashIsUpEndsTheSplashFirst) {
    TAboutDlg about;
    about.ShowSplash();
    about.StartSplashTimer(3500);

    const ModalView view = ShowModalAndPressOK(about);
    EXPECT_TRUE(view.Visible);
    EXPECT_TRUE(view.Modal);
    EXPECT_FALSE(view.OnTop);
    EXPECT_FALSE(view.TimerActive);
    EXPECT_FALSE(about.isVisible());
}

} // namespace
