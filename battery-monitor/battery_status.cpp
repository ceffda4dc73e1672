// voltmarap: one sample of the battery: accounting, level icon, bubble text and notification.
#include <windows.h>
#include <aygshell.h>

#include "monitor.h"
#include "resource.h"

#define TEXT_BUFFER 260
#define PERCENT_UNKNOWN_ABOVE 100

const CLSID BatteryNotificationClsid = {0xCFC24712, 0x2A07, 0x4ACA, {0x8D, 0x8C, 0x46, 0xFB, 0x8B, 0x7C, 0x55, 0xF5}};

static BOOL OnExternalPower(const SYSTEM_POWER_STATUS_EX* status) { return status->ACLineStatus == AC_LINE_ONLINE; }

static UINT ChooseLevelIcon(const SYSTEM_POWER_STATUS_EX* status) {
    BYTE percent = status->BatteryLifePercent;
    if (OnExternalPower(status)) return IDI_AC;
    if (percent > PERCENT_UNKNOWN_ABOVE) return IDI_WARNING;
    if (percent >= 70) return IDI_LEVEL_3;
    if (percent >= 50) return IDI_LEVEL_2;
    if (percent >= 30) return IDI_LEVEL_1;
    if (percent >= 10) return IDI_LEVEL_0;
    return IDI_WARNING;
}

static UINT ChooseSuffix(const SYSTEM_POWER_STATUS_EX* status) {
    if (OnExternalPower(status)) return (status->BatteryFlag & BATTERY_FLAG_CHARGING) ? IDS_CHARGING : IDS_ON_AC;
    if (status->BatteryLifePercent > PERCENT_UNKNOWN_ABOVE) return IDS_UNDETERMINED;
    return 0;
}

static void TakeSample(SYSTEM_POWER_STATUS_EX* status) {
    memset(status, 0, sizeof(*status));
    if (!GetSystemPowerStatusEx(status, TRUE)) {
        // A failed read must not leave stale bytes: the state is simply not known.
        status->ACLineStatus = AC_LINE_UNKNOWN;
        status->BatteryFlag = BATTERY_FLAG_UNKNOWN;
        status->BatteryLifePercent = BATTERY_PERCENTAGE_UNKNOWN;
    }
}

static void AccountBatteryUse(MonitorState* state, const SYSTEM_POWER_STATUS_EX* status, DWORD now) {
    if (now <= ACCOUNTING_MIN_TICK) return;
    if (OnExternalPower(status)) {
        state->count.milliseconds = 0;
        state->count.cleared = TRUE;
    } else {
        state->count.milliseconds += now - state->lastTick;
    }
    SaveBatteryCount(&state->count);
    state->lastTick = now;
}

// The level icon the notification is to show, loaded when the level or the power source changed,
// or when the monitor has none (none loaded yet, or a load that failed). The icon shown so far
// stays: the shell holds it until it has taken this one. FALSE: the icon stays as it is.
static BOOL LoadLevelIcon(const MonitorState* state, const SYSTEM_POWER_STATUS_EX* status, HICON* icon) {
    BOOL fieldsChanged = status->ACLineStatus != state->lastStatus.ACLineStatus ||
                         status->BatteryLifePercent != state->lastStatus.BatteryLifePercent;
    *icon = NULL;
    if (!fieldsChanged && state->currentIcon != NULL) return FALSE;
    UINT id = ChooseLevelIcon(status);
    *icon = (HICON)LoadImageW(state->appInstance, MAKEINTRESOURCE(id), IMAGE_ICON, 16, 16, 0);
    return fieldsChanged || *icon != NULL;
}

static BOOL RebuildText(const MonitorState* state, const SYSTEM_POWER_STATUS_EX* status, int hours, int minutes,
                        WCHAR* html) {
    if (status->BatteryLifePercent == state->lastStatus.BatteryLifePercent &&
        status->ACLineStatus == state->lastStatus.ACLineStatus &&
        status->BatteryFlag == state->lastStatus.BatteryFlag && hours == state->lastHours &&
        minutes == state->lastMinutes)
        return FALSE;

    // A string that cannot be loaded leaves its buffer untouched: start from empty ones.
    WCHAR format[TEXT_BUFFER];
    WCHAR suffix[TEXT_BUFFER];
    format[0] = 0;
    LoadStringW(state->appInstance, IDS_HTML, format, TEXT_BUFFER);
    UINT suffixId = ChooseSuffix(status);
    suffix[0] = 0;
    if (suffixId != 0) LoadStringW(state->appInstance, suffixId, suffix, TEXT_BUFFER);
    int shownPercent = status->BatteryLifePercent <= PERCENT_UNKNOWN_ABOVE ? status->BatteryLifePercent : 0;
    wsprintfW(html, format, shownPercent, suffix, hours, minutes, RESET_COMMAND_ID);
    return TRUE;
}

void UpdateBatteryStatus(MonitorState* state, HWND window, BOOL addNotification) {
    SYSTEM_POWER_STATUS_EX status;
    TakeSample(&status);
    DWORD now = GetTickCount();
    AccountBatteryUse(state, &status, now);

    int hours = (int)(state->count.milliseconds / 3600000);
    int minutes = (int)((state->count.milliseconds % 3600000) / 60000);

    WCHAR html[TEXT_BUFFER];
    html[0] = 0;
    HICON newIcon;
    BOOL iconChanged = LoadLevelIcon(state, &status, &newIcon);
    BOOL textChanged = RebuildText(state, &status, hours, minutes, html);
    // A notification the shell never took is added again, not updated.
    BOOL add = addNotification || !state->notificationShown;

    if (iconChanged || textChanged) {
        SHNOTIFICATIONDATA data;
        data.cbStruct = sizeof(data);
        data.dwID = state->notificationId;
        data.npPriority = SHNP_INFORM;
        data.csDuration = 0;
        data.hicon = iconChanged ? newIcon : state->currentIcon;
        data.grfFlags = SHNF_STRAIGHTHTML | SHNF_SILENT;
        data.clsid = BatteryNotificationClsid;
        data.hwndSink = window;
        data.pszHTML = html;
        data.pszTitle = NULL;
        data.lParam = 0;

        DWORD mask = 0;
        if (iconChanged) mask |= SHNUM_ICON;
        if (textChanged) mask |= SHNUM_HTML;
        LRESULT result;
        if (add) {
            WCHAR title[TEXT_BUFFER];
            title[0] = 0;
            LoadStringW(state->appInstance, IDS_TITLE, title, TEXT_BUFFER);
            data.pszTitle = title;
            result = SHNotificationAdd(&data);
            // The shell may hold one under this id already (an earlier run's that it would not
            // remove): bring that one up to date instead.
            if (result != ERROR_SUCCESS) result = SHNotificationUpdate(SHNUM_ICON | SHNUM_HTML, &data);
        } else {
            result = SHNotificationUpdate(mask, &data);
        }
        if (result != ERROR_SUCCESS) {
            // The shell keeps what it showed, old icon included: remember nothing of this sample,
            // so that the next one tries again.
            if (newIcon != NULL) DestroyIcon(newIcon);
            return;
        }
        if (add) state->notificationShown = TRUE;
        if (iconChanged) {
            DestroyIcon(state->currentIcon);
            state->currentIcon = newIcon;
        }
    }

    state->lastStatus = status;
    state->lastHours = hours;
    state->lastMinutes = minutes;
}
