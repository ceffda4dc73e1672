// The setup launcher's own calls on a desktop PC, run from its own folder with a setup.ini beside
// it: its module path into buffers too small (where the cut falls, the terminator, the last
// error), the registry values it can meet read into a 260-byte buffer, the attributes of folders
// and drive roots, and the current folder a process it creates sees. The test installs it in a
// folder whose name is one of the code page's own characters, under 1252 and under 932.
#include "probe.h"

#include <string.h>

static const WCHAR kKey[] = TEXT("Software\\PocketProbe\\Launcher");

// Bytes as text: printable ASCII as it is, anything else (the code page's own characters) as \xNN.
static const char* Escaped(const char* bytes, int count) {
    static char buffers[2][2048];
    static int next;
    char* out = buffers[next];
    next = (next + 1) % 2;
    size_t n = 0;
    for (int i = 0; i < count && n + 5 < sizeof buffers[0]; ++i) {
        const unsigned char b = (unsigned char)bytes[i];
        if (b >= 0x20 && b < 0x7F) out[n++] = (char)b;
        else n += (size_t)snprintf(out + n, 5, "\\x%02X", b);
    }
    out[n] = 0;
    return out;
}

// The folder of a path, cut at its last backslash as the launcher cuts it: double-byte characters
// are stepped over whole, since their trail byte may be a backslash.
static void CutToFolder(char* path) {
    char* separator = NULL;
    for (char* p = path; *p; ++p) {
        if (*p == '\\') separator = p;
        else if (IsDBCSLeadByte((BYTE)*p) && p[1]) ++p;
    }
    if (separator) *separator = 0;
}

static void ModulePath(char* own) {
    const DWORD length = GetModuleFileNameA(NULL, own, MAX_PATH);
    Say("GetModuleFileNameA(MAX_PATH): %lu, %s", length, Escaped(own, (int)length));
    char buffer[MAX_PATH];
    SetLastError(12345);
    const DWORD none = GetModuleFileNameA(NULL, buffer, 0);
    Say("GetModuleFileNameA(0): %lu, error %s", none, ErrorName(GetLastError()));
    // From room to spare down to cuts inside the folder's name, one byte at a time.
    for (DWORD size = length + 1; size + 14 > length && size > 0; --size) {
        memset(buffer, '#', sizeof buffer);
        SetLastError(12345);
        const DWORD got = GetModuleFileNameA(NULL, buffer, size);
        const DWORD error = GetLastError();
        Say("GetModuleFileNameA(%lu): %lu, %s, then %s, error %s", size, got, Escaped(buffer, (int)got),
            buffer[got] == 0 ? "a terminator" : (buffer[got] == '#' ? "nothing" : "other"), ErrorName(error));
    }
}

static void Attributes(const char* ownFolder) {
    char withSlash[MAX_PATH + 2];
    snprintf(withSlash, sizeof withSlash, "%s\\", ownFolder);
    const char* const paths[] = {ownFolder, withSlash, "C:\\", "C:", "C:\\probe", "\\probe", ".\\setup.ini",
                                 "setup.ini", "C:\\PROBE", "C:\\probe\\missing", "C:\\probe\\missing\\deeper"};
    for (const char* path : paths) {
        SetLastError(12345);
        const DWORD attributes = GetFileAttributesA(path);
        Say("GetFileAttributesA(%s): 0x%lX, error %s", Escaped(path, (int)strlen(path)), attributes,
            ErrorName(GetLastError()));
    }
}

// A value written as `units` 16-bit characters: `text`, or else `fill` repeated with a zero at
// `zeroAt` (none when negative; what follows the value is never a zero then).
struct Value {
    const char* what;
    DWORD type;
    int units;
    WCHAR fill;
    int zeroAt;
    const WCHAR* text;
};

// Writes each value through `key` and reads it back through `readable`.
static void RegistryValues(HKEY key, HKEY readable) {
    static const WCHAR multi[] = {'a', 0, 'b', 0, 0};
    const DWORD number = 0x12345678;
    const WCHAR kanji = 0x8868;  // 表: two bytes in 932, '?' in 1252
    const Value values[] = {
        {"an empty string", REG_SZ, 1, 'a', 0, NULL},
        {"a string of no bytes", REG_SZ, 0, 'a', 0, NULL},
        {"258 letters and the terminator", REG_SZ, 259, 'a', 258, NULL},
        {"259 letters and the terminator", REG_SZ, 260, 'a', 259, NULL},
        {"260 letters and the terminator", REG_SZ, 261, 'a', 260, NULL},
        {"259 letters unterminated", REG_SZ, 259, 'a', -1, NULL},
        {"260 letters unterminated", REG_SZ, 260, 'a', -1, NULL},
        {"261 letters unterminated", REG_SZ, 261, 'a', -1, NULL},
        {"260 letters whose size leaves out the terminator", REG_SZ, 260, 'b', 260, NULL},
        {"129 kanji and the terminator", REG_SZ, 130, kanji, 129, NULL},
        {"130 kanji and the terminator", REG_SZ, 131, kanji, 130, NULL},
        {"an expandable string", REG_EXPAND_SZ, 16, 0, -1, TEXT("%SystemDrive%\\x")},
        {"a multi-string", REG_MULTI_SZ, 5, 0, -1, multi},
        {"a DWORD", REG_DWORD, 2, 0, -1, (const WCHAR*)&number},
        {"300 binary bytes", REG_BINARY, 150, 'a', -1, NULL},
        {"REG_NONE of no bytes", REG_NONE, 0, 'a', -1, NULL},
    };
    static WCHAR filled[600];
    for (const Value& v : values) {
        for (int i = 0; i < 600; ++i) filled[i] = i == v.zeroAt ? 0 : v.fill;
        const BYTE* data = (const BYTE*)(v.text ? v.text : filled);
        RegSetValueExW(key, TEXT("value"), 0, v.type, data, (DWORD)v.units * sizeof(WCHAR));

        DWORD type = 0xDEAD;
        DWORD size = 0;
        const LONG measured = RegQueryValueExA(readable, "value", NULL, &type, NULL, &size);
        Say("RegQueryValueExA(%s, no buffer): %s, size %lu", v.what, ErrorName((DWORD)measured), size);

        char buffer[MAX_PATH];
        memset(buffer, '#', sizeof buffer);
        type = 0xDEAD;
        size = MAX_PATH;
        const LONG result = RegQueryValueExA(readable, "value", NULL, &type, (BYTE*)buffer, &size);
        const int shown = result == ERROR_SUCCESS ? (int)size : 0;
        int untouched = 1;
        for (int i = 0; i < MAX_PATH; ++i) untouched &= buffer[i] == '#';
        Say("RegQueryValueExA(%s, 260 bytes): %s, type %lu, size %lu, %s%s", v.what, ErrorName((DWORD)result), type,
            size, result == ERROR_SUCCESS ? Escaped(buffer, shown < 24 ? shown : 24) : (untouched ? "untouched" : "written"),
            result != ERROR_SUCCESS || shown >= MAX_PATH ? ""
                : (buffer[shown] == 0 ? ", then a terminator" : ", then nothing"));
    }
    const LONG missing = RegQueryValueExA(readable, "missing", NULL, NULL, NULL, NULL);
    Say("RegQueryValueExA(a missing value): %s", ErrorName((DWORD)missing));
}

// What a process this one creates sees: its current folder, and whether ".\setup.ini" is there.
static int Child() {
    char folder[MAX_PATH];
    const DWORD length = GetCurrentDirectoryA(MAX_PATH, folder);
    SetLastError(12345);
    const DWORD attributes = GetFileAttributesA(".\\setup.ini");
    char seen[600];
    snprintf(seen, sizeof seen, "current folder %s (%lu), .\\setup.ini 0x%lX error %s", Escaped(folder, (int)length),
             length, attributes, ErrorName(GetLastError()));
    HKEY key;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, kKey, 0, NULL, 0, KEY_ALL_ACCESS, NULL, &key, NULL) != ERROR_SUCCESS)
        return 1;
    WCHAR wide[600];
    const int units = MultiByteToWideChar(CP_ACP, 0, seen, -1, wide, 600);
    RegSetValueExW(key, TEXT("child"), 0, REG_SZ, (const BYTE*)wide, (DWORD)units * sizeof(WCHAR));
    RegCloseKey(key);
    return 0;
}

static void Create(HKEY key, const char* own, const char* folder) {
    STARTUPINFOA startup;
    memset(&startup, 0, sizeof startup);
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process;
    memset(&process, 0, sizeof process);
    char commandLine[] = "probe child";
    SetLastError(12345);
    const BOOL created = CreateProcessA(own, commandLine, NULL, NULL, FALSE, 0, NULL, folder, &startup, &process);
    const char* name = folder ? Escaped(folder, (int)strlen(folder)) : "NULL";
    if (!created) {
        Say("CreateProcessA in %s: 0, error %s", name, ErrorName(GetLastError()));
        return;
    }
    char seen[600] = "";
    for (int i = 0; i < 1000 && !seen[0]; ++i) {
        DWORD size = sizeof seen;
        if (RegQueryValueExA(key, "child", NULL, NULL, (BYTE*)seen, &size) != ERROR_SUCCESS) {
            seen[0] = 0;
            Sleep(10);
        }
    }
    RegDeleteValueW(key, TEXT("child"));
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    Say("CreateProcessA in %s: 1; the child: %s", name, seen[0] ? seen : "said nothing within 10 s");
}

int ProbeMain(const char* role) {
    if (!strcmp(role, "child")) return Child();
    Say("GetACP: %u", GetACP());
    char own[MAX_PATH];
    ModulePath(own);
    char folder[MAX_PATH];
    strcpy(folder, own);
    CutToFolder(folder);
    char current[MAX_PATH];
    const DWORD length = GetCurrentDirectoryA(MAX_PATH, current);
    Say("GetCurrentDirectoryA: %lu, %s", length, Escaped(current, (int)length));
    SetLastError(12345);
    const DWORD needed = GetCurrentDirectoryA(3, current);
    Say("GetCurrentDirectoryA(3 bytes): %lu, error %s", needed, ErrorName(GetLastError()));
    Attributes(folder);

    HKEY key;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, kKey, 0, NULL, 0, KEY_ALL_ACCESS, NULL, &key, NULL) != ERROR_SUCCESS) {
        Say("RegCreateKeyExW failed");
        return 1;
    }
    // The launcher opens its key with the 8-bit call, for reading, and queries through that handle.
    HKEY readable;
    const LONG opened = RegOpenKeyExA(HKEY_CURRENT_USER, "software\\POCKETPROBE\\launcher", 0, KEY_READ, &readable);
    Say("RegOpenKeyExA(the key, another case, KEY_READ): %s", ErrorName((DWORD)opened));
    HKEY missing;
    const LONG absent = RegOpenKeyExA(HKEY_CURRENT_USER, "Software\\PocketProbe\\Missing", 0, KEY_READ, &missing);
    Say("RegOpenKeyExA(a missing key): %s", ErrorName((DWORD)absent));
    if (opened == ERROR_SUCCESS) {
        RegistryValues(key, readable);
        RegCloseKey(readable);
    }
    char withSlash[MAX_PATH + 2];
    snprintf(withSlash, sizeof withSlash, "%s\\", folder);
    const char* const folders[] = {folder, withSlash, "C:\\", "C:", NULL, "probe", "C:\\probe\\missing"};
    for (const char* f : folders) Create(key, own, f);
    RegCloseKey(key);
    RemoveKeyTree(HKEY_CURRENT_USER, TEXT("Software\\PocketProbe"));
    return 0;
}
