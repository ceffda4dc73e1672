// Hot keys: one holder per key and modifiers, a second registration refused whoever asks, what
// UnregisterHotKey releases, keys going with their window, and the remote control's keys.
#include "probe.h"

#include <string.h>

static const WCHAR kClass[] = TEXT("ProbeHotKeys");

#define VK_F9_KEY 0x78
#define VK_F10_KEY 0x79
#define VK_F11_KEY 0x7A

static LRESULT CALLBACK Proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    return DefWindowProcW(hwnd, message, wParam, lParam);
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
    WNDCLASSW wc;
    memset(&wc, 0, sizeof wc);
    wc.lpfnWndProc = Proc;
    wc.hInstance = g_probeInstance;
    wc.lpszClassName = kClass;
    RegisterClassW(&wc);
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
    for (UINT vk = 0x88; vk <= 0x8E; ++vk) UnregisterHotKey(one, (int)vk);
    Unregister("(window one, 7)", one, 7);
    Unregister("(window one, 8)", one, 8);
    DestroyWindow(one);
    return 0;
}
