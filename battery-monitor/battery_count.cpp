// voltmarap: the battery-use counter's copy in the registry.
#include <windows.h>

#include "battery_count.h"

static const WCHAR kRegistryKey[] = TEXT("Software\\Orvalen\\VoltmaraPPC");
static const WCHAR kRegistryValue[] = TEXT("BatteryCount");

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
static BOOL ReadStoredCount(DWORD* stored) {
    HKEY key = OpenCounterKey();
    if (key == NULL) return FALSE;
    DWORD type = REG_DWORD;
    DWORD size = sizeof(DWORD);
    DWORD data = 0;
    LONG result = RegQueryValueExW(key, kRegistryValue, NULL, &type, (LPBYTE)&data, &size);
    RegCloseKey(key);
    if (result == ERROR_SUCCESS) {
        *stored = data;
        return TRUE;
    }
    if (result == ERROR_FILE_NOT_FOUND || result == ERROR_MORE_DATA) {
        *stored = 0;
        return TRUE;
    }
    return FALSE;
}

void LoadBatteryCount(BatteryCount* count) {
    DWORD stored = 0;
    if (ReadStoredCount(&stored)) {
        count->milliseconds = stored;
        count->loaded = TRUE;
    }
}

void SaveBatteryCount(BatteryCount* count) {
    if (!count->loaded) {
        // Never overwrite a counter we could not read: try again, and carry on from it.
        DWORD stored = 0;
        if (!ReadStoredCount(&stored)) return;
        if (!count->cleared) count->milliseconds += stored;
        count->loaded = TRUE;
    }
    HKEY key = OpenCounterKey();
    if (key == NULL) return;
    RegSetValueExW(key, kRegistryValue, 0, REG_DWORD, (const BYTE*)&count->milliseconds, sizeof(DWORD));
    RegCloseKey(key);
}
