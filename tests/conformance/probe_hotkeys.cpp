// Hot keys: one holder per key and modifiers, a second registration refused whoever asks, what
// UnregisterHotKey releases, keys going with their window, and the remote control's keys; then
// keys synthesised with keybd_event while hot keys are held: which WM_HOTKEY messages come, with
// which identifier and lParam (modifiers in the low word, the key in the high word).
#include "probe.h"

#include <string.h>

static const WCHAR kClass[] = TEXT("ProbeHotKeys");

#define VK_F9_KEY 0x78
#define VK_F10_KEY 0x79
#define VK_F11_KEY 0x7A

static char g_seen[512];

static LRESULT CALLBACK Proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_HOTKEY) {
        const size_t used = strlen(g_seen);
        snprintf(g_seen + used, sizeof g_seen - used, "%sWM_HOTKEY %d 0x%08lX", used ? ", " : "", (int)wParam,
                 (unsigned long)lParam);
        return 0;
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

// Presses and releases a key (with Ctrl held when asked), and says which hot keys came of it.
// Input reaches Wine's queues a moment later: wait up to a second for `expected` messages.
static void Press(const char* what, BYTE vk, BOOL control, int expected) {
    g_seen[0] = 0;
    if (control) keybd_event(VK_CONTROL, 0, 0, 0);
    keybd_event(vk, 0, 0, 0);
    keybd_event(vk, 0, KEYEVENTF_KEYUP, 0);
    if (control) keybd_event(VK_CONTROL, 0, KEYEVENTF_KEYUP, 0);
    MSG msg;
    for (int round = 0; round < 100; ++round) {
        while (PeekMessageW(&msg, NULL, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
        int count = g_seen[0] ? 1 : 0;
        for (const char* c = g_seen; *c; ++c) count += *c == ',';
        if (count >= expected && round >= 2) break;
        Sleep(10);
    }
    Say("keybd_event %s: %s", what, g_seen[0] ? g_seen : "no WM_HOTKEY");
}

static void Register(const char* what, HWND hwnd, int id, UINT modifiers, UINT vk) {
    SetLastError(0);
    const BOOL done = RegisterHotKey(hwnd, id, modifiers, vk);
    const DWORD error = GetLastError();
    if (done) Say("RegisterHotKey %s: 1", what);
    else Say("RegisterHotKey %s: 0, %s", what, ErrorName(error));
}

static void Unregister(const char* what, HWND hwnd, int id) {
    SetLastError(0);
    const BOOL done = UnregisterHotKey(hwnd, id);
    const DWORD error = GetLastError();
    if (done) Say("UnregisterHotKey %s: 1", what);
    else Say("UnregisterHotKey %s: 0, %s", what, ErrorName(error));
}

int ProbeMain(const char*) {
    RegisterProbeClass(kClass, Proc);
    HWND one = CreateWindowExW(0, kClass, TEXT("one"), WS_POPUP, 0, 0, 1, 1, NULL, NULL, g_probeInstance, NULL);
    HWND two = CreateWindowExW(0, kClass, TEXT("two"), WS_POPUP, 0, 0, 1, 1, NULL, NULL, g_probeInstance, NULL);
    const UINT both = MOD_CONTROL | MOD_ALT;

    Register("(window one, 1, Ctrl+Alt+F9)", one, 1, both, VK_F9_KEY);
    Register("of the same again", one, 1, both, VK_F9_KEY);
    Register("of the same key under another id", one, 2, both, VK_F9_KEY);
    Register("of the same key for window two", two, 1, both, VK_F9_KEY);
    Register("of the same key for the thread", NULL, 3, both, VK_F9_KEY);
    Register("of F9 with Ctrl only, window two", two, 1, MOD_CONTROL, VK_F9_KEY);
    Register("of F9 with no modifier, window two", two, 2, 0, VK_F9_KEY);

    // A second key under an identifier that already holds one.
    Register("(window one, 1, Ctrl+Alt+F10)", one, 1, both, VK_F10_KEY);
    Unregister("(window one, 1)", one, 1);
    Register("of Ctrl+Alt+F9 by window two after that", two, 5, both, VK_F9_KEY);
    Register("of Ctrl+Alt+F10 by window two after that", two, 6, both, VK_F10_KEY);
    Unregister("(window one, 1) again", one, 1);
    Unregister("(window one, 99), never registered", one, 99);
    Unregister("(window one, 5), window two's", one, 5);

    // The keys of a destroyed window are free again.
    DestroyWindow(two);
    Register("of Ctrl+Alt+F9 by window one, window two destroyed", one, 7, both, VK_F9_KEY);
    Register("of Ctrl+F9 by window one, window two destroyed", one, 8, MOD_CONTROL, VK_F9_KEY);
    Register("for the destroyed window", two, 9, MOD_ALT, VK_F11_KEY);
    Unregister("(window two, 1), destroyed", two, 1);

    Register("(thread, 10, Alt+F11)", NULL, 10, MOD_ALT, VK_F11_KEY);
    Register("of Alt+F11 by window one", one, 10, MOD_ALT, VK_F11_KEY);
    Unregister("(thread, 10)", NULL, 10);
    Unregister("(thread, 10) again", NULL, 10);

    // The remote control's keys, as the bridge takes them: no modifiers, the key as identifier.
    for (UINT vk = 0x88; vk <= 0x8E; ++vk) {
        char what[64];
        snprintf(what, sizeof what, "of remote key 0x%02X", vk);
        Register(what, one, (int)vk, 0, vk);
    }
    for (UINT vk = 0x88; vk <= 0x8E; ++vk) {
        char what[64];
        snprintf(what, sizeof what, "of remote key 0x%02X again", vk);
        Register(what, one, (int)vk, 0, vk);
    }
    // Synthesised presses of held keys, of a key held with another modifier, of a free key.
    for (UINT vk = 0x88; vk <= 0x8E; ++vk) {
        char what[64];
        snprintf(what, sizeof what, "of remote key 0x%02X", vk);
        Press(what, (BYTE)vk, FALSE, 1);
    }
    Press("of F9 with Ctrl (window one holds Ctrl+F9)", VK_F9_KEY, TRUE, 1);
    Press("of F9 alone", VK_F9_KEY, FALSE, 0);
    Press("of F10 with Ctrl, held by no one", VK_F10_KEY, TRUE, 0);
    for (UINT vk = 0x88; vk <= 0x8E; ++vk) UnregisterHotKey(one, (int)vk);
    Press("of remote key 0x89, released", 0x89, FALSE, 0);
    Unregister("(window one, 7)", one, 7);
    Unregister("(window one, 8)", one, 8);
    DestroyWindow(one);
    return 0;
}
