// The registry: opening and creating keys, and values of every type and of sizes from 0 to 300
// bytes read into buffers of 4 and 260 bytes: the result, the size the call gives back, and what
// the buffer holds afterwards (after ERROR_MORE_DATA it holds nothing defined: only the result and
// the size are compared then).
#include "probe.h"

#include <string.h>

static const WCHAR kProbeRoot[] = TEXT("Software\\PocketProbe");
static const WCHAR kProbeKey[] = TEXT("Software\\PocketProbe\\Registry");

#define UNTOUCHED 0xEE

static const char* TypeName(DWORD type) {
    switch (type) {
    case REG_NONE: return "REG_NONE";
    case REG_SZ: return "REG_SZ";
    case REG_EXPAND_SZ: return "REG_EXPAND_SZ";
    case REG_BINARY: return "REG_BINARY";
    case REG_DWORD: return "REG_DWORD";
    case REG_DWORD_BIG_ENDIAN: return "REG_DWORD_BIG_ENDIAN";
    case REG_MULTI_SZ: return "REG_MULTI_SZ";
    case REG_QWORD: return "REG_QWORD";
    default: break;
    }
    static char other[16];
    snprintf(other, sizeof other, "type %lu", (unsigned long)type);
    return other;
}

static const char* Disposition(DWORD disposition) {
    switch (disposition) {
    case REG_CREATED_NEW_KEY: return "created";
    case REG_OPENED_EXISTING_KEY: return "opened";
    case 0x77: return "untouched";
    default: return "other";
    }
}

static HKEY Create(HKEY parent, const WCHAR* path, const char* what) {
    HKEY key = NULL;
    DWORD disposition = 0x77;
    const LONG result = RegCreateKeyExW(parent, path, 0, NULL, 0, KEY_ALL_ACCESS, NULL, &key, &disposition);
    Say("RegCreateKeyExW %s: %s, %s", what, ErrorName((DWORD)result), Disposition(disposition));
    return result == ERROR_SUCCESS ? key : NULL;
}

static void Open(HKEY parent, const WCHAR* path, const char* what) {
    HKEY key = NULL;
    const LONG result = RegOpenKeyExW(parent, path, 0, KEY_READ, &key);
    Say("RegOpenKeyExW %s: %s", what, ErrorName((DWORD)result));
    if (result == ERROR_SUCCESS) RegCloseKey(key);
}

// The value's bytes: wide characters 'A' to 'Z' over and over, so that no string value ends in a
// terminator of its own, and none follows it either.
static BYTE g_data[400];

// Appends "<result> size N[, data ok|differs]" to `out`, and what follows the data in the
// buffer to `after`: "untouched", "a terminator" (one zero character), "changed at +k to 0xNN",
// or "-" when the call gave no data.
static void Read(char* out, char* after, size_t room, HKEY key, const WCHAR* name, DWORD bufferSize,
                 DWORD valueSize) {
    BYTE buffer[300];
    memset(buffer, UNTOUCHED, sizeof buffer);
    DWORD size = bufferSize;
    DWORD type = 0x77;
    const LONG result = RegQueryValueExW(key, name, NULL, &type, bufferSize ? buffer : NULL, &size);
    size_t used = strlen(out);
    snprintf(out + used, room - used, "%s size %lu", ErrorName((DWORD)result), (unsigned long)size);
    if (!bufferSize) return;
    used = strlen(after);
    if (result != ERROR_SUCCESS) {
        snprintf(after + used, room - used, "%lu bytes: -", (unsigned long)bufferSize);
        return;
    }
    const DWORD stored = size < valueSize ? size : valueSize;
    used = strlen(out);
    snprintf(out + used, room - used, ", data %s", memcmp(buffer, g_data, stored) == 0 ? "ok" : "differs");
    int changed = -1;
    for (DWORD i = size; i < bufferSize + 8 && changed < 0; ++i)
        if (buffer[i] != UNTOUCHED) changed = (int)i;
    BOOL terminator = changed == (int)size && size + 2 <= bufferSize && buffer[size] == 0 && buffer[size + 1] == 0;
    for (DWORD i = size + 2; terminator && i < bufferSize + 8; ++i) terminator = buffer[i] == UNTOUCHED;
    used = strlen(after);
    if (changed < 0)
        snprintf(after + used, room - used, "%lu bytes: untouched", (unsigned long)bufferSize);
    else if (terminator)
        snprintf(after + used, room - used, "%lu bytes: a terminator", (unsigned long)bufferSize);
    else
        snprintf(after + used, room - used, "%lu bytes: changed at +%d to 0x%02X", (unsigned long)bufferSize,
                 changed - (int)size, buffer[changed]);
}

static void Values(HKEY key) {
    static const DWORD types[] = {REG_NONE,  REG_SZ,    REG_EXPAND_SZ,        REG_BINARY,
                                  REG_DWORD, REG_QWORD, REG_DWORD_BIG_ENDIAN, REG_MULTI_SZ};
    static const DWORD sizes[] = {0, 1, 2, 3, 4, 5, 6, 8, 100, 258, 259, 260, 261, 262, 300};
    for (size_t i = 0; i < sizeof g_data; i += 2) {
        g_data[i] = (BYTE)('A' + (i / 2) % 26);
        g_data[i + 1] = 0;
    }
    for (size_t t = 0; t < sizeof types / sizeof types[0]; ++t) {
        for (size_t s = 0; s < sizeof sizes / sizeof sizes[0]; ++s) {
            WCHAR name[16];
            wsprintfW(name, TEXT("v%lu_%lu"), (unsigned long)types[t], (unsigned long)sizes[s]);
            char line[400];
            char after[400] = "";
            const LONG set = RegSetValueExW(key, name, 0, types[t], g_data, sizes[s]);
            snprintf(line, sizeof line, "%s of %lu bytes: set %s; no buffer: ", TypeName(types[t]),
                     (unsigned long)sizes[s], ErrorName((DWORD)set));
            Read(line, after, sizeof after, key, name, 0, sizes[s]);
            strncat(line, "; 4 bytes: ", sizeof line - strlen(line) - 1);
            Read(line, after, sizeof after, key, name, 4, sizes[s]);
            strncat(line, "; 260 bytes: ", sizeof line - strlen(line) - 1);
            strncat(after, "; ", sizeof after - strlen(after) - 1);
            Read(line, after, sizeof after, key, name, 260, sizes[s]);
            Say("%s", line);
            Say("%s of %lu bytes, after the data in buffers of %s", TypeName(types[t]), (unsigned long)sizes[s], after);
        }
    }
}

static void Query(HKEY key, const WCHAR* name, const char* what) {
    BYTE buffer[16];
    memset(buffer, UNTOUCHED, sizeof buffer);
    DWORD size = sizeof buffer;
    DWORD type = 0x77;
    const LONG result = RegQueryValueExW(key, name, NULL, &type, buffer, &size);
    if (result == ERROR_SUCCESS)
        Say("RegQueryValueExW %s: %s, %s, size %lu, first byte 0x%02X", what, ErrorName((DWORD)result), TypeName(type),
            (unsigned long)size, buffer[0]);
    else
        Say("RegQueryValueExW %s: %s, type %s, size %lu", what, ErrorName((DWORD)result),
            type == 0x77 ? "untouched" : TypeName(type), (unsigned long)size);
}

int ProbeMain(const char*) {
    RemoveKeyTree(HKEY_CURRENT_USER, kProbeRoot);

    HKEY key = Create(HKEY_CURRENT_USER, kProbeKey, "of a new key");
    HKEY again = Create(HKEY_CURRENT_USER, kProbeKey, "of the same key");
    RegCloseKey(again);
    HKEY deep = Create(key, TEXT("Deep\\Er\\Key"), "of three new levels");
    RegCloseKey(deep);
    Open(key, TEXT("Deep\\Er"), "of a level made on the way");
    HKEY made = Create(key, TEXT("Deep\\Er"), "of a level made on the way");
    RegCloseKey(made);
    made = Create(key, TEXT("DEEP\\ER\\KEY"), "in other case");
    RegCloseKey(made);
    made = Create(key, TEXT("Trailing\\"), "with a trailing backslash");
    RegCloseKey(made);
    made = Create(key, TEXT("\\Leading"), "with a leading backslash");
    if (made) RegCloseKey(made);
    Open(key, TEXT("Missing"), "of a missing key");
    Open(key, TEXT("Deep\\Missing\\Key"), "of a missing path");
    WCHAR longName[300];
    for (int i = 0; i < 256; ++i) longName[i] = (WCHAR)('a' + i % 26);
    longName[255] = 0;
    made = Create(key, longName, "with a name of 255 characters");
    if (made) RegCloseKey(made);

    Values(key);

    // Names, the default value, missing values, and arguments the calls refuse.
    const DWORD one = 1;
    RegSetValueExW(key, TEXT("MixedCase"), 0, REG_DWORD, (const BYTE*)&one, sizeof one);
    Query(key, TEXT("MIXEDCASE"), "of a name in other case");
    RegSetValueExW(key, NULL, 0, REG_SZ, g_data, 6);
    Query(key, TEXT(""), "of the default value by an empty name");
    Query(key, NULL, "of the default value by NULL");
    Query(key, TEXT("Missing"), "of a missing value");
    RegSetValueExW(key, TEXT("MixedCase"), 0, REG_BINARY, g_data, 3);
    Query(key, TEXT("MixedCase"), "after a rewrite with another type");
    DWORD size = 4;
    BYTE buffer[4];
    LONG result = RegQueryValueExW(key, TEXT("MixedCase"), NULL, NULL, buffer, NULL);
    Say("RegQueryValueExW with a buffer and no size: %s", ErrorName((DWORD)result));
    DWORD reserved = 0;
    result = RegQueryValueExW(key, TEXT("MixedCase"), &reserved, NULL, buffer, &size);
    Say("RegQueryValueExW with lpReserved: %s", ErrorName((DWORD)result));
    result = RegSetValueExW(key, TEXT("NoData"), 0, REG_BINARY, NULL, 0);
    Say("RegSetValueExW without data, size 0: %s", ErrorName((DWORD)result));
    Query(key, TEXT("NoData"), "of it");
    result = RegDeleteValueW(key, TEXT("mixedcase"));
    Say("RegDeleteValueW: %s", ErrorName((DWORD)result));
    result = RegDeleteValueW(key, TEXT("MixedCase"));
    Say("RegDeleteValueW again: %s", ErrorName((DWORD)result));

    Say("RegCloseKey: %s", ErrorName((DWORD)RegCloseKey(key)));
    size = 4;
    result = RegQueryValueExW(key, TEXT("v4_4"), NULL, NULL, buffer, &size);
    Say("RegQueryValueExW on the closed key: %s", ErrorName((DWORD)result));
    Say("RegCloseKey again: %s", ErrorName((DWORD)RegCloseKey(key)));
    Say("RegCloseKey(HKEY_CURRENT_USER): %s", ErrorName((DWORD)RegCloseKey(HKEY_CURRENT_USER)));

    RemoveKeyTree(HKEY_CURRENT_USER, kProbeRoot);
    return 0;
}
