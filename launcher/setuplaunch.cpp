// setuplaunch: starts the Windows CE Application Manager with the bundle's setup.ini, which lies
// beside this program. Shows nothing, waits for nothing, and always ends with 0.
#include <windows.h>

static const char kAppManagerKey[] = "software\\Microsoft\\Windows\\CurrentVersion\\App Paths\\CEAppMgr.exe";

// Reads the Application Manager's full path into `path` (MAX_PATH bytes). FALSE when it is not
// registered, or when what the registry gave cannot be used as it stands: a failed query leaves
// the buffer undefined, and a value that fills the buffer has no terminator.
static BOOL LauncherReadAppPath(char* path) {
    for (int i = 0; i < MAX_PATH; ++i) path[i] = '\0';

    HKEY key = NULL;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kAppManagerKey, 0, KEY_READ, &key) != ERROR_SUCCESS) return FALSE;
    DWORD type = 0;
    DWORD size = MAX_PATH;
    LONG result = RegQueryValueExA(key, NULL, NULL, &type, (LPBYTE)path, &size);
    RegCloseKey(key);

    if (result != ERROR_SUCCESS || path[MAX_PATH - 1] != '\0') return FALSE;
    return path[0] != '\0';
}

// Ends `path` at its last backslash. A double-byte character is stepped over whole: its trail
// byte may be 0x5C (Shift-JIS) and is no separator.
static void LauncherCutToFolder(char* path) {
    char* separator = NULL;
    for (char* p = path; *p != '\0'; ++p) {
        if (*p == '\\')
            separator = p;
        else if (IsDBCSLeadByte((BYTE)*p) && p[1] != '\0')
            ++p;
    }
    if (separator == NULL) return;
    // At a drive's root the backslash stays: "D:" alone names the current folder on drive D,
    // which need not be its root. A colon that is the trail byte of a double-byte character
    // makes no drive.
    if (separator == path + 2 && path[1] == ':' && !IsDBCSLeadByte((BYTE)path[0])) ++separator;
    *separator = '\0';
}

// Room for the module path. A path cut to fit comes back shorter than the buffer when the cut
// falls inside a character: the rest of the character is dropped and a terminator written, with
// no error (Wine, under code page 932). One character is at most 4 bytes, so with this room past
// MAX_PATH any cut path still comes back at least MAX_PATH long.
#define MODULE_PATH_ROOM (MAX_PATH + 4)

// The folder this program was started from, without a trailing backslash except at a drive's
// root ("D:\"), in a buffer of MODULE_PATH_ROOM bytes. FALSE when the module path is too long to
// be used (it may have come back cut, terminated or not) or the folder cannot be seen.
static BOOL LauncherFindOwnFolder(HINSTANCE instance, char* folder) {
    DWORD length = GetModuleFileNameA(instance, folder, MODULE_PATH_ROOM);
    if (length == 0 || length >= MAX_PATH) return FALSE;
    LauncherCutToFolder(folder);
    return GetFileAttributesA(folder) != INVALID_FILE_ATTRIBUTES;
}

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    char appPath[MAX_PATH];
    if (!LauncherReadAppPath(appPath)) return 0;

    char folder[MODULE_PATH_ROOM];
    if (!LauncherFindOwnFolder(instance, folder)) return 0;

    STARTUPINFOA startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process = {};
    // CreateProcess may write into the command line, so it gets a copy of its own.
    char commandLine[] = "/register .\\setup.ini";
    CreateProcessA(appPath, commandLine, NULL, NULL, FALSE, 0, NULL, folder, &startup, &process);
    // The Application Manager runs on alone; its handles go when this process ends.
    return 0;
}
