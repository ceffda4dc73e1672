// The notification area as the bridge uses it: an icon added (once only), changed and deleted
// (once only), by the record of Windows CE's size, which is the desktop's first version. Wine has a
// notification area only with a display: the test gives this probe one. The icon's callback
// message needs a user's tap, which a probe cannot make without reaching into Wine's own windows.
#include "probe.h"

#include <shellapi.h>
#include <string.h>

#include "probes_rc.h"

static const WCHAR kClass[] = TEXT("ProbeTray");

static LRESULT CALLBACK Proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

static void Notify(const char* what, DWORD message, HWND hwnd, UINT flags) {
    NOTIFYICONDATA data;
    memset(&data, 0, sizeof data);
#ifdef NOTIFYICONDATAW_V1_SIZE
    data.cbSize = NOTIFYICONDATAW_V1_SIZE;
#else
    data.cbSize = sizeof data;
#endif
    data.hWnd = hwnd;
    data.uID = 1;
    data.uFlags = flags;
    data.uCallbackMessage = WM_APP + 5;
    data.hIcon = (HICON)LoadImageW(g_probeInstance, MAKEINTRESOURCE(IDI_PROBE), IMAGE_ICON, 16, 16, 0);
    wcscpy(data.szTip, TEXT("Probe"));
    // Only the result: what the last error holds afterwards is not documented (Wine's varies).
    Say("Shell_NotifyIcon(%s): %d", what, Shell_NotifyIcon(message, &data));
    DestroyIcon(data.hIcon);
}

int ProbeMain(const char*) {
    RegisterProbeClass(kClass, Proc);
    HWND hwnd = CreateWindowExW(0, kClass, TEXT("Probe tray"), 0, 0, 0, CW_USEDEFAULT, CW_USEDEFAULT, NULL, NULL,
                                g_probeInstance, NULL);
    Say("the record: %u bytes", (unsigned)(sizeof(NOTIFYICONDATA) >= 152 ? 152 : sizeof(NOTIFYICONDATA)));
    Notify("NIM_ADD", NIM_ADD, hwnd, NIF_MESSAGE | NIF_ICON);
    Notify("NIM_ADD of the same icon again", NIM_ADD, hwnd, NIF_MESSAGE | NIF_ICON);
    Notify("NIM_MODIFY, a tip", NIM_MODIFY, hwnd, NIF_TIP);
    Notify("NIM_DELETE", NIM_DELETE, hwnd, 0);
    Notify("NIM_DELETE again", NIM_DELETE, hwnd, 0);
    Notify("NIM_MODIFY of the deleted icon", NIM_MODIFY, hwnd, NIF_TIP);
    DestroyWindow(hwnd);
    return 0;
}
