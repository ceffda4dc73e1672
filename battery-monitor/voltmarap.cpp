// voltmarap: battery monitor frame. A hidden window samples the battery every 5 seconds;
// starting the program a second time switches the running copy off.
#include <windows.h>
#include <aygshell.h>

#include "monitor.h"

static const WCHAR kMutexName[] = TEXT("VOLTMARAP");
static const WCHAR kClassName[] = TEXT("VOLTMARAP");
static const WCHAR kWindowTitle[] = TEXT("VOLTMARAP");
static const WCHAR kRegistryKey[] = TEXT("Software\\Orvalen\\VoltmaraPPC");
static const WCHAR kRegistryValue[] = TEXT("BatteryCount");

MonitorState monitor = {NULL, NULL, 0, 0, {}, -1, -1, 1, FALSE, FALSE, FALSE, NULL};

const CLSID BatteryNotificationClsid = {0xCFC24712, 0x2A07, 0x4ACA, {0x8D, 0x8C, 0x46, 0xFB, 0x8B, 0x7C, 0x55, 0xF5}};

static HKEY OpenCounterKey(void) {
    HKEY key = NULL;
    DWORD disposition = 0;
    WCHAR keyClass[] = TEXT("");
    if (RegCreateKeyExW(HKEY_CURRENT_USER, kRegistryKey, 0, keyClass, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS, NULL,
                        &key, &disposition) != ERROR_SUCCESS)
        return NULL;
    return key;
}

// Reads the stored counter. FALSE when it could not be read; a missing value, or one too long,
// reads as 0. A shorter value is taken widened with zeros.
static BOOL ReadStoredCount(DWORD* count) {
    HKEY key = OpenCounterKey();
    if (key == NULL) return FALSE;
    DWORD type = REG_DWORD;
    DWORD size = sizeof(DWORD);
    DWORD data = 0;
    LONG result = RegQueryValueExW(key, kRegistryValue, NULL, &type, (LPBYTE)&data, &size);
    RegCloseKey(key);
    if (result == ERROR_SUCCESS) {
        *count = data;
        return TRUE;
    }
    if (result == ERROR_FILE_NOT_FOUND || result == ERROR_MORE_DATA) {
        *count = 0;
        return TRUE;
    }
    return FALSE;
}

static void LoadBatteryCount(void) {
    DWORD stored = 0;
    if (ReadStoredCount(&stored)) {
        monitor.batteryCount = stored;
        monitor.countLoaded = TRUE;
    }
}

void SaveBatteryCount(void) {
    if (!monitor.countLoaded) {
        // Never overwrite a counter we could not read: try again, and carry on from it.
        DWORD stored = 0;
        if (!ReadStoredCount(&stored)) return;
        if (!monitor.countCleared) monitor.batteryCount += stored;
        monitor.countLoaded = TRUE;
    }
    HKEY key = OpenCounterKey();
    if (key == NULL) return;
    RegSetValueExW(key, kRegistryValue, 0, REG_DWORD, (const BYTE*)&monitor.batteryCount, sizeof(DWORD));
    RegCloseKey(key);
}

static void MonitorOnCreate(HWND window) {
    LoadBatteryCount();
    monitor.lastTick = GetTickCount();
    UpdateBatteryStatus(window, TRUE);
    SetTimer(window, SAMPLE_TIMER_ID, SAMPLE_PERIOD_MS, NULL);
}

static void MonitorOnTimer(HWND window, WPARAM timerId) {
    if (timerId == SAMPLE_TIMER_ID) UpdateBatteryStatus(window, FALSE);
}

static void MonitorOnCommand(HWND window, WORD commandId) {
    if (commandId != RESET_COMMAND_ID) return;
    BOOL removed = SHNotificationRemove(&BatteryNotificationClsid, monitor.notificationId) == ERROR_SUCCESS;
    monitor.notificationShown = FALSE;
    monitor.batteryCount = 0;
    monitor.countCleared = TRUE;
    monitor.lastHours = -1;
    monitor.lastMinutes = -1;
    monitor.lastTick = GetTickCount();
    memset(&monitor.lastStatus, 0, sizeof(monitor.lastStatus));
    // The cleared status may equal the present one (0 % off external power) and would then keep
    // an icon chosen for an older level: the fresh notification loads its own. A notification the
    // shell would not remove still shows the old icon, which is kept until the close (of two such,
    // only the later one's).
    if (removed) {
        DestroyIcon(monitor.currentIcon);
    } else {
        if (monitor.keptIcon != NULL) DestroyIcon(monitor.keptIcon);
        monitor.keptIcon = monitor.currentIcon;
    }
    monitor.currentIcon = NULL;
    monitor.notificationId++;
    SaveBatteryCount();
    UpdateBatteryStatus(window, TRUE);
}

static void MonitorOnClose(HWND window) {
    KillTimer(window, SAMPLE_TIMER_ID);
    SHNotificationRemove(&BatteryNotificationClsid, monitor.notificationId);
    DestroyIcon(monitor.currentIcon);
    if (monitor.keptIcon != NULL) DestroyIcon(monitor.keptIcon);
    DestroyWindow(window);
}

static LRESULT CALLBACK MonitorWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CREATE:
        MonitorOnCreate(window);
        return 0;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    case WM_CLOSE:
        MonitorOnClose(window);
        return 0;
    case WM_COMMAND:
        MonitorOnCommand(window, LOWORD(wParam));
        return 0;
    case WM_TIMER:
        MonitorOnTimer(window, wParam);
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

static BOOL InitMonitorWindow(HINSTANCE instance) {
    monitor.appInstance = instance;

    WNDCLASSW wc;
    wc.style = CS_HREDRAW | CS_VREDRAW;
    wc.lpfnWndProc = MonitorWndProc;
    wc.cbClsExtra = 0;
    wc.cbWndExtra = 0;
    wc.hInstance = instance;
    wc.hIcon = NULL;
    wc.hCursor = NULL;
    wc.hbrBackground = (HBRUSH)GetStockObject(WHITE_BRUSH);
    wc.lpszMenuName = NULL;
    wc.lpszClassName = kClassName;
    if (LOWORD(RegisterClassW(&wc)) == 0) return FALSE;

    HWND window = CreateWindowExW(0, kClassName, kWindowTitle, 0, 0, 0, CW_USEDEFAULT, CW_USEDEFAULT, NULL, NULL,
                                  instance, NULL);
    return window != NULL;
}

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPWSTR, int) {
    // Without the mutex a second copy could run beside the first: give up instead.
    HANDLE mutex = CreateMutexW(NULL, FALSE, kMutexName);
    if (mutex == NULL) return 0;
    if (GetLastError() == ERROR_ALREADY_EXISTS) {
        PostMessageW(FindWindowW(kClassName, NULL), WM_CLOSE, 0, 0);
        return 0;
    }
    if (!InitMonitorWindow(instance)) return 0;

    MSG msg;
    while (GetMessageW(&msg, NULL, 0, 0)) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return 0;
}
