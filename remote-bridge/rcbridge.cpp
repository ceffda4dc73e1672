// rcbridge: frame of the remote-control bridge. A hidden window with the class and title of
// Windows Media Player's main window holds the remote's hot keys and an icon in the
// notification area, whose menu offers About and Exit.
#include <windows.h>
#include <shellapi.h>

#include "bridge.h"
#include "resource.h"

#define WM_TRAY_NOTIFY (WM_USER + 1024)
#define TRAY_ICON_ID 1
#define TRAY_ICON_SIZE 16
#define ABOUT_TEXT_SIZE 128
#define MENU_BOTTOM_GAP 26  // keeps the popup clear of the menu bar at the bottom of the screen

static const WCHAR kMutexName[] = TEXT("Tunelark remote control");
static const WCHAR kClassName[] = TEXT("WMP7.5 for Pocket PC");
static const WCHAR kWindowTitle[] = TEXT("Windows Media");
static const WCHAR kAboutCaption[] = TEXT("About");

static BridgeState bridge = {NULL, NULL, NULL, 0};

static BOOL OnCreate(HWND window) {
    bridge.trayIcon =
        (HICON)LoadImageW(bridge.appInstance, MAKEINTRESOURCE(IDI_TRAY), IMAGE_ICON, TRAY_ICON_SIZE, TRAY_ICON_SIZE, 0);

    NOTIFYICONDATA nid;
    memset(&nid, 0, sizeof(nid));
    nid.cbSize = sizeof(nid);
    nid.hWnd = window;
    nid.uID = TRAY_ICON_ID;
    nid.uFlags = NIF_MESSAGE | NIF_ICON;
    nid.uCallbackMessage = WM_TRAY_NOTIFY;
    nid.hIcon = bridge.trayIcon;
    Shell_NotifyIcon(NIM_ADD, &nid);

    RegisterRemoteKeys(window);
    return TRUE;
}

static void ShowAbout(void) {
    // A failed load must show an empty box, not whatever the stack held.
    WCHAR text[ABOUT_TEXT_SIZE];
    text[0] = 0;
    LoadStringW(bridge.appInstance, IDS_ABOUT, text, ABOUT_TEXT_SIZE);
    MessageBoxW(NULL, text, kAboutCaption, MB_OK | MB_ICONINFORMATION);
}

static void OnCommand(HWND window, WORD commandId) {
    switch (commandId) {
    case IDM_EXIT:
        PostMessageW(window, WM_CLOSE, 0, 0);
        break;
    case IDM_ABOUT:
        ShowAbout();
        break;
    }
}

static void OnTimer(HWND window, UINT timerId) { EndPressGroupOnTimer(&bridge, window, timerId); }

static void OnHotKey(HWND window, UINT vk) { ActOnRemoteKey(&bridge, window, vk); }

static void OnTrayNotify(HWND window, LPARAM mouseMessage) {
    if (mouseMessage != WM_LBUTTONDOWN) return;
    // The popup's modal loop dispatches our messages: a pen-down that reaches us meanwhile must
    // not destroy the menu still being tracked.
    if (bridge.popupMenu != NULL) return;

    bridge.popupMenu = LoadMenuW(bridge.appInstance, MAKEINTRESOURCE(IDR_TRAY_MENU));
    HMENU popup = GetSubMenu(bridge.popupMenu, 0);
    int height = GetSystemMetrics(SM_CYSCREEN);
    int width = GetSystemMetrics(SM_CXSCREEN);
    // No TPM_RETURNCMD: the chosen item comes back as WM_COMMAND.
    TrackPopupMenuEx(popup, TPM_RIGHTALIGN | TPM_BOTTOMALIGN, width, height - MENU_BOTTOM_GAP, window, NULL);
    DestroyMenu(bridge.popupMenu);
    bridge.popupMenu = NULL;
}

static void OnClose(HWND window) {
    UnregisterRemoteKeys(window);

    NOTIFYICONDATA nid;
    memset(&nid, 0, sizeof(nid));
    nid.cbSize = sizeof(nid);
    nid.hWnd = window;
    nid.uID = TRAY_ICON_ID;
    Shell_NotifyIcon(NIM_DELETE, &nid);

    DestroyIcon(bridge.trayIcon);
    bridge.trayIcon = NULL;
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
    case WM_HOTKEY:
        OnHotKey(window, HIWORD(lParam));
        return 0;
    case WM_TRAY_NOTIFY:
        OnTrayNotify(window, lParam);
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
    bridge.appInstance = instance;

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

    // Never shown: the window exists for its class and title, its hot keys and its icon.
    HWND window = CreateWindowExW(0, kClassName, kWindowTitle, 0, 0, 0, CW_USEDEFAULT, CW_USEDEFAULT, NULL, NULL,
                                  instance, NULL);
    return window != NULL;
}

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPWSTR, int) {
    // Without the mutex a second copy could run beside the first: give up instead.
    HANDLE mutex = CreateMutexW(NULL, FALSE, kMutexName);
    if (mutex == NULL) return 0;
    if (GetLastError() == ERROR_ALREADY_EXISTS) return 0;
    // Our window would be taken for the real player's.
    if (FindWindowW(kClassName, kWindowTitle) != NULL) return 0;
    if (!InitMainWindow(instance)) return 0;

    MSG msg;
    while (GetMessageW(&msg, NULL, 0, 0)) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return 0;
}
