// voltmarap: battery monitor frame. A hidden window samples the battery every 5 seconds;
// starting the program a second time switches the running copy off.
#include <windows.h>
#include <aygshell.h>

#include "monitor.h"

static const WCHAR kMutexName[] = TEXT("VOLTMARAP");
static const WCHAR kClassName[] = TEXT("VOLTMARAP");
static const WCHAR kWindowTitle[] = TEXT("VOLTMARAP");

static MonitorState monitor = {NULL, NULL, 0, {0, FALSE, FALSE}, {}, -1, -1, 1, FALSE, NULL};

static BOOL OnCreate(HWND window) {
    LoadBatteryCount(&monitor.count);
    monitor.lastTick = GetTickCount();
    UpdateBatteryStatus(&monitor, window, TRUE);
    SetTimer(window, SAMPLE_TIMER_ID, SAMPLE_PERIOD_MS, NULL);
    return TRUE;
}

static void OnCommand(HWND window, WORD commandId) {
    if (commandId != RESET_COMMAND_ID) return;
    BOOL removed = SHNotificationRemove(&BatteryNotificationClsid, monitor.notificationId) == ERROR_SUCCESS;
    monitor.notificationShown = FALSE;
    monitor.count.milliseconds = 0;
    monitor.count.cleared = TRUE;
    monitor.lastHours = -1;
    monitor.lastMinutes = -1;
    monitor.lastTick = GetTickCount();
    memset(&monitor.lastStatus, 0, sizeof(monitor.lastStatus));
    // The cleared status may equal the present one (0 % off external power) and would then keep
    // an icon chosen for an older level: the fresh notification loads its own. A notification the
    // shell would not remove still shows the old icon, which is kept until the close (of two such,
    // only the later one's).
    if (removed) {
        DestroyIcon(monitor.currentIcon);
    } else {
        if (monitor.keptIcon != NULL) DestroyIcon(monitor.keptIcon);
        monitor.keptIcon = monitor.currentIcon;
    }
    monitor.currentIcon = NULL;
    monitor.notificationId++;
    SaveBatteryCount(&monitor.count);
    UpdateBatteryStatus(&monitor, window, TRUE);
}

static void OnTimer(HWND window, UINT timerId) {
    if (timerId == SAMPLE_TIMER_ID) UpdateBatteryStatus(&monitor, window, FALSE);
}

static void OnClose(HWND window) {
    KillTimer(window, SAMPLE_TIMER_ID);
    SHNotificationRemove(&BatteryNotificationClsid, monitor.notificationId);
    DestroyIcon(monitor.currentIcon);
    if (monitor.keptIcon != NULL) DestroyIcon(monitor.keptIcon);
    DestroyWindow(window);
}

static void OnDestroy(HWND) { PostQuitMessage(0); }

static LRESULT CALLBACK MainWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CREATE:
        return OnCreate(window) ? 0 : -1;
    case WM_COMMAND:
        OnCommand(window, LOWORD(wParam));
        return 0;
    case WM_TIMER:
        OnTimer(window, (UINT)wParam);
        return 0;
    case WM_CLOSE:
        OnClose(window);
        return 0;
    case WM_DESTROY:
        OnDestroy(window);
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

static BOOL InitMainWindow(HINSTANCE instance) {
    monitor.appInstance = instance;

    WNDCLASSW wc;
    wc.style = CS_HREDRAW | CS_VREDRAW;
    wc.lpfnWndProc = MainWndProc;
    wc.cbClsExtra = 0;
    wc.cbWndExtra = 0;
    wc.hInstance = instance;
    wc.hIcon = NULL;
    wc.hCursor = NULL;
    wc.hbrBackground = (HBRUSH)GetStockObject(WHITE_BRUSH);
    wc.lpszMenuName = NULL;
    wc.lpszClassName = kClassName;
    if (LOWORD(RegisterClassW(&wc)) == 0) return FALSE;

    HWND window = CreateWindowExW(0, kClassName, kWindowTitle, 0, 0, 0, CW_USEDEFAULT, CW_USEDEFAULT, NULL, NULL,
                                  instance, NULL);
    return window != NULL;
}

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPWSTR, int) {
    // Without the mutex a second copy could run beside the first: give up instead.
    HANDLE mutex = CreateMutexW(NULL, FALSE, kMutexName);
    if (mutex == NULL) return 0;
    if (GetLastError() == ERROR_ALREADY_EXISTS) {
        PostMessageW(FindWindowW(kClassName, NULL), WM_CLOSE, 0, 0);
        return 0;
    }
    if (!InitMainWindow(instance)) return 0;

    MSG msg;
    while (GetMessageW(&msg, NULL, 0, 0)) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return 0;
}
