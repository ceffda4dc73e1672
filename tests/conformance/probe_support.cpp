#include "probe.h"

#include <string.h>

HINSTANCE g_probeInstance;
static char g_role[32] = "?";

void SetProbeRole(const char* role);

void SetProbeRole(const char* role) {
    size_t i = 0;
    for (; role[i] && i + 1 < sizeof g_role; ++i) g_role[i] = role[i];
    g_role[i] = 0;
}

void Say(const char* format, ...) {
    va_list args;
    va_start(args, format);
    printf("%s: ", g_role);
    vprintf(format, args);
    printf("\n");
    fflush(stdout);
    va_end(args);
}

// Our own conversion: the platform's would be under test too.
const char* Text(const WCHAR* text, int count) {
    static char buffers[4][4096];
    static int next;
    char* out = buffers[next];
    next = (next + 1) % 4;
    if (!text) return "(null)";
    size_t n = 0;
    const size_t room = sizeof buffers[0] - 8;
    for (int i = 0; (count < 0 || i < count) && text[i] && n < room; ++i) {
        unsigned long c = (unsigned short)text[i];
        if (c >= 0xD800 && c < 0xDC00 && (count < 0 || i + 1 < count) && text[i + 1] >= 0xDC00 &&
            text[i + 1] < 0xE000) {
            c = 0x10000 + ((c - 0xD800) << 10) + ((unsigned short)text[i + 1] - 0xDC00);
            ++i;
        }
        if (c < 0x80) {
            out[n++] = (char)c;
        } else if (c < 0x800) {
            out[n++] = (char)(0xC0 | (c >> 6));
            out[n++] = (char)(0x80 | (c & 0x3F));
        } else if (c < 0x10000) {
            out[n++] = (char)(0xE0 | (c >> 12));
            out[n++] = (char)(0x80 | ((c >> 6) & 0x3F));
            out[n++] = (char)(0x80 | (c & 0x3F));
        } else {
            out[n++] = (char)(0xF0 | (c >> 18));
            out[n++] = (char)(0x80 | ((c >> 12) & 0x3F));
            out[n++] = (char)(0x80 | ((c >> 6) & 0x3F));
            out[n++] = (char)(0x80 | (c & 0x3F));
        }
    }
    out[n] = 0;
    return out;
}

const char* MessageName(UINT message) {
    static char buffers[4][24];
    static int next;
    char* out = buffers[next];
    next = (next + 1) % 4;
    switch (message) {
    case WM_CREATE: return "WM_CREATE";
    case WM_DESTROY: return "WM_DESTROY";
    case WM_CLOSE: return "WM_CLOSE";
    case WM_QUIT: return "WM_QUIT";
    case WM_TIMER: return "WM_TIMER";
    case WM_COMMAND: return "WM_COMMAND";
    case WM_HOTKEY: return "WM_HOTKEY";
    default: break;
    }
    if (message >= WM_APP && message < WM_APP + 0x100) snprintf(out, 24, "WM_APP+%u", message - WM_APP);
    else if (message >= WM_USER && message < WM_USER + 0x100) snprintf(out, 24, "WM_USER+%u", message - WM_USER);
    else snprintf(out, 24, "0x%04X", message);
    return out;
}

const char* ErrorName(DWORD error) {
    switch (error) {
    case 0: return "ERROR_SUCCESS";
    case 2: return "ERROR_FILE_NOT_FOUND";
    case 3: return "ERROR_PATH_NOT_FOUND";
    case 5: return "ERROR_ACCESS_DENIED";
    case 6: return "ERROR_INVALID_HANDLE";
    case 87: return "ERROR_INVALID_PARAMETER";
    case 122: return "ERROR_INSUFFICIENT_BUFFER";
    case 161: return "ERROR_BAD_PATHNAME";
    case 183: return "ERROR_ALREADY_EXISTS";
    case 234: return "ERROR_MORE_DATA";
    case 288: return "ERROR_NOT_OWNER";
    case 998: return "ERROR_NOACCESS";
    case 1113: return "ERROR_NO_UNICODE_TRANSLATION";
    case 1400: return "ERROR_INVALID_WINDOW_HANDLE";
    case 1402: return "ERROR_INVALID_CURSOR_HANDLE";
    case 1408: return "ERROR_WINDOW_OF_OTHER_THREAD";
    case 1409: return "ERROR_HOTKEY_ALREADY_REGISTERED";
    case 1419: return "ERROR_HOTKEY_NOT_REGISTERED";
    case 1812: return "ERROR_RESOURCE_DATA_NOT_FOUND";
    case 1813: return "ERROR_RESOURCE_TYPE_NOT_FOUND";
    case 1814: return "ERROR_RESOURCE_NAME_NOT_FOUND";
    default: break;
    }
    static char buffers[4][16];
    static int next;
    char* out = buffers[next];
    next = (next + 1) % 4;
    snprintf(out, 16, "%lu", (unsigned long)error);
    return out;
}

ATOM RegisterProbeClass(LPCWSTR className, WNDPROC proc) {
    WNDCLASSW wc;
    memset(&wc, 0, sizeof wc);
    wc.lpfnWndProc = proc;
    wc.hInstance = g_probeInstance;
    wc.lpszClassName = className;
    return RegisterClassW(&wc);
}

HWND AwaitWindow(LPCWSTR className, LPCWSTR title) {
    for (int i = 0; i < 1000; ++i) {
        HWND found = FindWindowW(className, title);
        if (found) return found;
        Sleep(10);
    }
    Say("timed out waiting for the window %s \"%s\"", Text(className), Text(title));
    return NULL;
}

#ifdef _WIN32
void RemoveKeyTree(HKEY parent, LPCWSTR path) {
    HKEY key;
    if (RegOpenKeyExW(parent, path, 0, KEY_ALL_ACCESS, &key) != ERROR_SUCCESS) return;
    WCHAR name[512];
    // Children first; one that cannot go is stepped over.
    for (DWORD index = 0;;) {
        DWORD length = 512;
        if (RegEnumKeyExW(key, index, name, &length, NULL, NULL, NULL, NULL) != ERROR_SUCCESS) break;
        RemoveKeyTree(key, name);
        HKEY left;
        if (RegOpenKeyExW(key, name, 0, KEY_READ, &left) == ERROR_SUCCESS) {
            RegCloseKey(left);
            ++index;
        }
    }
    RegCloseKey(key);
    RegDeleteKeyW(parent, path);
}
#else
void RemoveKeyTree(HKEY, LPCWSTR) {}
#endif
