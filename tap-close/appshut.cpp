// appshut: tap-to-close. While it runs, its procedure stands in front of the shell taskbar's
// own: a stylus lift on the taskbar's close button, which only sends the foreground application
// to the background, then also closes that application. A second start switches it off.
#include <windows.h>

#include "resource.h"
#include "tapclose.h"

#define MIN_MAJOR_VERSION 3
#define PLATFORM_TYPE_SIZE MAX_PATH
#define CLOSE_BAND_WIDTH 25  // the shell's close button at the right end of the taskbar
#define UNHOOK_POLL_MS 50

static const WCHAR kMutexName[] = TEXT("APPSHUT");
static const WCHAR kClassName[] = TEXT("APPSHUT");
static const WCHAR kWindowTitle[] = TEXT("APPSHUT");
static const WCHAR kTaskbarClass[] = TEXT("HHTaskBar");
static const WCHAR kPlatformType[] = TEXT("PocketPC");

// Written by our thread only; TaskbarProc reads them on the shell's thread, which owns the taskbar.
static HWND taskbarWindow = NULL;
static WNDPROC volatile oldTaskbarProc = NULL;  // NULL: no hook in place
// Calls of TaskbarProc under way on the shell's thread: our code must stay loaded until they return.
// Written only on the taskbar's thread (TaskbarProc runs nowhere else), read by ours: a plain
// volatile counter keeps the taskbar's path free of platform calls.
static LONG volatile taskbarCallsInProgress = 0;

static BOOL IsPocketPC(void) {
    // Cleared first: a failed query then reads as version 0 and fails the test.
    OSVERSIONINFOW version;
    memset(&version, 0, sizeof(version));
    version.dwOSVersionInfoSize = sizeof(version);
    GetVersionExW(&version);
    if (version.dwMajorVersion < MIN_MAJOR_VERSION) return FALSE;

    // A call that succeeds without writing must not match whatever the stack held.
    WCHAR platform[PLATFORM_TYPE_SIZE];
    platform[0] = 0;
    if (!SystemParametersInfoW(SPI_GETPLATFORMTYPE, sizeof(platform), platform, 0)) return FALSE;
    return wcscmp(platform, kPlatformType) == 0;
}

static LRESULT CALLBACK TaskbarProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// A call already under way when the hook came off finds the global cleared; the taskbar's own
// procedure is back in place by then and takes the message.
static LRESULT PassToTaskbar(WNDPROC previous, HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (previous == NULL) {
        previous = (WNDPROC)GetWindowLongW(window, GWL_WNDPROC);
        // Calling ourselves would never end.
        if (previous == TaskbarProc) previous = NULL;
        if (previous == NULL) return DefWindowProcW(window, message, wParam, lParam);
    }
    return CallWindowProcW(previous, window, message, wParam, lParam);
}

// Posted, never sent: the shell's thread must not wait for the application.
static void CloseIfWindow(HWND target) {
    if (IsWindow(target)) PostMessageW(target, WM_CLOSE, 0, 0);
}

static BOOL IsInCloseBand(HWND window, LPARAM lParam) {
    // Read unsigned: a lift left of or above the taskbar arrives as a large number, never in the band.
    LONG x = (LONG)LOWORD(lParam);
    LONG y = (LONG)HIWORD(lParam);
    // An unread rectangle holds no size to test against: no hit.
    RECT rect;
    if (!GetWindowRect(window, &rect)) return FALSE;
    LONG width = rect.right - rect.left;
    LONG height = rect.bottom - rect.top;
    // A taskbar narrower than the band is band all over.
    return x >= width - CLOSE_BAND_WIDTH && x < width && y < height;
}

// The target is chosen and judged before the taskbar sees the lift, which puts another window in
// front; it is closed afterwards, if it still exists.
static LRESULT TaskbarOnLift(WNDPROC previous, HWND window, WPARAM wParam, LPARAM lParam) {
    if (!IsInCloseBand(window, lParam)) return PassToTaskbar(previous, window, WM_LBUTTONUP, wParam, lParam);
    HWND target = GetForegroundWindow();
    BOOL closable = IsClosableWindow(target);
    LRESULT result = PassToTaskbar(previous, window, WM_LBUTTONUP, wParam, lParam);
    if (closable) CloseIfWindow(target);
    return result;
}

// The shell must not notice us: every taskbar message reaches its own procedure exactly once,
// unchanged, and that procedure's result comes back unchanged.
static LRESULT CALLBACK TaskbarProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    taskbarCallsInProgress = taskbarCallsInProgress + 1;
    // Read once: our thread may clear it at any moment.
    WNDPROC previous = oldTaskbarProc;
    LRESULT result = message == WM_LBUTTONUP ? TaskbarOnLift(previous, window, wParam, lParam)
                                             : PassToTaskbar(previous, window, message, wParam, lParam);
    taskbarCallsInProgress = taskbarCallsInProgress - 1;
    return result;
}

static void HookTaskbar(void) {
    taskbarWindow = FindWindowW(kTaskbarClass, NULL);
    if (taskbarWindow == NULL) return;
    // Stored before ours goes in: the shell may deliver a message the moment it does. Without it
    // in hand we would have nowhere to pass messages on, so the taskbar is left alone.
    WNDPROC current = (WNDPROC)GetWindowLongW(taskbarWindow, GWL_WNDPROC);
    if (current == NULL) return;
    oldTaskbarProc = current;
    // The true previous procedure, should another have come in meanwhile; 0 when nothing was hooked.
    oldTaskbarProc = (WNDPROC)SetWindowLongW(taskbarWindow, GWL_WNDPROC, (LONG)TaskbarProc);
}

// TRUE when no hook of ours is left on the taskbar.
static BOOL UnhookTaskbar(void) {
    WNDPROC previous = oldTaskbarProc;
    if (previous == NULL) return TRUE;
    // A live taskbar still pointing at us must keep us loaded: the hook stays.
    if (SetWindowLongW(taskbarWindow, GWL_WNDPROC, (LONG)previous) == 0 && IsWindow(taskbarWindow)) return FALSE;
    oldTaskbarProc = NULL;
    return TRUE;
}

static BOOL OnCreate(HWND) {
    HookTaskbar();
    return TRUE;
}

static void OnClose(HWND window) {
    // Still hooked: keep running, and let the next close request try again.
    if (!UnhookTaskbar()) return;
    DestroyWindow(window);
}

static void OnDestroy(HWND) { PostQuitMessage(0); }

static LRESULT CALLBACK MainWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CREATE:
        return OnCreate(window) ? 0 : -1;
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
    WNDCLASSW wc;
    wc.style = CS_HREDRAW | CS_VREDRAW;
    wc.lpfnWndProc = MainWndProc;
    wc.cbClsExtra = 0;
    wc.cbWndExtra = 0;
    wc.hInstance = instance;
    wc.hIcon = LoadIconW(instance, MAKEINTRESOURCE(IDI_APPSHUT));
    wc.hCursor = NULL;
    wc.hbrBackground = (HBRUSH)GetStockObject(WHITE_BRUSH);
    wc.lpszMenuName = NULL;
    wc.lpszClassName = kClassName;
    if (LOWORD(RegisterClassW(&wc)) == 0) return FALSE;

    // Never shown: the window exists to be found and closed by a second start.
    HWND window = CreateWindowExW(0, kClassName, kWindowTitle, 0, 0, 0, 0, 0, NULL, NULL, instance, NULL);
    return window != NULL;
}

// Ending while the taskbar points at TaskbarProc, or while the shell's thread is still inside it,
// would leave the shell running code that is gone. Our own messages keep flowing meanwhile.
static void WaitUntilTaskbarLetsGo(void) {
    MSG msg;
    while (!UnhookTaskbar() || taskbarCallsInProgress > 0) {
        while (PeekMessageW(&msg, NULL, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
        Sleep(UNHOOK_POLL_MS);
    }
}

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPWSTR, int) {
    if (!IsPocketPC()) return 0;
    // Without the mutex a second copy would hook the taskbar over the first, and the first to end
    // would put back a procedure of the other: give up instead.
    HANDLE mutex = CreateMutexW(NULL, FALSE, kMutexName);
    if (mutex == NULL) return 0;
    if (GetLastError() == ERROR_ALREADY_EXISTS) {
        PostMessageW(FindWindowW(kClassName, NULL), WM_CLOSE, 0, 0);
        return 0;
    }
    if (!InitMainWindow(instance)) {
        // A creation that failed after WM_CREATE may have hooked the taskbar already.
        WaitUntilTaskbarLetsGo();
        return 0;
    }

    MSG msg;
    while (GetMessageW(&msg, NULL, 0, 0)) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    WaitUntilTaskbarLetsGo();
    return (int)msg.wParam;
}
