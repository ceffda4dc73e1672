// Pocket PC shell library (AYGSHELL): shell notifications. Windows CE only: a build against the
// desktop's headers finds it here too.
#pragma once

#include <windows.h>

typedef enum _SHNP {
    SHNP_INFORM = 0x1B1,
    SHNP_ICONIC,
} SHNP;

#define SHNF_STRAIGHTHTML 0x00000001
#define SHNF_CRITICAL 0x00000002
#define SHNF_FORCEMESSAGE 0x00000008
#define SHNF_DISPLAYON 0x00000010
#define SHNF_SILENT 0x00000020

#define SHNUM_PRIORITY 0x0001
#define SHNUM_DURATION 0x0002
#define SHNUM_ICON 0x0004
#define SHNUM_HTML 0x0008
#define SHNUM_TITLE 0x0010

typedef struct _SHNOTIFICATIONDATA {
    DWORD cbStruct;
    DWORD dwID;
    SHNP npPriority;
    DWORD csDuration;
    HICON hicon;
    DWORD grfFlags;
    CLSID clsid;
    HWND hwndSink;
    LPCTSTR pszHTML;
    LPCTSTR pszTitle;
    LPARAM lParam;
} SHNOTIFICATIONDATA;

#ifdef __cplusplus
extern "C" {
#endif

WINBASEAPI LRESULT SHNotificationAdd(SHNOTIFICATIONDATA* pndAdd);
WINBASEAPI LRESULT SHNotificationUpdate(DWORD grnumUpdateMask, SHNOTIFICATIONDATA* pndNew);
WINBASEAPI LRESULT SHNotificationRemove(const CLSID* pclsid, DWORD dwID);

#ifdef __cplusplus
}
#endif
