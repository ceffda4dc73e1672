// appshut: whether the foreground window may be sent WM_CLOSE when its application is dismissed
// from the taskbar. The shell's and the system's own windows, dialogs, windows that never become
// active and windows that close through their caption's OK button are left alone.
#include <windows.h>

#include "tapclose.h"

#define CLASS_NAME_SIZE 64

// Exact names, in the order they are tried: no case folding, no prefixes.
static const WCHAR* const kSystemClasses[] = {
    TEXT("HHTaskBar"),
    TEXT("SipWndClass"),
    TEXT("menu_worker"),
    TEXT("Explore"),
    TEXT("Worker"),
    TEXT("DesktopExplorerWindow"),
    TEXT("MSPOutlook"),
    TEXT("MS_SIPBUTTON"),
    TEXT("static"),
};
#define SYSTEM_CLASS_COUNT (sizeof(kSystemClasses) / sizeof(kSystemClasses[0]))

static const WCHAR kDialogClass[] = TEXT("Dialog");

// TRUE also when the style cannot be read: a window we cannot judge is left alone. A style of 0
// is a success too, so the last error tells the two apart.
static BOOL HasExStyle(HWND window, DWORD style) {
    SetLastError(0);
    DWORD exStyle = (DWORD)GetWindowLongW(window, GWL_EXSTYLE);
    if (exStyle == 0 && GetLastError() != 0) return TRUE;
    return (exStyle & style) != 0;
}

BOOL IsClosableWindow(HWND window) {
    if (window == NULL) return FALSE;
    if (!IsWindowVisible(window)) return FALSE;
    if (!IsWindowEnabled(window)) return FALSE;

    // A window we cannot name may be one of the shell's own: it is left alone.
    WCHAR className[CLASS_NAME_SIZE];
    memset(className, 0, sizeof(className));
    if (GetClassNameW(window, className, CLASS_NAME_SIZE) == 0) return FALSE;
    for (UINT i = 0; i < SYSTEM_CLASS_COUNT; i++) {
        if (wcscmp(className, kSystemClasses[i]) == 0) return FALSE;
    }

    if (HasExStyle(window, WS_EX_NOACTIVATE)) return FALSE;
    if (wcscmp(className, kDialogClass) == 0) return FALSE;
    if (HasExStyle(window, WS_EX_CAPTIONOKBTN)) return FALSE;
    return TRUE;
}
