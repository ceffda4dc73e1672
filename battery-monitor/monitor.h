// The monitor's state, owned by its frame, and the sample that brings it up to date.
#ifndef MONITOR_H
#define MONITOR_H

#include <windows.h>
#include <aygshell.h>

#include "battery_count.h"

#define SAMPLE_TIMER_ID 1
#define SAMPLE_PERIOD_MS 5000
#define RESET_COMMAND_ID 1
#define ACCOUNTING_MIN_TICK 20000

struct MonitorState {
    HINSTANCE appInstance;
    HICON currentIcon;
    DWORD lastTick;
    BatteryCount count;
    SYSTEM_POWER_STATUS_EX lastStatus;
    int lastHours;
    int lastMinutes;
    DWORD notificationId;
    // The shell took the notification under notificationId: until it has, every sample adds it.
    BOOL notificationShown;
    // The icon of a notification the shell would not remove at a reset: it shows it still.
    HICON keptIcon;
};

extern const CLSID BatteryNotificationClsid;

void UpdateBatteryStatus(MonitorState* state, HWND window, BOOL addNotification);

#endif
