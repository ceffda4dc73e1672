// Strings: LoadStringW into buffers too small (and the zero-sized buffer that asks for a pointer
// instead), wsprintfW with the formats the programs use and the ones the platform documents,
// GetClassNameW cutting long class names to 32- and 64-character buffers, and the wide C runtime
// as the programs use it (class names compared, a folder cut at its last backslash, a name added).
#include "probe.h"

#include <string.h>

#include "probes_rc.h"

#define SENTINEL ((WCHAR)0x2766)  // a character no call writes

// The buffer after a call: "text" up to the terminator, or where it is missing.
static const char* Contents(const WCHAR* buffer, int size) {
    static char out[600];
    int end = 0;
    while (end < size && buffer[end] && buffer[end] != SENTINEL) ++end;
    const char* how = end == size ? "no terminator" : (buffer[end] == 0 ? "terminated" : "untouched from there");
    snprintf(out, sizeof out, "\"%s\" (%s at %d)", Text(buffer, end), how, end);
    return out;
}

static void Load(UINT id, const char* name, int size) {
    WCHAR buffer[128];
    for (int i = 0; i < 128; ++i) buffer[i] = SENTINEL;
    const int result = LoadStringW(g_probeInstance, id, buffer, size);
    if (size == 0) {
        // The buffer receives a pointer to the resource's own characters.
        const WCHAR* text = NULL;
        memcpy(&text, buffer, sizeof text);
        Say("LoadStringW(%s, buffer of 0): %d, pointer to \"%s\"", name, result, result > 0 ? Text(text, result) : "");
        return;
    }
    Say("LoadStringW(%s, buffer of %d): %d, %s; past the buffer %s", name, size, result, Contents(buffer, size),
        buffer[size] == SENTINEL ? "untouched" : "written");
}

static void LoadStrings() {
    static const struct {
        UINT id;
        const char* name;
    } ids[] = {{IDS_SHORT, "IDS_SHORT"},
               {IDS_LONG, "IDS_LONG"},
               {IDS_JAPANESE, "IDS_JAPANESE"},
               {IDS_ONE, "IDS_ONE"},
               {IDS_MISSING, "a missing id"}};
    static const int sizes[] = {0, 1, 2, 5, 6, 100};
    for (size_t i = 0; i < sizeof ids / sizeof ids[0]; ++i)
        for (size_t s = 0; s < sizeof sizes / sizeof sizes[0]; ++s) Load(ids[i].id, ids[i].name, sizes[s]);
}

static WCHAR g_out[1100];

#define FORMAT(label, ...)                                              \
    do {                                                                \
        for (int i_ = 0; i_ < 1100; ++i_) g_out[i_] = SENTINEL;         \
        const int n_ = wsprintfW(g_out, __VA_ARGS__);                   \
        Say("wsprintfW %s: %d \"%s\"", label, n_, Text(g_out, n_ + 1)); \
    } while (0)

static void Formats() {
    // The battery monitor's notification text, from its string table and with its own arguments.
    WCHAR format[128];
    LoadStringW(g_probeInstance, IDS_JAPANESE, format, 128);
    FORMAT("of a loaded Japanese format", format, 57);
    FORMAT("of the monitor's shape", TEXT("<P>%d %%%s<BR>%d h %d min</P><input name='cmd:%d'>"), 100, TEXT(" (AC)"), 3,
           7, 1001);
    FORMAT("%d", TEXT("[%d] [%d] [%d] [%d]"), 0, -1, 2147483647, (int)0x80000000);
    FORMAT("%i %u", TEXT("[%i] [%u] [%u]"), -12, 4294967295u, 0u);
    FORMAT("%x %X", TEXT("[%x] [%X] [%x]"), 255u, 0xABCDEFu, 0u);
    FORMAT("widths", TEXT("[%5d] [%-5d] [%05d] [%08X] [%-08X]"), -42, 42, -42, 0x1Fu, 0x1Fu);
    FORMAT("precisions", TEXT("[%.3d] [%.0d] [%5.3d] [%.3x] [%.5u] [%.3d]"), 7, 0, -7, 10u, 12u, -7);
    FORMAT("precisions and zeros", TEXT("[%05.3d] [%08.3x] [%010.5d] [%-6.3d]"), -7, 255u, -42, -7);
    FORMAT("#", TEXT("[%#x] [%#X] [%#x] [%#08x] [%#8x] [%-#8x] [%#.4x] [%#5X]"), 255u, 255u, 0u, 255u, 255u, 255u,
           255u, 0u);
    FORMAT("h and l", TEXT("[%hd] [%hu] [%hx] [%ld] [%lu] [%lx]"), 65537, 65535 + 3, 0x12345u, -5L, 5UL, 0xFFUL);
    FORMAT("%s", TEXT("[%s] [%.2s] [%5s] [%-5s] [%s]"), TEXT("abc"), TEXT("abc"), TEXT("ab"), TEXT("ab"), TEXT(""));
    FORMAT("a NULL string", TEXT("[%s]"), (const WCHAR*)NULL);
    FORMAT("8-bit strings", TEXT("[%hs] [%S] [%.3hs]"), "narrow", "wide?", "abcdef");
    FORMAT("16-bit strings", TEXT("[%ls] [%ws] [%lS]"), TEXT("one"), TEXT("two"), TEXT("three"));
    FORMAT("characters", TEXT("[%c] [%hc] [%C] [%lc] [%3c] [%-3c]"), 'A', 'B', 'C', 0x3042, 'x', 'y');
    FORMAT("percent signs", TEXT("[%%] [100%%]"));
    FORMAT("an unknown type", TEXT("[%q] [%-5q] [%y%d] [%+d] [%*d] [%f]"), 9);
    FORMAT("a lone percent sign at the end", TEXT("end %"));
    FORMAT("%p", TEXT("[%p]"), (void*)0x1234);

    // The output stops at 1024 characters with the terminator.
    WCHAR longText[1100];
    for (int i = 0; i < 1099; ++i) longText[i] = (WCHAR)('a' + i % 26);
    longText[1099] = 0;
    for (int i = 0; i < 1100; ++i) g_out[i] = SENTINEL;
    const int n = wsprintfW(g_out, TEXT("%s"), longText);
    int length = 0;
    while (length < 1100 && g_out[length] != 0 && g_out[length] != SENTINEL) ++length;
    Say("wsprintfW of 1099 characters: %d, length %d, %s", n, length,
        length < 1100 && g_out[length] == 0 ? "terminated" : "not terminated");
}

static LRESULT CALLBACK Proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

static void ClassNames() {
    static const int lengths[] = {31, 32, 33, 63, 64, 65};
    for (size_t l = 0; l < sizeof lengths / sizeof lengths[0]; ++l) {
        WCHAR name[80];
        const int length = lengths[l];
        for (int i = 0; i < length; ++i) name[i] = (WCHAR)(i < 10 ? TEXT("ProbeClass")[i] : 'a' + (i + length) % 26);
        name[length] = 0;
        RegisterProbeClass(name, Proc);
        HWND hwnd = CreateWindowExW(0, name, TEXT(""), WS_POPUP, 0, 0, 1, 1, NULL, NULL, g_probeInstance, NULL);
        static const int sizes[] = {32, 64, 1, 0};
        for (size_t s = 0; s < sizeof sizes / sizeof sizes[0]; ++s) {
            WCHAR buffer[80];
            for (int i = 0; i < 80; ++i) buffer[i] = SENTINEL;
            SetLastError(0);
            const int result = GetClassNameW(hwnd, buffer, sizes[s]);
            const DWORD error = GetLastError();
            if (sizes[s] == 0)
                Say("GetClassNameW of %d characters into 0: %d, %s; buffer %s", length, result, ErrorName(error),
                    buffer[0] == SENTINEL ? "untouched" : "written");
            else
                Say("GetClassNameW of %d characters into %d: %d, %s; %s; past the buffer %s", length, sizes[s], result,
                    ErrorName(error), Contents(buffer, sizes[s]), buffer[sizes[s]] == SENTINEL ? "untouched" : "written");
        }
        DestroyWindow(hwnd);
        if (l == 0) {
            WCHAR buffer[80];
            SetLastError(0);
            const int result = GetClassNameW(hwnd, buffer, 80);
            const DWORD error = GetLastError();
            Say("GetClassNameW of a destroyed window: %d, %s", result, ErrorName(error));
        }
    }
}

static const char* Sign(int value) { return value < 0 ? "negative" : (value > 0 ? "positive" : "0"); }

static void WideRuntime() {
    static const struct {
        const WCHAR* a;
        const WCHAR* b;
    } pairs[] = {{TEXT("TUNELARK"), TEXT("TUNELARK")}, {TEXT("TUNELARK"), TEXT("TUNELARKMIDI")},
                 {TEXT("TUNELARKMIDI"), TEXT("TUNELARK")}, {TEXT("Tunelark"), TEXT("TUNELARK")},
                 {TEXT(""), TEXT("Dialog")}, {TEXT("\x8868"), TEXT("z")}};
    for (size_t i = 0; i < sizeof pairs / sizeof pairs[0]; ++i)
        Say("wcscmp(\"%s\", \"%s\"): %s", Text(pairs[i].a), Text(pairs[i].b), Sign(wcscmp(pairs[i].a, pairs[i].b)));
    static const WCHAR* const paths[] = {TEXT("\\Windows\\rcbridge.exe"), TEXT("rcbridge.exe"), TEXT("\\"),
                                         TEXT("\\a\\b\\")};
    for (size_t i = 0; i < sizeof paths / sizeof paths[0]; ++i) {
        WCHAR path[64];
        wcscpy(path, paths[i]);
        WCHAR* slash = wcsrchr(path, '\\');
        if (slash) slash[1] = 0;
        Say("wcsrchr(\"%s\", backslash): %s; cut after it and wcscat beep.wav: \"%s\"", Text(paths[i]),
            slash ? "found" : "NULL", Text(wcscat(path, TEXT("beep.wav"))));
    }
}

int ProbeMain(const char*) {
    LoadStrings();
    Formats();
    ClassNames();
    WideRuntime();
    return 0;
}
