// Messages within one thread: WM_CREATE inside CreateWindowExW, the order in which GetMessageW
// hands out posted messages, the quit message and timers, what killing and restarting a timer
// does, and what DestroyWindow and DefWindowProcW's WM_CLOSE do.
#include "probe.h"

#include <string.h>

static const WCHAR kClass[] = TEXT("ProbeMessages");
static BOOL g_inCreate;
static const char* g_step = "";  // what the probe is doing, for the lines the procedure prints
static int g_createParam;   // passed through CreateWindowExW
static int g_refuseParam;   // makes WM_CREATE refuse the window

#define SAFETY_TIMER 99  // ends a retrieval that waits for something that never comes

static LRESULT CALLBACK ProbeProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CREATE: {
        const CREATESTRUCTW* cs = (const CREATESTRUCTW*)lParam;
        Say("WM_CREATE: %s CreateWindowExW; parameter %s; title \"%s\"; class \"%s\"; x %d y %d cx %d cy %d",
            g_inCreate ? "inside" : "outside",
            cs->lpCreateParams == &g_createParam ? "passed"
                                                 : (cs->lpCreateParams == &g_refuseParam ? "refuse" : "other"),
            Text(cs->lpszName), IS_INTRESOURCE(cs->lpszClass) ? "(atom)" : Text(cs->lpszClass), cs->x, cs->y, cs->cx,
            cs->cy);
        return cs->lpCreateParams == &g_refuseParam ? -1 : 0;
    }
    case WM_DESTROY:
        Say("WM_DESTROY (%s): IsWindow %d", g_step, IsWindow(hwnd));
        return 0;
    case WM_CLOSE:
        Say("WM_CLOSE: to DefWindowProcW");
        break;
    case WM_TIMER:
    case WM_APP:
    case WM_APP + 1:
    case WM_APP + 2:
    case WM_APP + 3:
    case WM_APP + 4:
    case WM_APP + 5:
    case WM_APP + 6:
        return 0;
    default:
        break;
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

static HWND MakeWindow(const WCHAR* title, void* param) {
    g_inCreate = TRUE;
    HWND hwnd = CreateWindowExW(0, kClass, title, WS_POPUP, 10, 20, 100, 50, NULL, NULL, g_probeInstance, param);
    g_inCreate = FALSE;
    return hwnd;
}

// What the probe tells apart: the messages it posts, timers, quit. Whatever else the system
// sends a window on the way is not looked at.
static BOOL Interesting(const MSG& msg) {
    if (msg.message == WM_TIMER) return msg.wParam != SAFETY_TIMER;
    return msg.message == WM_QUIT || msg.message == WM_CLOSE || (msg.message >= WM_APP && msg.message < WM_APP + 0x100);
}

static void Describe(char* out, size_t size, const MSG& msg, HWND window) {
    size_t used = strlen(out);
    const char* target = msg.hwnd == NULL ? "thread" : (msg.hwnd == window ? "window" : "other");
    if (msg.message == WM_TIMER)
        snprintf(out + used, size - used, "%sWM_TIMER %u", used ? ", " : "", (unsigned)msg.wParam);
    else if (msg.message == WM_QUIT)
        snprintf(out + used, size - used, "%sWM_QUIT %d", used ? ", " : "", (int)msg.wParam);
    else
        snprintf(out + used, size - used, "%s%s(%s)", used ? ", " : "", MessageName(msg.message), target);
}

// Retrieves messages with GetMessageW until `count` interesting ones came (or WM_QUIT), dispatching
// each, and says which came in which order. Each timer is killed when it first comes.
static void Retrieve(const char* what, int count, HWND window) {
    char seen[512] = "";
    SetTimer(window, SAFETY_TIMER, 2000, NULL);
    MSG msg;
    int got = 0;
    while (got < count) {
        const BOOL result = GetMessageW(&msg, NULL, 0, 0);
        if (msg.message == WM_TIMER && msg.wParam == SAFETY_TIMER) {
            Describe(seen, sizeof seen, msg, window);
            strncat(seen, " (nothing else came)", sizeof seen - strlen(seen) - 1);
            break;
        }
        if (Interesting(msg)) {
            Describe(seen, sizeof seen, msg, window);
            ++got;
        }
        if (result == 0) {
            strncat(seen, " [GetMessageW 0]", sizeof seen - strlen(seen) - 1);
            break;
        }
        if (msg.message == WM_TIMER) KillTimer(msg.hwnd, msg.wParam);
        DispatchMessageW(&msg);
    }
    KillTimer(window, SAFETY_TIMER);
    Say("%s: %s", what, seen);
}

// Takes every message the filter accepts that is there now, without waiting.
static void Peek(const char* what, HWND hwnd, UINT first, UINT last, HWND window) {
    char seen[512] = "";
    MSG msg;
    int count = 0;
    while (count < 20 && PeekMessageW(&msg, hwnd, first, last, PM_REMOVE)) {
        if (Interesting(msg)) Describe(seen, sizeof seen, msg, window);
        ++count;
    }
    Say("%s: %s", what, seen[0] ? seen : "none");
}

int ProbeMain(const char*) {
    Say("RegisterClassW: %s", RegisterProbeClass(kClass, ProbeProc) ? "registered" : "failed");

    HWND window = MakeWindow(TEXT("Probe window"), &g_createParam);
    Say("CreateWindowExW: %s", window ? "a window" : "NULL");

    g_step = "creation refused";
    g_inCreate = TRUE;
    HWND refused = CreateWindowExW(0, kClass, TEXT("Refused"), WS_POPUP, 1, 2, 3, 4, NULL, NULL, g_probeInstance,
                                   &g_refuseParam);
    g_inCreate = FALSE;
    Say("CreateWindowExW refused by WM_CREATE: %s", refused ? "a window" : "NULL");

    // A due timer waits while a posted message is there.
    SetTimer(window, 1, 10, NULL);
    Sleep(30);
    PostMessageW(window, WM_APP + 1, 0, 0);
    Retrieve("posted, then a timer already due", 2, window);

    // A timer killed while due leaves nothing behind.
    SetTimer(window, 2, 10, NULL);
    Sleep(30);
    Say("KillTimer of a due timer: %d", KillTimer(window, 2));
    Peek("WM_TIMER after KillTimer", NULL, WM_TIMER, WM_TIMER, window);
    Say("KillTimer again: %d", KillTimer(window, 2));

    // SetTimer on an existing identifier starts its period anew: timer 3 (40 ms) restarted with
    // 80 ms after 20 ms comes after timer 4 (80 ms from the start).
    Say("SetTimer 3: %u", SetTimer(window, 3, 40, NULL));
    Say("SetTimer 4: %u", SetTimer(window, 4, 80, NULL));
    Sleep(20);
    Say("SetTimer 3 again: %u", SetTimer(window, 3, 80, NULL));
    Retrieve("restarted timer", 2, window);

    // Expiries missed while the thread was busy make one WM_TIMER.
    SetTimer(window, 5, 100, NULL);
    Sleep(250);
    Peek("timer 5 after 2.5 periods", NULL, WM_TIMER, WM_TIMER, window);
    KillTimer(window, 5);

    // The quit message comes after every posted message, before a due timer.
    PostMessageW(window, WM_APP + 3, 0, 0);
    PostQuitMessage(7);
    PostMessageW(window, WM_APP + 4, 0, 0);
    SetTimer(window, 6, 10, NULL);
    Sleep(30);
    Retrieve("quit among posted messages", 3, window);
    Peek("after WM_QUIT", NULL, 0, 0, window);
    KillTimer(window, 6);

    // A message posted to no window goes to the thread.
    Say("PostMessageW(NULL): %d", PostMessageW(NULL, WM_APP + 5, 1, 2));
    Retrieve("thread message", 1, window);

    // Filters: by window and by range.
    PostMessageW(NULL, WM_APP + 1, 0, 0);
    PostMessageW(window, WM_APP + 2, 0, 0);
    PostMessageW(window, WM_APP + 3, 0, 0);
    Peek("PeekMessageW for the window", window, 0, 0, window);
    Peek("PeekMessageW for the rest", NULL, 0, 0, window);
    PostMessageW(window, WM_APP + 1, 0, 0);
    PostMessageW(window, WM_APP + 2, 0, 0);
    PostMessageW(window, WM_APP + 3, 0, 0);
    Peek("PeekMessageW WM_APP+2..WM_APP+3", NULL, WM_APP + 2, WM_APP + 3, window);
    Peek("PeekMessageW for the rest", NULL, 0, 0, window);

    // DestroyWindow: WM_DESTROY inside it; the window's timers and posted messages go with it.
    g_step = "DestroyWindow";
    SetTimer(window, 7, 10, NULL);
    PostMessageW(window, WM_APP + 6, 0, 0);
    Say("DestroyWindow: %d", DestroyWindow(window));
    Say("IsWindow after DestroyWindow: %d", IsWindow(window));
    SetLastError(0);
    BOOL done = DestroyWindow(window);
    Say("DestroyWindow again: %d, error %lu", done, GetLastError());
    SetLastError(0);
    done = PostMessageW(window, WM_APP, 0, 0);
    Say("PostMessageW to it: %d, error %lu", done, GetLastError());
    SetLastError(0);
    const LRESULT answer = SendMessageW(window, WM_APP, 0, 0);
    Say("SendMessageW to it: %ld, error %lu", (long)answer, GetLastError());
    Sleep(30);
    Peek("left in the queue", NULL, 0, 0, window);

    // WM_CLOSE, sent and posted, reaches DefWindowProcW, which destroys the window.
    g_step = "WM_CLOSE";
    HWND closing = MakeWindow(TEXT("Closed by a send"), &g_createParam);
    Say("SendMessageW(WM_CLOSE): %ld", (long)SendMessageW(closing, WM_CLOSE, 0, 0));
    Say("IsWindow after WM_CLOSE: %d", IsWindow(closing));
    closing = MakeWindow(TEXT("Closed by a post"), &g_createParam);
    PostMessageW(closing, WM_CLOSE, 0, 0);
    HWND helper = MakeWindow(TEXT("Helper"), &g_createParam);
    PostMessageW(helper, WM_APP, 0, 0);
    Retrieve("posted WM_CLOSE", 2, helper);
    Say("IsWindow after a posted WM_CLOSE: %d", IsWindow(closing));
    g_step = "the end";
    DestroyWindow(helper);
    return 0;
}
