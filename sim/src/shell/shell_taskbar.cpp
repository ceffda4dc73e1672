#include "shell_taskbar.h"

#include "context.h"
#include "device.h"

namespace sim {

namespace {

bool isApplication(const Device& device, HWND hwnd) {
    return hwnd && device.windows.find(hwnd) && hwnd != device.shellWindows.taskbar &&
           hwnd != device.shellWindows.desktop;
}

// The shell's taskbar: on a lift over its close button, the application in front goes to the
// background (a sent message it must answer) and the desktop comes to the front.
LRESULT CALLBACK ShellTaskbarProc(HWND hwnd, UINT message, WPARAM, LPARAM lParam) {
    Device& device = currentDevice();
    ShellWindows& shell = device.shellWindows;
    if (message == WM_LBUTTONUP) {
        RECT rect{};
        GetWindowRect(hwnd, &rect);
        const int x = static_cast<short>(LOWORD(lParam));
        const int y = static_cast<short>(HIWORD(lParam));
        const int width = rect.right - rect.left;
        const int height = rect.bottom - rect.top;
        const HWND front = GetForegroundWindow();
        if (x >= width - kShellCloseBand && x < width && y >= 0 && y < height && isApplication(device, front)) {
            device.note(SentToBackground{front});
            SendMessageW(front, WM_ACTIVATE, WA_INACTIVE, 0);
            device.foreground = shell.desktop;
        }
    }
    if (message == WM_CLOSE) return 0;  // the shell's windows do not go away
    return shell.taskbarResult;
}

LRESULT CALLBACK ShellDesktopProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_CLOSE) return 0;
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

HWND makeWindow(LPCWSTR className, WNDPROC proc, int x, int y, int width, int height) {
    WNDCLASSW wc{};
    wc.lpfnWndProc = proc;
    wc.lpszClassName = className;
    RegisterClassW(&wc);
    return CreateWindowExW(0, className, u"", WS_VISIBLE, x, y, width, height, nullptr, nullptr, nullptr, nullptr);
}

}  // namespace

void startShell(Device& device, int taskbarWidth, int taskbarHeight) {
    device.shellWindows.taskbarProc = ShellTaskbarProc;
    const int screenWidth = device.config.screenWidth;
    const int screenHeight = device.config.screenHeight;
    Process& shell = device.startHosted("shell", [&device, taskbarWidth, taskbarHeight, screenWidth, screenHeight] {
        device.shellWindows.desktop =
            makeWindow(u"DesktopExplorerWindow", ShellDesktopProc, 0, 0, screenWidth, screenHeight);
        device.shellWindows.taskbar = makeWindow(u"HHTaskBar", ShellTaskbarProc, 0, 0, taskbarWidth, taskbarHeight);
        device.foreground = device.shellWindows.desktop;
        MSG msg;
        while (GetMessageW(&msg, nullptr, 0, 0)) DispatchMessageW(&msg);
        return static_cast<int>(msg.wParam);
    });
    device.shellWindows.pid = shell.pid;
}

}  // namespace sim
