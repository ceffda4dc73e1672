// What Windows CE has and desktop Windows lacks, written once for two builds: the simulation's
// <windows.h> includes it after its own declarations, and a build against the desktop's real
// headers force-includes it after the desktop's <windows.h>, so that the device programs compile
// there unchanged. The true differences between the two platforms' headers are listed in
// README.md beside it.
#pragma once

#ifndef RC_INVOKED
#include <windef.h>
#endif

// Extended window styles; resource scripts use them too.
#define WS_EX_NODRAG 0x40000000L
#define WS_EX_CAPTIONOKBTN 0x80000000L

#ifndef RC_INVOKED

#define VER_PLATFORM_WIN32_CE 3

// SystemParametersInfoW: the platform's type ("PocketPC") and the maker's device name.
#define SPI_GETPLATFORMTYPE 257
#define SPI_GETOEMINFO 258

// The key that switches the device off, and the hot-key modifier that also reports releases.
#define VK_OFF 0xDF
#define MOD_KEYUP 0x1000

// The display driver's power escapes.
#define SETPOWERMANAGEMENT 6147
#define GETPOWERMANAGEMENT 6148

typedef enum _VIDEO_POWER_STATE {
    VideoPowerOn = 1,
    VideoPowerStandBy,
    VideoPowerSuspend,
    VideoPowerOff
} VIDEO_POWER_STATE, *PVIDEO_POWER_STATE;

typedef struct _VIDEO_POWER_MANAGEMENT {
    ULONG Length;
    ULONG DPMSVersion;
    ULONG PowerState;
} VIDEO_POWER_MANAGEMENT, *PVIDEO_POWER_MANAGEMENT;

// Power status with the backup battery; the AC_LINE_ and BATTERY_ values are the desktop's.
typedef struct _SYSTEM_POWER_STATUS_EX {
    BYTE ACLineStatus;
    BYTE BatteryFlag;
    BYTE BatteryLifePercent;
    BYTE Reserved1;
    DWORD BatteryLifeTime;
    DWORD BatteryFullLifeTime;
    BYTE Reserved2;
    BYTE BackupBatteryFlag;
    BYTE BackupBatteryLifePercent;
    BYTE Reserved3;
    DWORD BackupBatteryLifeTime;
    DWORD BackupBatteryFullLifeTime;
} SYSTEM_POWER_STATUS_EX, *PSYSTEM_POWER_STATUS_EX, *LPSYSTEM_POWER_STATUS_EX;

#ifdef __cplusplus
extern "C" {
#endif

WINBASEAPI BOOL WINAPI GetSystemPowerStatusEx(PSYSTEM_POWER_STATUS_EX pSystemPowerStatusEx, BOOL fUpdate);

#ifdef __cplusplus
}
#endif

#ifdef _WIN32
// The desktop's headers (the simulation, on Linux, has no _WIN32): Windows CE's <windows.h>
// brings the C runtime's string functions, the desktop's does not.
#include <string.h>
#include <wchar.h>
#endif

#ifdef UNDER_CE
#ifdef _WIN32
// The desktop's entry point with a 16-bit command line.
#define WinMain wWinMain
#else
#ifdef __cplusplus
extern "C" {
#endif
// Each program image defines it; the platform calls it with the command line in 16-bit characters.
WINBASEAPI int WINAPI WinMain(HINSTANCE hInstance, HINSTANCE hPrevInstance, LPWSTR lpCmdLine, int nShowCmd);
#ifdef __cplusplus
}
#endif
#endif
#endif  // UNDER_CE

#endif  // RC_INVOKED
