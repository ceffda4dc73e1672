// Modal loops: a message box and a popup menu keep dispatching the thread's timers and posted
// messages while they wait. Each ends without a user: the message box by WM_QUIT, which it posts
// again for the thread's own loop; the menu by the destruction of its owner window; and both by
// keys a timer synthesises meanwhile, as a user's would: the menu's choice then comes back as a
// posted WM_COMMAND (or as the result, with TPM_RETURNCMD), the box's button as its result.
#include "probe.h"

#include <string.h>

#include "probes_rc.h"

static const WCHAR kClass[] = TEXT("ProbeModal");
static char g_seen[256];

static void Note(const char* what) {
    if (g_seen[0]) strncat(g_seen, ", ", sizeof g_seen - strlen(g_seen) - 1);
    strncat(g_seen, what, sizeof g_seen - strlen(g_seen) - 1);
}

static void Key(BYTE vk) {
    keybd_event(vk, 0, 0, 0);
    keybd_event(vk, 0, KEYEVENTF_KEYUP, 0);
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
        if (wParam >= 10) {  // keys: 10 Enter, 11 down and Enter, 12 Escape
            Note(wParam == 10 ? "WM_TIMER, Enter" : (wParam == 11 ? "WM_TIMER, down and Enter" : "WM_TIMER, Escape"));
            if (wParam == 11) Key(VK_DOWN);
            Key(wParam == 12 ? VK_ESCAPE : VK_RETURN);
            return 0;
        }
        Note(wParam == 1 ? "WM_TIMER 1" : (wParam == 2 ? "WM_TIMER 2" : "WM_TIMER 3"));
        if (wParam == 1) PostQuitMessage(5);
        else DestroyWindow(hwnd);
        return 0;
    case WM_DESTROY:
        Note("WM_DESTROY");
        return 0;
    case WM_COMMAND: {
        char what[48];
        snprintf(what, sizeof what, "WM_COMMAND %u %ld", (unsigned)wParam, (long)lParam);
        Note(what);
        return 0;
    }
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
    RegisterProbeClass(kClass, Proc);

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
    // Keys from a timer make the choice; they go to the foreground, where the owner must be. What
    // reaches the owner afterwards is dispatched here.
    HWND owner = Make();
    SetForegroundWindow(owner);
    SetLastError(12345);
    const BOOL refused = TrackPopupMenuEx(popup, 0, 10, 10, NULL, NULL);
    Say("TrackPopupMenuEx with no owner: %d, error %s", refused, ErrorName(GetLastError()));
    const struct {
        const char* what;
        UINT flags;
        int timer;
    } choices[] = {{"down and Enter", TPM_RIGHTALIGN | TPM_BOTTOMALIGN, 11},
                   {"down and Enter, TPM_RETURNCMD", TPM_RETURNCMD, 11},
                   {"Escape", 0, 12},
                   {"Escape, TPM_RETURNCMD", TPM_RETURNCMD, 12}};
    for (const auto& c : choices) {
        g_seen[0] = 0;
        PostMessageW(owner, WM_APP + 1, 0, 0);
        SetTimer(owner, c.timer, 10, NULL);
        const BOOL result = TrackPopupMenuEx(popup, c.flags, 240, 294, owner, NULL);
        char inside[256];
        strcpy(inside, g_seen);
        g_seen[0] = 0;
        while (PeekMessageW(&msg, NULL, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
        Say("TrackPopupMenuEx, %s: in its loop: %s; result %d; then: %s", c.what, inside, result,
            g_seen[0] ? g_seen : "nothing");
    }
    // A box of no owner, as the bridge's About box, closed by Enter from a timer of our window.
    g_seen[0] = 0;
    PostMessageW(owner, WM_APP + 1, 0, 0);
    SetTimer(owner, 10, 10, NULL);
    const int pressed = MessageBoxW(NULL, TEXT("Probe"), TEXT("About"), MB_OK | MB_ICONINFORMATION);
    Say("MessageBoxW of no owner, Enter: in its loop: %s; result %d", g_seen, pressed);
    DestroyWindow(owner);
    Say("DestroyMenu: %d", DestroyMenu(menu));
    const BOOL left = PeekMessageW(&msg, NULL, 0, 0, PM_REMOVE);
    Say("left in the queue: %s", left ? MessageName(msg.message) : "nothing");
    return 0;
}
