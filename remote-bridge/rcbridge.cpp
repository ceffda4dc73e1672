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

HINSTANCE g_hInst = NULL;
static HICON g_hTrayIcon = NULL;
static HMENU g_hPopupMenu = NULL;  // only while the popup is tracked

static void BridgeOnCreate(HWND hWnd) {
    g_hTrayIcon = (HICON)LoadImageW(g_hInst, MAKEINTRESOURCE(IDI_TRAY), IMAGE_ICON, TRAY_ICON_SIZE, TRAY_ICON_SIZE, 0);

    NOTIFYICONDATA nid;
    memset(&nid, 0, sizeof(nid));
    nid.cbSize = sizeof(nid);
    nid.hWnd = hWnd;
    nid.uID = TRAY_ICON_ID;
    nid.uFlags = NIF_MESSAGE | NIF_ICON;
    nid.uCallbackMessage = WM_TRAY_NOTIFY;
    nid.hIcon = g_hTrayIcon;
    Shell_NotifyIcon(NIM_ADD, &nid);

    RegisterRemoteKeys(hWnd);
}

static void BridgeOnClose(HWND hWnd) {
    UnregisterRemoteKeys(hWnd);

    NOTIFYICONDATA nid;
    memset(&nid, 0, sizeof(nid));
    nid.cbSize = sizeof(nid);
    nid.hWnd = hWnd;
    nid.uID = TRAY_ICON_ID;
    Shell_NotifyIcon(NIM_DELETE, &nid);

    DestroyIcon(g_hTrayIcon);
    g_hTrayIcon = NULL;
    DestroyWindow(hWnd);
}

static void ShowAbout(void) {
    // A failed load must show an empty box, not whatever the stack held.
    WCHAR text[ABOUT_TEXT_SIZE];
    text[0] = 0;
    LoadStringW(g_hInst, IDS_ABOUT, text, ABOUT_TEXT_SIZE);
    MessageBoxW(NULL, text, kAboutCaption, MB_OK | MB_ICONINFORMATION);
}

static void BridgeOnCommand(HWND hWnd, WPARAM wParam, LPARAM) {
    switch (LOWORD(wParam)) {
    case IDM_EXIT:
        PostMessageW(hWnd, WM_CLOSE, 0, 0);
        break;
    case IDM_ABOUT:
        ShowAbout();
        break;
    }
}

static void BridgeOnTrayNotify(HWND hWnd, LPARAM lParam) {
    if (lParam != WM_LBUTTONDOWN) return;
    // The popup's modal loop dispatches our messages: a pen-down that reaches us meanwhile must
    // not destroy the menu still being tracked.
    if (g_hPopupMenu != NULL) return;

    g_hPopupMenu = LoadMenuW(g_hInst, MAKEINTRESOURCE(IDR_TRAY_MENU));
    HMENU popup = GetSubMenu(g_hPopupMenu, 0);
    int height = GetSystemMetrics(SM_CYSCREEN);
    int width = GetSystemMetrics(SM_CXSCREEN);
    // No TPM_RETURNCMD: the chosen item comes back as WM_COMMAND.
    TrackPopupMenuEx(popup, TPM_RIGHTALIGN | TPM_BOTTOMALIGN, width, height - MENU_BOTTOM_GAP, hWnd, NULL);
    DestroyMenu(g_hPopupMenu);
    g_hPopupMenu = NULL;
}

static LRESULT CALLBACK BridgeWndProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam) {
    switch (uMsg) {
    case WM_CREATE:
        BridgeOnCreate(hWnd);
        return 0;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    case WM_CLOSE:
        BridgeOnClose(hWnd);
        return 0;
    case WM_COMMAND:
        BridgeOnCommand(hWnd, wParam, lParam);
        return 0;
    case WM_TIMER:
        BridgeOnTimer(hWnd, (UINT)wParam);
        return 0;
    case WM_HOTKEY:
        BridgeOnHotKey(hWnd, HIWORD(lParam), LOWORD(lParam));
        return 0;
    case WM_TRAY_NOTIFY:
        BridgeOnTrayNotify(hWnd, lParam);
        return 0;
    }
    return DefWindowProcW(hWnd, uMsg, wParam, lParam);
}

static BOOL InitBridgeWindow(HINSTANCE hInstance) {
    g_hInst = hInstance;

    WNDCLASS wc;
    wc.style = CS_HREDRAW | CS_VREDRAW;
    wc.lpfnWndProc = BridgeWndProc;
    wc.cbClsExtra = 0;
    wc.cbWndExtra = 0;
    wc.hInstance = hInstance;
    wc.hIcon = NULL;
    wc.hCursor = NULL;
    wc.hbrBackground = (HBRUSH)GetStockObject(WHITE_BRUSH);
    wc.lpszMenuName = NULL;
    wc.lpszClassName = kClassName;
    if (LOWORD(RegisterClassW(&wc)) == 0) return FALSE;

    // Never shown: the window exists for its class and title, its hot keys and its icon.
    HWND hWnd = CreateWindowExW(0, kClassName, kWindowTitle, 0, 0, 0, CW_USEDEFAULT, CW_USEDEFAULT, NULL, NULL,
                                hInstance, NULL);
    return hWnd != NULL;
}

int WINAPI WinMain(HINSTANCE hInstance, HINSTANCE, LPWSTR, int) {
    // Without the mutex a second copy could run beside the first: give up instead.
    HANDLE mutex = CreateMutexW(NULL, FALSE, kMutexName);
    if (mutex == NULL) return 0;
    if (GetLastError() == ERROR_ALREADY_EXISTS) return 0;
    // Our window would be taken for the real player's.
    if (FindWindowW(kClassName, kWindowTitle) != NULL) return 0;
    if (!InitBridgeWindow(hInstance)) return 0;

    MSG msg;
    while (GetMessageW(&msg, NULL, 0, 0)) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return 0;
}
