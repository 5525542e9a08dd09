#include "platform/ScreenFit.h"

#ifdef _WIN32
#include <windows.h>
#endif

namespace pembrill {

ScreenFit FitToScreenArea(const ScreenRect& screen, const ScreenRect& available) {
    if (available == screen)
        return {true, screen};
    return {false, available};
}

ScreenFit FitBesideTaskbar(const std::optional<ScreenRect>& taskbar, int fullScreenWidth,
                           int fullScreenHeight, int captionHeight) {
    if (!taskbar)
        return {true, {}};
    ScreenRect geometry{0, 0, fullScreenWidth + 1, fullScreenHeight + captionHeight + 1};
    if (taskbar->Left == -2 && taskbar->Top == -2) {
        const int right = taskbar->Left + taskbar->Width;
        const int bottom = taskbar->Top + taskbar->Height;
        if (bottom < right)
            geometry.Top = bottom;
        else
            geometry.Left = right;
    }
    return {false, geometry};
}

#ifdef _WIN32

ScreenFit FitBesideSystemTaskbar() {
    std::optional<ScreenRect> taskbar;
    if (const HWND bar = ::FindWindowA("Shell_TrayWnd", nullptr)) {
        RECT rectangle{};
        ::GetWindowRect(bar, &rectangle);
        taskbar = ScreenRect{rectangle.left, rectangle.top, rectangle.right - rectangle.left,
                             rectangle.bottom - rectangle.top};
    }
    return FitBesideTaskbar(taskbar, ::GetSystemMetrics(SM_CXFULLSCREEN),
                            ::GetSystemMetrics(SM_CYFULLSCREEN), ::GetSystemMetrics(SM_CYCAPTION));
}

ScreenRect ClientAreaWithin(const ScreenRect& outer, void* window) {
    const HWND handle = static_cast<HWND>(window);
    RECT bounds{};
    RECT client{};
    POINT clientOrigin{0, 0};
    if (!::GetWindowRect(handle, &bounds) || !::GetClientRect(handle, &client) ||
        !::ClientToScreen(handle, &clientOrigin))
        return outer;
    const int left = clientOrigin.x - bounds.left;
    const int top = clientOrigin.y - bounds.top;
    const int right = bounds.right - clientOrigin.x - client.right;
    const int bottom = bounds.bottom - clientOrigin.y - client.bottom;
    return {outer.Left + left, outer.Top + top, outer.Width - left - right,
            outer.Height - top - bottom};
}

#endif

} // namespace pembrill
