// Wide-string runtime and Win32 string functions of the Windows CE core platform.
//
// The C runtime part is declared as C++ overloads on WCHAR (char16_t): the C names belong to
// glibc's wchar_t functions, and exporting ours under them would replace those for the whole
// process. Semantics are the C ones (wcsncpy pads with zeros and does not terminate a full copy,
// wcsncat always terminates, ...). Comparisons return -1, 0 or 1.
//
// Case mapping (towlower, towupper, and through them _wcsicmp, _wcsnicmp, lstrcmpiW) covers
// ASCII, Latin-1 (U+00C0..U+00DE except U+00D7, plus U+0178 <-> U+00FF), basic Greek
// (U+0391..U+03A9; final sigma upper-cases to U+03A3), basic Cyrillic (U+0400..U+042F) and the
// fullwidth Latin letters (U+FF21..U+FF3A); other characters have no case. Insensitive
// comparisons fold both sides to lower case, so '_' sorts before letters.
#pragma once

#include <stdarg.h>
#include <stddef.h>
#include <string.h>

#include <windef.h>

#ifdef __cplusplus

#define SIM_CRTAPI __attribute__((visibility("default")))

SIM_CRTAPI size_t wcslen(const WCHAR* s);
SIM_CRTAPI WCHAR* wcscpy(WCHAR* dst, const WCHAR* src);
SIM_CRTAPI WCHAR* wcsncpy(WCHAR* dst, const WCHAR* src, size_t n);
SIM_CRTAPI WCHAR* wcscat(WCHAR* dst, const WCHAR* src);
SIM_CRTAPI WCHAR* wcsncat(WCHAR* dst, const WCHAR* src, size_t n);
SIM_CRTAPI int wcscmp(const WCHAR* a, const WCHAR* b);
SIM_CRTAPI int wcsncmp(const WCHAR* a, const WCHAR* b, size_t n);
SIM_CRTAPI int _wcsicmp(const WCHAR* a, const WCHAR* b);
SIM_CRTAPI int _wcsnicmp(const WCHAR* a, const WCHAR* b, size_t n);
SIM_CRTAPI const WCHAR* wcschr(const WCHAR* s, WCHAR c);
SIM_CRTAPI WCHAR* wcschr(WCHAR* s, WCHAR c);
SIM_CRTAPI const WCHAR* wcsrchr(const WCHAR* s, WCHAR c);
SIM_CRTAPI WCHAR* wcsrchr(WCHAR* s, WCHAR c);
SIM_CRTAPI const WCHAR* wcsstr(const WCHAR* haystack, const WCHAR* needle);
SIM_CRTAPI WCHAR* wcsstr(WCHAR* haystack, const WCHAR* needle);
// Leading white space, an optional sign, decimal digits; saturates at INT_MIN / INT_MAX
// (LONG_MIN / LONG_MAX) instead of overflowing, as the Microsoft runtime does.
SIM_CRTAPI int _wtoi(const WCHAR* s);
SIM_CRTAPI long _wtol(const WCHAR* s);
SIM_CRTAPI WCHAR towlower(WCHAR c);
SIM_CRTAPI WCHAR towupper(WCHAR c);

#undef SIM_CRTAPI

extern "C" {
#endif

// A NULL string is tolerated as Win32 does: lstrlenW gives 0, the copies and lstrcatW give NULL
// and write nothing, and the comparisons order NULL before any string. The comparisons are
// ordinal (code unit order), not the locale's word sort.
WINBASEAPI int WINAPI lstrlenW(LPCWSTR lpString);
WINBASEAPI LPWSTR WINAPI lstrcpyW(LPWSTR lpString1, LPCWSTR lpString2);
// Copies at most iMaxLength - 1 characters and always terminates; iMaxLength <= 0 writes nothing.
WINBASEAPI LPWSTR WINAPI lstrcpynW(LPWSTR lpString1, LPCWSTR lpString2, int iMaxLength);
WINBASEAPI LPWSTR WINAPI lstrcatW(LPWSTR lpString1, LPCWSTR lpString2);
WINBASEAPI int WINAPI lstrcmpW(LPCWSTR lpString1, LPCWSTR lpString2);
WINBASEAPI int WINAPI lstrcmpiW(LPCWSTR lpString1, LPCWSTR lpString2);

// Output is limited to 1024 characters including the terminator, as on Windows.
WINUSERAPI int WINAPI wvsprintfW(LPWSTR lpOut, LPCWSTR lpFmt, va_list arglist);

#ifdef __cplusplus
}
#endif

#define wsprintf wsprintfW
#define wvsprintf wvsprintfW
#define lstrlen lstrlenW
#define lstrcpy lstrcpyW
#define lstrcpyn lstrcpynW
#define lstrcat lstrcatW
#define lstrcmp lstrcmpW
#define lstrcmpi lstrcmpiW

#define MoveMemory(Destination, Source, Length) memmove((Destination), (Source), (Length))
#define CopyMemory(Destination, Source, Length) memcpy((Destination), (Source), (Length))
#define FillMemory(Destination, Length, Fill) memset((Destination), (Fill), (Length))
#define ZeroMemory(Destination, Length) memset((Destination), 0, (Length))
