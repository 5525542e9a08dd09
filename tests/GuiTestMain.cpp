#include <QGuiApplication>

#include <gtest/gtest.h>

// Page tests measure fonts and paint, which needs a GUI application but no
// windows; CTest runs them on the offscreen platform.
int main(int argc, char** argv) {
    QGuiApplication application(argc, argv);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
