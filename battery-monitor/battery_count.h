// The monitor's counter of battery use, whose copy in the registry outlives the program.
#ifndef BATTERY_COUNT_H
#define BATTERY_COUNT_H

#include <windows.h>

struct BatteryCount {
    DWORD milliseconds;  // of continuous battery use
    // The stored counter has been read (or found missing); until then nothing may overwrite it.
    BOOL loaded;
    // The counter was cleared (external power or reset) since start-up, so the stored value is stale.
    BOOL cleared;
};

void LoadBatteryCount(BatteryCount* count);
void SaveBatteryCount(BatteryCount* count);

#endif
