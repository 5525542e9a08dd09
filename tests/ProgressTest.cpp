#include "ui/Progress.h"

#include <QApplication>
#include <QScreen>

#include <gtest/gtest.h>

using namespace pembrill;

namespace {

class PaintCounter : public QObject {
public:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint)
            ++Paints;
        return false;
    }
    int Paints = 0;
};

} // namespace

TEST(ProgressTest, WindowAndLines) {
    TProgressForm form;
    EXPECT_EQ(form.windowTitle(), "Progress");
    EXPECT_EQ(form.size(), QSize(400, 140));
    const Qt::WindowFlags flags = form.windowFlags();
    EXPECT_TRUE(flags & Qt::WindowStaysOnTopHint);
    EXPECT_TRUE(flags & Qt::CustomizeWindowHint);
    EXPECT_FALSE(flags & (Qt::WindowCloseButtonHint | Qt::WindowMinMaxButtonsHint |
                          Qt::WindowSystemMenuHint));
    EXPECT_EQ(form.Label1->objectName(), "Label1");
    EXPECT_EQ(form.Label2->objectName(), "Label2");
    EXPECT_EQ(form.Label1->x(), 0);
    EXPECT_EQ(form.Label1->y(), 28);
    EXPECT_EQ(form.Label2->y(), 56);

    form.SetUpperLine("Preparing a rather long line of text that does not fit the window at all");
    form.SetLowerLine("x");
    for (const QLabel* label : {form.Label1, form.Label2}) {
        EXPECT_EQ(label->width(), 400);
        EXPECT_EQ(label->alignment() & Qt::AlignHorizontal_Mask, Qt::AlignHCenter);
    }
}

TEST(ProgressTest, LowerLineGivesBackItsBytes) {
    TProgressForm form;
    form.SetLowerLine("C:\\Projekte\\\xDC"
                      "bersicht.pas");
    EXPECT_EQ(form.LowerLine(), "C:\\Projekte\\\xDC"
                                "bersicht.pas");
    EXPECT_EQ(form.Label2->text(), QString::fromUtf8("C:\\Projekte\\\xC3\x9C"
                                                     "bersicht.pas"));
}

// The callers block the event loop, so showing and each change must paint
// before the call returns.
TEST(ProgressTest, PaintsAtOnceWithoutWaitingForTheEventLoop) {
    TProgressForm form;
    PaintCounter counter;
    form.Label1->installEventFilter(&counter);
    form.SetUpperLine("Preparing");
    form.ShowAndRepaint();
    EXPECT_TRUE(form.isVisible());
    EXPECT_FALSE(form.isModal());
    const int afterShow = counter.Paints;
    EXPECT_GT(afterShow, 0);
    form.SetUpperLine("Formatting");
    form.Repaint();
    EXPECT_GT(counter.Paints, afterShow);

    const QRect screen = form.screen()->geometry();
    EXPECT_EQ(form.frameGeometry().center(), screen.center());
    form.Close();
    EXPECT_FALSE(form.isVisible());
}
