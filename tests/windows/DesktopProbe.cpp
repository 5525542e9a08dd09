// What tests/windows/desktop-session.sh asks of Windows beside pembrill.exe:
//
//   DesktopProbe rect TITLE
//       where the top-level window TITLE stands, frame included, as Windows
//       gives a window's bounds; where FitBesideSystemTaskbar puts the main
//       window; and the largest size Windows lets a window take:
//         window 0 28 641 492
//         fit 0 28 641 511          ("fit maximise" where there is no taskbar)
//         largest 652 492
//   DesktopProbe taskbar-top
//       a taskbar docked at the top edge as Windows 95 docks one, a window of
//       the taskbar's class at (-2, -2) across the screen, until ended.
//   DesktopProbe end-session TITLE cancelled|ended
//       the session's end as Windows tells it to the program of the window
//       TITLE: WM_QUERYENDSESSION to each of its top-level windows, then
//       WM_ENDSESSION. Cancelled: each window is told that the session goes
//       on. Ended: the window TITLE is told that it ends, and the program is
//       ended the moment it has answered, as the session may end then.
//
// Exit status 1 when there is no window TITLE, 2 when a window refuses the
// end of the session, 64 for a usage error.
#include "platform/Process.h"
#include "platform/ScreenFit.h"
#include "platform/TextDecoding.h"

#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

namespace {

int PrintRectangles(HWND window) {
    RECT bounds{};
    ::GetWindowRect(window, &bounds);
    std::printf("window %ld %ld %ld %ld\n", bounds.left, bounds.top, bounds.right - bounds.left,
                bounds.bottom - bounds.top);
    const pembrill::ScreenFit fit = pembrill::FitBesideSystemTaskbar();
    const pembrill::ScreenRect& area = fit.Geometry;
    if (fit.Maximise)
        std::printf("fit maximise\n");
    else
        std::printf("fit %d %d %d %d\n", area.Left, area.Top, area.Width, area.Height);
    std::printf("largest %d %d\n", ::GetSystemMetrics(SM_CXMAXTRACK),
                ::GetSystemMetrics(SM_CYMAXTRACK));
    return 0;
}

int StandInForTaskbar() {
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = ::DefWindowProcW;
    windowClass.hInstance = ::GetModuleHandleW(nullptr);
    windowClass.lpszClassName = L"Shell_TrayWnd";
    ::RegisterClassW(&windowClass);
    if (!::CreateWindowExW(WS_EX_TOOLWINDOW, L"Shell_TrayWnd", L"", WS_POPUP, -2, -2,
                           ::GetSystemMetrics(SM_CXSCREEN) + 4, 30, nullptr, nullptr,
                           windowClass.hInstance, nullptr))
        return 1;
    std::printf("taskbar\n");
    std::fflush(stdout);
    MSG message;
    while (::GetMessageW(&message, nullptr, 0, 0) > 0)
        ::DispatchMessageW(&message);
    return 0;
}

std::vector<HWND> TopLevelWindowsOf(DWORD process) {
    struct Search {
        DWORD Process;
        std::vector<HWND> Found;
    } search{process, {}};
    ::EnumWindows(
        [](HWND window, LPARAM data) -> BOOL {
            auto& search = *reinterpret_cast<Search*>(data);
            DWORD owner = 0;
            ::GetWindowThreadProcessId(window, &owner);
            if (owner == search.Process)
                search.Found.push_back(window);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.Found;
}

int EndSession(HWND window, bool ends) {
    DWORD process = 0;
    ::GetWindowThreadProcessId(window, &process);
    const std::vector<HWND> windows = TopLevelWindowsOf(process);
    for (const HWND each : windows) {
        if (!::SendMessageW(each, WM_QUERYENDSESSION, 0, 0)) {
            std::fprintf(stderr, "a window refuses the end of the session\n");
            return 2;
        }
    }
    if (!ends) {
        for (const HWND each : windows)
            ::SendMessageW(each, WM_ENDSESSION, FALSE, 0);
        return 0;
    }
    ::SendMessageW(window, WM_ENDSESSION, TRUE, 0);
    const HANDLE handle = ::OpenProcess(PROCESS_TERMINATE, FALSE, process);
    ::TerminateProcess(handle, 0);
    ::CloseHandle(handle);
    return 0;
}

HWND WindowTitled(const std::string& title) {
    const HWND window = ::FindWindowW(nullptr, pembrill::ToWide(title).c_str());
    if (!window)
        std::fprintf(stderr, "no window \"%s\"\n", title.c_str());
    return window;
}

} // namespace

int main(int argc, char** argv) {
    const std::vector<std::string> arguments = pembrill::ProgramArguments(argc, argv);
    const std::string command = arguments.empty() ? "" : arguments[0];
    if (command == "taskbar-top" && arguments.size() == 1)
        return StandInForTaskbar();
    if (command == "rect" && arguments.size() == 2) {
        const HWND window = WindowTitled(arguments[1]);
        return window ? PrintRectangles(window) : 1;
    }
    const std::string outcome = arguments.size() == 3 ? arguments[2] : "";
    if (command == "end-session" && (outcome == "cancelled" || outcome == "ended")) {
        const HWND window = WindowTitled(arguments[1]);
        return window ? EndSession(window, outcome == "ended") : 1;
    }
    std::fprintf(stderr, "usage: DesktopProbe rect TITLE | taskbar-top |\n"
                         "       end-session TITLE cancelled|ended\n");
    return 64;
}
