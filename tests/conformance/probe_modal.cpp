// Modal loops: a message box and a popup menu keep dispatching the thread's timers and posted
// messages while they wait. Each ends without a user: the message box by WM_QUIT, which it posts
// again for the thread's own loop; the menu by the destruction of its owner window.
#include "probe.h"

#include <string.h>

#include "probes_rc.h"

static const WCHAR kClass[] = TEXT("ProbeModal");
static char g_seen[256];

static void Note(const char* what) {
    if (g_seen[0]) strncat(g_seen, ", ", sizeof g_seen - strlen(g_seen) - 1);
    strncat(g_seen, what, sizeof g_seen - strlen(g_seen) - 1);
}

static LRESULT CALLBACK Proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_APP + 1:
    case WM_APP + 2:
    case WM_APP + 3:
        Note(MessageName(message));
        return 0;
    case WM_TIMER:
        KillTimer(hwnd, wParam);
        Note(wParam == 1 ? "WM_TIMER 1" : (wParam == 2 ? "WM_TIMER 2" : "WM_TIMER 3"));
        if (wParam == 1) PostQuitMessage(5);
        else DestroyWindow(hwnd);
        return 0;
    case WM_DESTROY:
        Note("WM_DESTROY");
        return 0;
    case WM_COMMAND:
        Note("WM_COMMAND");
        return 0;
    default:
        return DefWindowProcW(hwnd, message, wParam, lParam);
    }
}

static HWND Make() {
    return CreateWindowExW(0, kClass, TEXT("Probe modal"), WS_POPUP, 0, 0, 10, 10, NULL, NULL, g_probeInstance, NULL);
}

static void Menu(const char* what, HMENU popup, UINT flags, int timer, UINT posted) {
    HWND owner = Make();
    g_seen[0] = 0;
    PostMessageW(owner, posted, 0, 0);
    SetTimer(owner, timer, 10, NULL);
    const BOOL result = TrackPopupMenuEx(popup, flags, 10, 10, owner, NULL);
    Say("%s: in its loop: %s; result %d; owner IsWindow %d", what, g_seen, result, IsWindow(owner));
}

int ProbeMain(const char*) {
    WNDCLASSW wc;
    memset(&wc, 0, sizeof wc);
    wc.lpfnWndProc = Proc;
    wc.hInstance = g_probeInstance;
    wc.lpszClassName = kClass;
    RegisterClassW(&wc);

    HWND window = Make();
    PostMessageW(window, WM_APP + 1, 0, 0);
    SetTimer(window, 1, 10, NULL);
    const int box = MessageBoxW(window, TEXT("Probe"), TEXT("Probe modal"), MB_OK);
    Say("MessageBoxW: in its loop: %s; result %d", g_seen, box);
    MSG msg;
    const BOOL got = GetMessageW(&msg, NULL, 0, 0);
    Say("GetMessageW after it: %d, %s %d", got, MessageName(msg.message), (int)msg.wParam);
    DestroyWindow(window);

    HMENU menu = LoadMenuW(g_probeInstance, MAKEINTRESOURCE(IDM_PROBE));
    HMENU popup = GetSubMenu(menu, 0);
    Say("LoadMenuW: %s; GetSubMenu: %s", menu ? "a menu" : "NULL", popup ? "a menu" : "NULL");
    Menu("TrackPopupMenuEx(TPM_RETURNCMD) until its owner goes", popup, TPM_RETURNCMD, 2, WM_APP + 2);
    Menu("TrackPopupMenuEx until its owner goes", popup, 0, 3, WM_APP + 3);
    Say("DestroyMenu: %d", DestroyMenu(menu));
    const BOOL left = PeekMessageW(&msg, NULL, 0, 0, PM_REMOVE);
    Say("left in the queue: %s", left ? MessageName(msg.message) : "nothing");
    return 0;
}
