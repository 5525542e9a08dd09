#pragma once

#include <optional>

namespace pembrill {

// A rectangle on the screen, in pixels.
struct ScreenRect {
    int Left = 0;
    int Top = 0;
    int Width = 0;
    int Height = 0;

    bool operator==(const ScreenRect&) const = default;
};

// Where the main window goes when it is made: maximised, or the geometry.
struct ScreenFit {
    bool Maximise = false;
    ScreenRect Geometry;
};

// From the screen's full and available geometry. A screen whose available
// area is the whole screen has no taskbar: the window is maximised.
// Otherwise it fills the area beside the taskbar, wherever that is docked.
ScreenFit FitToScreenArea(const ScreenRect& screen, const ScreenRect& available);

// The same on Windows, from the taskbar window's rectangle (none when there
// is no taskbar) and the system's metrics: the full-screen client size and
// the caption height. A taskbar docked at the top or the left edge starts at
// (-2, -2); the window then starts beside it.
ScreenFit FitBesideTaskbar(const std::optional<ScreenRect>& taskbar, int fullScreenWidth,
                           int fullScreenHeight, int captionHeight);

#ifdef _WIN32
// FitBesideTaskbar of the system's taskbar window and metrics, as the
// program has always asked them on Windows.
ScreenFit FitBesideSystemTaskbar();

// The client area that gives the native window `window` (an HWND) the
// outer rectangle `outer`: the window's frame as the system made it taken
// off each side. The frame includes what a window's bounds include, the
// invisible resize borders of Windows 10 too.
ScreenRect ClientAreaWithin(const ScreenRect& outer, void* window);
#endif

} // namespace pembrill
