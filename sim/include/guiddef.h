// GUIDs, which name COM classes and interfaces. Spelled in C's own types, as <winnt.h>, which
// includes it, comes before <windef.h>'s DWORD, WORD and BYTE.
#pragma once

typedef struct _GUID {
    unsigned long Data1;
    unsigned short Data2;
    unsigned short Data3;
    unsigned char Data4[8];
} GUID;
typedef GUID CLSID;
typedef GUID IID;
typedef CLSID* LPCLSID;
#ifdef __cplusplus
#define REFCLSID const CLSID&
#define REFGUID const GUID&
#else
#define REFCLSID const CLSID*
#define REFGUID const GUID*
#endif
