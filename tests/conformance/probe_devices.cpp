// What the device programs ask of the machine: the wave-out volume of device 0, sounds played from
// a file beside the program (found as the bridge finds it) to their end or not, the display
// driver's escapes through the screen's device context, the version, the screen, stock objects and
// the tick count, and icons loaded, kept and destroyed. The test puts a short WAV, beep.wav,
// beside the probe; the display driver has no power escapes, as Wine's has none.
#include "probe.h"

#include <mmsystem.h>
#include <string.h>

#include "probes_rc.h"

#define QUERY_ESCAPE_SUPPORT 8
#define SET_POWER_MANAGEMENT 6147
#define GET_POWER_MANAGEMENT 6148

static void Volume() {
    DWORD volume = 0x12345678;
    MMRESULT result = waveOutGetVolume(0, &volume);
    Say("waveOutGetVolume(0): %u", result);
    static const DWORD written[] = {0x40008000, 0xFFFF0000, 0};
    for (DWORD value : written) {
        result = waveOutSetVolume(0, value);
        volume = 0x12345678;
        const MMRESULT read = waveOutGetVolume(0, &volume);
        Say("waveOutSetVolume(0, 0x%08lX): %u; read back: %u, 0x%08lX", value, result, read, volume);
    }
}

// The probe's own path, with its file name replaced by `name`, as the bridge builds its sound's.
static void Beside(const WCHAR* name, WCHAR* path) {
    GetModuleFileNameW(NULL, path, MAX_PATH);
    WCHAR* slash = wcsrchr(path, '\\');
    if (slash) slash[1] = 0;
    wcscat(path, name);
}

static void ModulePath() {
    WCHAR path[MAX_PATH];
    const DWORD length = GetModuleFileNameW(NULL, path, MAX_PATH);
    const WCHAR* slash = wcsrchr(path, '\\');
    Say("GetModuleFileNameW(MAX_PATH): ends in %s, terminated %d", Text(slash ? slash + 1 : path),
        length < MAX_PATH && path[length] == 0);
    Say("GetFileAttributesW of it: 0x%lX", GetFileAttributesW(path));
    // Buffers the path does not fit: how long, whether terminated, and the last error.
    for (DWORD less = 0; less <= 2; ++less) {
        WCHAR cut[MAX_PATH];
        for (int i = 0; i < MAX_PATH; ++i) cut[i] = '#';
        SetLastError(12345);
        const DWORD got = GetModuleFileNameW(NULL, cut, length - less);
        const DWORD error = GetLastError();
        Say("GetModuleFileNameW(its length - %lu): length - %ld, then %s, error %s", less, (long)(length - got),
            cut[got] == 0 ? "a terminator" : (cut[got] == '#' ? "nothing" : "other"), ErrorName(error));
    }
}

static void Sounds() {
    static const struct {
        const WCHAR* name;
        DWORD flags;
        const char* what;
    } plays[] = {{TEXT("beep.wav"), SND_FILENAME, "beep.wav, to its end"},
                 {TEXT("beep.wav"), SND_FILENAME | SND_ASYNC, "beep.wav, not waiting"},
                 {TEXT("missing.wav"), SND_FILENAME, "a missing file, to its end"},
                 {TEXT("missing.wav"), SND_FILENAME | SND_ASYNC, "a missing file, not waiting"}};
    for (const auto& play : plays) {
        WCHAR path[MAX_PATH + 16];
        Beside(play.name, path);
        SetLastError(12345);
        const DWORD attributes = GetFileAttributesW(path);
        Say("GetFileAttributesW of %s: 0x%lX, error %s", Text(play.name), attributes, ErrorName(GetLastError()));
        const BOOL played = PlaySoundW(path, NULL, play.flags);
        Say("PlaySoundW of %s: %d", play.what, played);
    }
    Sleep(300);  // the last sound not waited for ends
    Say("PlaySoundW(NULL) stops: %d", PlaySoundW(NULL, NULL, 0));
}

static void Display() {
    HDC screen = GetDC(NULL);
    Say("GetDC(NULL): %s", screen ? "a device context" : "NULL");
    static const DWORD asked[] = {SET_POWER_MANAGEMENT, GET_POWER_MANAGEMENT, 0x7FFF};
    for (DWORD escape : asked) {
        const int answer = ExtEscape(screen, QUERY_ESCAPE_SUPPORT, sizeof escape, (LPCSTR)&escape, 0, NULL);
        Say("ExtEscape(QUERYESCSUPPORT, %lu): %d", escape, answer);
    }
    DWORD record[3] = {12, 1, 1};
    const int got = ExtEscape(screen, GET_POWER_MANAGEMENT, 0, NULL, sizeof record, (LPSTR)record);
    Say("ExtEscape(GETPOWERMANAGEMENT) of a driver without it: %d, record %lu %lu %lu", got, record[0], record[1],
        record[2]);
    Say("ReleaseDC: %d", ReleaseDC(NULL, screen));
}

static void System() {
    OSVERSIONINFOW version;
    memset(&version, 0, sizeof version);
    version.dwOSVersionInfoSize = sizeof version;
    const BOOL known = GetVersionExW(&version);
    Say("GetVersionExW: %d, major version at least 3: %d, platform %lu", known, version.dwMajorVersion >= 3,
        version.dwPlatformId);
    version.dwOSVersionInfoSize = 10;
    Say("GetVersionExW with a size of 10: %d", GetVersionExW(&version));
    Say("GetSystemMetrics: screen width positive %d, height positive %d", GetSystemMetrics(SM_CXSCREEN) > 0,
        GetSystemMetrics(SM_CYSCREEN) > 0);
    Say("GetStockObject(WHITE_BRUSH): %s", GetStockObject(WHITE_BRUSH) ? "an object" : "NULL");
    const DWORD start = GetTickCount();
    Sleep(100);
    const DWORD passed = GetTickCount() - start;
    // Wine's tick count moves in steps of a few milliseconds.
    Say("GetTickCount across Sleep(100): advanced by 90 or more %d", passed >= 90);
}

static void Icons() {
    SetLastError(12345);
    HICON small = (HICON)LoadImageW(g_probeInstance, MAKEINTRESOURCE(IDI_PROBE), IMAGE_ICON, 16, 16, 0);
    Say("LoadImageW(an icon, 16 x 16): %s, error %s", small ? "an icon" : "NULL", ErrorName(GetLastError()));
    HICON missing = (HICON)LoadImageW(g_probeInstance, MAKEINTRESOURCE(IDI_MISSING), IMAGE_ICON, 16, 16, 0);
    Say("LoadImageW(no such icon): %s", missing ? "an icon" : "NULL");
    HICON shown = LoadIconW(g_probeInstance, MAKEINTRESOURCE(IDI_PROBE));
    Say("LoadIconW(the icon): %s", shown ? "an icon" : "NULL");
    const HICON absent = LoadIconW(g_probeInstance, MAKEINTRESOURCE(IDI_MISSING));
    Say("LoadIconW(no such icon): %s", absent ? "an icon" : "NULL");
    const struct {
        const char* what;
        HICON icon;
    } destroyed[] = {{"the 16 x 16 icon", small}, {"it again", small}, {"NULL", NULL}};
    for (const auto& d : destroyed) {
        SetLastError(12345);
        const BOOL done = DestroyIcon(d.icon);
        Say("DestroyIcon(%s): %d, error %s", d.what, done, ErrorName(GetLastError()));
    }
}

int ProbeMain(const char*) {
    Volume();
    ModulePath();
    Sounds();
    Display();
    System();
    Icons();
    return 0;
}
