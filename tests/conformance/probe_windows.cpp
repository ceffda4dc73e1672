// Windows: subclassing with SetWindowLongW(GWL_WNDPROC) and CallWindowProcW chains, the other
// window longs, the extended styles a window keeps (and the last error when one reads 0),
// visibility and enabling, the foreground window and window rectangles, z-order walks with
// GetWindow (from NULL too, and from the desktop window), and IsWindow once a window (or its
// parent) is destroyed.
#include "probe.h"

#include <string.h>

static const WCHAR kClass[] = TEXT("ProbeWindows");
static char g_chain[128];
static WNDPROC g_belowB;
static WNDPROC g_belowC;
static HWND g_named[8];
static const char* const kNames[8] = {"Z1", "Z2", "Z3", "P", "C1", "C2", "C3", "V"};

static const char* Name(HWND hwnd) {
    if (!hwnd) return "NULL";
    for (int i = 0; i < 8; ++i)
        if (g_named[i] == hwnd) return kNames[i];
    return "another window";
}

static void Chain(const char* link) {
    if (g_chain[0]) strncat(g_chain, " ", sizeof g_chain - strlen(g_chain) - 1);
    strncat(g_chain, link, sizeof g_chain - strlen(g_chain) - 1);
}

static LRESULT CALLBACK ProcA(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_APP) {
        Chain("A");
        return 1;
    }
    if (message == WM_DESTROY) Chain(Name(hwnd));
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

static LRESULT CALLBACK ProcB(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_APP) Chain("B");
    const LRESULT below = CallWindowProcW(g_belowB, hwnd, message, wParam, lParam);
    return message == WM_APP ? below + 10 : below;
}

static LRESULT CALLBACK ProcC(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_APP) Chain("C");
    const LRESULT below = CallWindowProcW(g_belowC, hwnd, message, wParam, lParam);
    return message == WM_APP ? below + 100 : below;
}

static const char* ProcName(LONG proc) {
    if (proc == (LONG)(LONG_PTR)ProcA) return "A";
    if (proc == (LONG)(LONG_PTR)ProcB) return "B";
    if (proc == (LONG)(LONG_PTR)ProcC) return "C";
    return proc ? "another procedure" : "0";
}

static HWND Make(DWORD exStyle, DWORD style, HWND parent) {
    return CreateWindowExW(exStyle, kClass, TEXT(""), style, 0, 0, 20, 20, parent, NULL, g_probeInstance, NULL);
}

static void Send(const char* what, HWND hwnd) {
    g_chain[0] = 0;
    const LRESULT result = SendMessageW(hwnd, WM_APP, 0, 0);
    Say("%s: %s, result %ld", what, g_chain, (long)result);
}

static void Subclassing() {
    HWND hwnd = Make(0, WS_POPUP, NULL);
    SetLastError(1234);
    LONG previous = SetWindowLongW(hwnd, GWL_WNDPROC, (LONG)(LONG_PTR)ProcB);
    DWORD error = GetLastError();
    g_belowB = (WNDPROC)(LONG_PTR)previous;
    Say("SetWindowLongW(GWL_WNDPROC, B): previous %s, error %lu", ProcName(previous), error);
    Say("GetWindowLongW(GWL_WNDPROC): %s", ProcName(GetWindowLongW(hwnd, GWL_WNDPROC)));
    previous = SetWindowLongW(hwnd, GWL_WNDPROC, (LONG)(LONG_PTR)ProcC);
    g_belowC = (WNDPROC)(LONG_PTR)previous;
    Say("SetWindowLongW(GWL_WNDPROC, C): previous %s", ProcName(previous));
    Send("SendMessageW through C, B, A", hwnd);

    g_chain[0] = 0;
    PostMessageW(hwnd, WM_APP, 0, 0);
    MSG msg;
    while (PeekMessageW(&msg, NULL, WM_APP, WM_APP, PM_REMOVE)) {
        const LRESULT result = DispatchMessageW(&msg);
        Say("DispatchMessageW through C, B, A: %s, result %ld", g_chain, (long)result);
    }
    g_chain[0] = 0;
    LRESULT result = CallWindowProcW(ProcA, hwnd, WM_APP, 0, 0);
    Say("CallWindowProcW(A): %s, result %ld", g_chain, (long)result);

    previous = SetWindowLongW(hwnd, GWL_WNDPROC, (LONG)(LONG_PTR)ProcB);
    Say("SetWindowLongW(GWL_WNDPROC, B) again: previous %s", ProcName(previous));
    Send("SendMessageW through B, A", hwnd);
    previous = SetWindowLongW(hwnd, GWL_WNDPROC, (LONG)(LONG_PTR)ProcA);
    Say("SetWindowLongW(GWL_WNDPROC, A): previous %s", ProcName(previous));
    Send("SendMessageW to A alone", hwnd);

    // A previous value of 0 is a success too; the last error tells nothing about it.
    SetLastError(1234);
    previous = SetWindowLongW(hwnd, GWL_USERDATA, 77);
    error = GetLastError();
    Say("SetWindowLongW(GWL_USERDATA, 77): previous %ld, error %lu", (long)previous, error);
    Say("GetWindowLongW(GWL_USERDATA): %ld", (long)GetWindowLongW(hwnd, GWL_USERDATA));
    SetLastError(1234);
    previous = SetWindowLongW(hwnd, GWL_USERDATA, 0);
    error = GetLastError();
    Say("SetWindowLongW(GWL_USERDATA, 0): previous %ld, error %lu", (long)previous, error);

    DestroyWindow(hwnd);
    SetLastError(0);
    previous = GetWindowLongW(hwnd, GWL_EXSTYLE);
    error = GetLastError();
    Say("GetWindowLongW of a destroyed window: %ld, %s", (long)previous, ErrorName(error));
    SetLastError(0);
    previous = SetWindowLongW(hwnd, GWL_USERDATA, 1);
    error = GetLastError();
    Say("SetWindowLongW of a destroyed window: %ld, %s", (long)previous, ErrorName(error));
}

static void Styles() {
    static const struct {
        DWORD exStyle;
        const char* name;
    } styles[] = {{0, "0"},
                  {WS_EX_TOOLWINDOW, "WS_EX_TOOLWINDOW"},
                  {WS_EX_NOACTIVATE, "WS_EX_NOACTIVATE"},
                  {WS_EX_TOPMOST, "WS_EX_TOPMOST"},
                  {WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE, "WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE"}};
    for (size_t i = 0; i < sizeof styles / sizeof styles[0]; ++i) {
        HWND hwnd = Make(styles[i].exStyle, WS_POPUP, NULL);
        Say("GWL_EXSTYLE of a popup made with %s: 0x%08lX", styles[i].name, (unsigned long)GetWindowLongW(hwnd, GWL_EXSTYLE));
        DestroyWindow(hwnd);
    }
    HWND hwnd = Make(0, WS_POPUP, NULL);
    LONG previous = SetWindowLongW(hwnd, GWL_EXSTYLE, WS_EX_NOACTIVATE);
    Say("SetWindowLongW(GWL_EXSTYLE, WS_EX_NOACTIVATE): previous 0x%08lX, now 0x%08lX", (unsigned long)previous,
        (unsigned long)GetWindowLongW(hwnd, GWL_EXSTYLE));

    // Visible and enabled: the window's own style, and for a child its parents' too.
    Say("a hidden popup: IsWindowVisible %d, IsWindowEnabled %d", IsWindowVisible(hwnd), IsWindowEnabled(hwnd));
    HWND child = Make(0, WS_CHILD | WS_VISIBLE, hwnd);
    Say("a visible child of a hidden popup: IsWindowVisible %d", IsWindowVisible(child));
    HWND disabled = Make(0, WS_POPUP | WS_DISABLED, NULL);
    Say("a popup made disabled: IsWindowEnabled %d", IsWindowEnabled(disabled));
    HWND disabledChild = Make(0, WS_CHILD, disabled);
    Say("an enabled child of a disabled popup: IsWindowEnabled %d", IsWindowEnabled(disabledChild));
    DestroyWindow(disabled);
    DestroyWindow(hwnd);
}

// What tap-close reads of the window in front: which it is, its rectangle, and a style of 0 read
// with the last error cleared first (0 and no error is a style of 0, not a failure).
static void Front() {
    HWND hwnd = CreateWindowExW(0, kClass, TEXT(""), WS_POPUP, 10, 20, 30, 40, NULL, NULL, g_probeInstance, NULL);
    g_named[7] = hwnd;
    RECT rect = {-1, -1, -1, -1};
    const BOOL got = GetWindowRect(hwnd, &rect);
    Say("GetWindowRect of a popup at 10, 20 of 30 x 40: %d, %ld %ld %ld %ld", got, rect.left, rect.top, rect.right,
        rect.bottom);
    const BOOL set = SetForegroundWindow(hwnd);
    Say("SetForegroundWindow: %d; GetForegroundWindow: %s", set, GetForegroundWindow() == hwnd ? "V" : "not V");
    for (DWORD before = 0; before <= 1234; before += 1234) {
        SetLastError(before);
        const LONG style = GetWindowLongW(hwnd, GWL_EXSTYLE);
        Say("GetWindowLongW(GWL_EXSTYLE) of extended style 0, last error %lu before: %ld, error %lu after",
            before, (long)style, GetLastError());
    }
    DestroyWindow(hwnd);
    Say("GetForegroundWindow once V is gone: %s", GetForegroundWindow() == hwnd ? "V" : "not V");
    SetLastError(0);
    const BOOL gone = GetWindowRect(hwnd, &rect);
    Say("GetWindowRect of V gone: %d, error %s, %ld %ld %ld %ld", gone, ErrorName(GetLastError()), rect.left,
        rect.top, rect.right, rect.bottom);
    g_named[7] = NULL;
}

// The probe's own windows in the order a walk from `start` meets them; other windows are passed.
static void Walk(const char* what, HWND start, UINT step) {
    char order[128] = "";
    int guard = 0;
    for (HWND w = start; w && guard < 10000; w = GetWindow(w, step), ++guard) {
        const char* name = Name(w);
        if (strcmp(name, "another window") == 0) continue;
        if (order[0]) strncat(order, " ", sizeof order - strlen(order) - 1);
        strncat(order, name, sizeof order - strlen(order) - 1);
    }
    Say("%s: %s", what, order);
}

static void ZOrder() {
    for (int i = 0; i < 3; ++i) g_named[i] = Make(0, WS_POPUP, NULL);
    Walk("top-level, GW_HWNDFIRST then GW_HWNDNEXT", GetWindow(g_named[0], GW_HWNDFIRST), GW_HWNDNEXT);
    Walk("top-level, GW_HWNDLAST then GW_HWNDPREV", GetWindow(g_named[0], GW_HWNDLAST), GW_HWNDPREV);
    Say("GetWindow(Z1, GW_OWNER): %s", Name(GetWindow(g_named[0], GW_OWNER)));
    Say("GetWindow(Z1, GW_CHILD): %s", Name(GetWindow(g_named[0], GW_CHILD)));
    SetLastError(0);
    HWND first = GetWindow(NULL, GW_CHILD);
    Say("GetWindow(NULL, GW_CHILD): %s, error %s", Name(first), ErrorName(GetLastError()));
    Say("GetWindow(GetDesktopWindow(), GW_CHILD): %s", Name(GetWindow(GetDesktopWindow(), GW_CHILD)));

    g_named[3] = Make(0, WS_POPUP, NULL);
    for (int i = 4; i < 7; ++i) g_named[i] = Make(0, WS_CHILD, g_named[3]);
    Say("GetWindow(P, GW_CHILD): %s", Name(GetWindow(g_named[3], GW_CHILD)));
    Walk("children, GW_CHILD then GW_HWNDNEXT", GetWindow(g_named[3], GW_CHILD), GW_HWNDNEXT);
    Say("GetWindow(C1, GW_HWNDFIRST): %s, GW_HWNDLAST: %s", Name(GetWindow(g_named[4], GW_HWNDFIRST)),
        Name(GetWindow(g_named[4], GW_HWNDLAST)));
    Say("GetWindow(C3, GW_HWNDPREV): %s; GetWindow(C1, GW_HWNDPREV): %s; GetWindow(C3, GW_HWNDNEXT): %s",
        Name(GetWindow(g_named[6], GW_HWNDPREV)), Name(GetWindow(g_named[4], GW_HWNDPREV)),
        Name(GetWindow(g_named[6], GW_HWNDNEXT)));
    Say("GetWindow(C2, GW_CHILD): %s; GetWindow(C2, GW_OWNER): %s", Name(GetWindow(g_named[5], GW_CHILD)),
        Name(GetWindow(g_named[5], GW_OWNER)));
    Walk("top-level with P", GetWindow(g_named[0], GW_HWNDFIRST), GW_HWNDNEXT);

    DestroyWindow(g_named[1]);
    Say("IsWindow(Z2) after DestroyWindow: %d", IsWindow(g_named[1]));
    Walk("top-level without Z2", GetWindow(g_named[0], GW_HWNDFIRST), GW_HWNDNEXT);
    DestroyWindow(g_named[5]);
    Walk("children without C2", GetWindow(g_named[3], GW_CHILD), GW_HWNDNEXT);

    // Destroying a parent destroys its children: WM_DESTROY to the parent first.
    g_chain[0] = 0;
    DestroyWindow(g_named[3]);
    Say("WM_DESTROY order when P goes: %s", g_chain);
    Say("IsWindow after P went: P %d, C1 %d, C3 %d", IsWindow(g_named[3]), IsWindow(g_named[4]), IsWindow(g_named[6]));
    Say("IsWindow(NULL): %d", IsWindow(NULL));
    DestroyWindow(g_named[0]);
    DestroyWindow(g_named[2]);
}

int ProbeMain(const char*) {
    RegisterProbeClass(kClass, ProcA);
    Subclassing();
    Styles();
    Front();
    ZOrder();
    return 0;
}
