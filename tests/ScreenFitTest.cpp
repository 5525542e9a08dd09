#include "platform/ScreenFit.h"

#include <gtest/gtest.h>

using namespace pembrill;

namespace {

TEST(ScreenFitTest, FillsTheAreaBesideTheTaskbarOrMaximisesWithoutOne) {
    const ScreenRect screen{0, 0, 640, 480};
    // Taskbar at the bottom, the top, the left, the right.
    for (const ScreenRect& available : {ScreenRect{0, 0, 640, 452}, ScreenRect{0, 28, 640, 452},
                                        ScreenRect{60, 0, 580, 480}, ScreenRect{0, 0, 580, 480}}) {
        const ScreenFit fit = FitToScreenArea(screen, available);
        EXPECT_FALSE(fit.Maximise);
        EXPECT_EQ(fit.Geometry, available);
    }
    EXPECT_TRUE(FitToScreenArea(screen, screen).Maximise);
    // A second screen right of the first, taskbar at its bottom.
    const ScreenFit second = FitToScreenArea({1920, 0, 1024, 768}, {1920, 0, 1024, 740});
    EXPECT_FALSE(second.Maximise);
    EXPECT_EQ(second.Geometry, (ScreenRect{1920, 0, 1024, 740}));
}

TEST(ScreenFitTest, OnWindowsTheTaskbarAndTheMetricsPlaceTheWindow) {
    // 640 x 480 with a taskbar of 28 at the bottom: the full-screen client
    // area is 640 x 433 below a caption of 18.
    const ScreenFit bottom = FitBesideTaskbar(ScreenRect{-2, 452, 644, 30}, 640, 433, 18);
    EXPECT_FALSE(bottom.Maximise);
    EXPECT_EQ(bottom.Geometry, (ScreenRect{0, 0, 641, 452}));
    EXPECT_EQ(FitBesideTaskbar(ScreenRect{-2, -2, 644, 30}, 640, 433, 18).Geometry,
              (ScreenRect{0, 28, 641, 452}));
    EXPECT_EQ(FitBesideTaskbar(ScreenRect{-2, -2, 62, 484}, 578, 461, 18).Geometry,
              (ScreenRect{60, 0, 579, 480}));
    EXPECT_TRUE(FitBesideTaskbar(std::nullopt, 640, 461, 18).Maximise);
}

} // namespace
