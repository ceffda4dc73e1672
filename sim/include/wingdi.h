// GDI: stock objects, and escapes to the display driver.
#pragma once

#include <windef.h>

// Stock objects.
#define WHITE_BRUSH 0
#define LTGRAY_BRUSH 1
#define GRAY_BRUSH 2
#define DKGRAY_BRUSH 3
#define BLACK_BRUSH 4
#define NULL_BRUSH 5
#define HOLLOW_BRUSH NULL_BRUSH
#define WHITE_PEN 6
#define BLACK_PEN 7
#define NULL_PEN 8
#define SYSTEM_FONT 13

// Display driver escapes.
#define QUERYESCSUPPORT 8

#ifdef __cplusplus
extern "C" {
#endif

WINBASEAPI HGDIOBJ WINAPI GetStockObject(int fnObject);
WINBASEAPI int WINAPI ExtEscape(HDC hdc, int nEscape, int cbInput, LPCSTR lpszInData, int cbOutput, LPSTR lpszOutData);

#ifdef __cplusplus
}
#endif
