// Windows CE's own records have the device's layout (32-bit) whichever headers declare the types
// they are made of: the simulation's, or the desktop's with sim/include/ce.
#pragma once

#include <stddef.h>
#include <windows.h>
#include <aygshell.h>
#include <wince_only.h>

static_assert(sizeof(SHNOTIFICATIONDATA) == 56, "SHNOTIFICATIONDATA");
static_assert(offsetof(SHNOTIFICATIONDATA, npPriority) == 8 && offsetof(SHNOTIFICATIONDATA, clsid) == 24 &&
                  offsetof(SHNOTIFICATIONDATA, hwndSink) == 40 && offsetof(SHNOTIFICATIONDATA, lParam) == 52,
              "SHNOTIFICATIONDATA fields");

static_assert(sizeof(SYSTEM_POWER_STATUS_EX) == 24, "SYSTEM_POWER_STATUS_EX");
static_assert(offsetof(SYSTEM_POWER_STATUS_EX, BatteryLifeTime) == 4 &&
                  offsetof(SYSTEM_POWER_STATUS_EX, BackupBatteryFlag) == 13 &&
                  offsetof(SYSTEM_POWER_STATUS_EX, BackupBatteryFullLifeTime) == 20,
              "SYSTEM_POWER_STATUS_EX fields");

static_assert(sizeof(VIDEO_POWER_MANAGEMENT) == 12 && offsetof(VIDEO_POWER_MANAGEMENT, PowerState) == 8,
              "VIDEO_POWER_MANAGEMENT");
