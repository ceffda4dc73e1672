// State shared by the monitor's frame and its sampling routine.
#ifndef MONITOR_H
#define MONITOR_H

#include <windows.h>
#include <aygshell.h>

#define SAMPLE_TIMER_ID 1
#define SAMPLE_PERIOD_MS 5000
#define RESET_COMMAND_ID 1
#define ACCOUNTING_MIN_TICK 20000

struct MonitorState {
    HINSTANCE appInstance;
    HICON currentIcon;
    DWORD lastTick;
    DWORD batteryCount;              // milliseconds of continuous battery use
    SYSTEM_POWER_STATUS_EX lastStatus;
    int lastHours;
    int lastMinutes;
    DWORD notificationId;
    // The stored counter has been read (or found missing); until then nothing may overwrite it.
    BOOL countLoaded;
    // The counter was cleared (external power or reset) since start-up, so the stored value is stale.
    BOOL countCleared;
    // The shell took the notification under notificationId: until it has, every sample adds it.
    BOOL notificationShown;
    // The icon of a notification the shell would not remove at a reset: it shows it still.
    HICON keptIcon;
};

extern MonitorState monitor;
extern const CLSID BatteryNotificationClsid;

void SaveBatteryCount(void);
void UpdateBatteryStatus(HWND window, BOOL addNotification);

#endif
