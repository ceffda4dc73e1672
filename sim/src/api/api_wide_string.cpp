// Wide-string runtime of the core platform. The wcs* functions keep the C contracts (no NULL
// checks: a NULL there is the program's fault and should show); the lstr* ones tolerate NULL as
// Win32 documents.
#include <windows.h>

#include <climits>
#include <cstdint>

namespace {

int sign(int d) { return (d > 0) - (d < 0); }

bool isSpace(WCHAR c) { return c == u' ' || (c >= u'\t' && c <= u'\r'); }

template <typename T>
T parseDecimal(const WCHAR* s, T lo, T hi) {
    while (isSpace(*s)) ++s;
    const bool negative = *s == u'-';
    if (*s == u'-' || *s == u'+') ++s;
    // Accumulated towards the sign so that the most negative value needs no special case.
    T value = 0;
    for (; *s >= u'0' && *s <= u'9'; ++s) {
        const int digit = *s - u'0';
        if (negative) {
            if (value < (lo + digit) / 10) return lo;
            value = value * 10 - digit;
        } else {
            if (value > (hi - digit) / 10) return hi;
            value = value * 10 + digit;
        }
    }
    return value;
}

int compareFolded(const WCHAR* a, const WCHAR* b, size_t n) {
    for (; n; --n, ++a, ++b) {
        const WCHAR ca = towlower(*a);
        const WCHAR cb = towlower(*b);
        if (ca != cb) return ca < cb ? -1 : 1;
        if (!ca) break;
    }
    return 0;
}

}  // namespace

size_t wcslen(const WCHAR* s) {
    const WCHAR* p = s;
    while (*p) ++p;
    return static_cast<size_t>(p - s);
}

WCHAR* wcscpy(WCHAR* dst, const WCHAR* src) {
    WCHAR* d = dst;
    while ((*d++ = *src++)) {
    }
    return dst;
}

WCHAR* wcsncpy(WCHAR* dst, const WCHAR* src, size_t n) {
    size_t i = 0;
    for (; i < n && src[i]; ++i) dst[i] = src[i];
    for (; i < n; ++i) dst[i] = 0;
    return dst;
}

WCHAR* wcscat(WCHAR* dst, const WCHAR* src) {
    wcscpy(dst + wcslen(dst), src);
    return dst;
}

WCHAR* wcsncat(WCHAR* dst, const WCHAR* src, size_t n) {
    WCHAR* d = dst + wcslen(dst);
    for (; n && *src; --n) *d++ = *src++;
    *d = 0;
    return dst;
}

int wcscmp(const WCHAR* a, const WCHAR* b) { return wcsncmp(a, b, SIZE_MAX); }

int wcsncmp(const WCHAR* a, const WCHAR* b, size_t n) {
    for (; n; --n, ++a, ++b) {
        if (*a != *b) return *a < *b ? -1 : 1;
        if (!*a) break;
    }
    return 0;
}

int _wcsicmp(const WCHAR* a, const WCHAR* b) { return compareFolded(a, b, SIZE_MAX); }

int _wcsnicmp(const WCHAR* a, const WCHAR* b, size_t n) { return compareFolded(a, b, n); }

const WCHAR* wcschr(const WCHAR* s, WCHAR c) {
    for (;; ++s) {
        if (*s == c) return s;
        if (!*s) return nullptr;
    }
}

WCHAR* wcschr(WCHAR* s, WCHAR c) { return const_cast<WCHAR*>(wcschr(const_cast<const WCHAR*>(s), c)); }

const WCHAR* wcsrchr(const WCHAR* s, WCHAR c) {
    const WCHAR* found = nullptr;
    for (;; ++s) {
        if (*s == c) found = s;
        if (!*s) return found;
    }
}

WCHAR* wcsrchr(WCHAR* s, WCHAR c) { return const_cast<WCHAR*>(wcsrchr(const_cast<const WCHAR*>(s), c)); }

const WCHAR* wcsstr(const WCHAR* haystack, const WCHAR* needle) {
    if (!*needle) return haystack;
    const size_t n = wcslen(needle);
    for (; *haystack; ++haystack) {
        if (*haystack == *needle && wcsncmp(haystack, needle, n) == 0) return haystack;
    }
    return nullptr;
}

WCHAR* wcsstr(WCHAR* haystack, const WCHAR* needle) {
    return const_cast<WCHAR*>(wcsstr(const_cast<const WCHAR*>(haystack), needle));
}

int _wtoi(const WCHAR* s) { return parseDecimal<int>(s, INT_MIN, INT_MAX); }

long _wtol(const WCHAR* s) { return parseDecimal<long>(s, LONG_MIN, LONG_MAX); }

WCHAR towlower(WCHAR c) {
    if (c >= u'A' && c <= u'Z') return c + 0x20;
    if (c < 0xC0) return c;
    if (c <= 0xDE) return c == 0xD7 ? c : c + 0x20;  // U+00D7 is the multiplication sign
    if (c == 0x178) return 0xFF;
    if (c >= 0x391 && c <= 0x3A9) return c == 0x3A2 ? c : c + 0x20;  // U+03A2 is unassigned
    if (c >= 0x400 && c <= 0x40F) return c + 0x50;
    if (c >= 0x410 && c <= 0x42F) return c + 0x20;
    if (c >= 0xFF21 && c <= 0xFF3A) return c + 0x20;
    return c;
}

WCHAR towupper(WCHAR c) {
    if (c >= u'a' && c <= u'z') return c - 0x20;
    if (c < 0xE0) return c;
    if (c <= 0xFE) return c == 0xF7 ? c : c - 0x20;  // U+00F7 is the division sign
    if (c == 0xFF) return 0x178;
    if (c == 0x3C2) return 0x3A3;  // final sigma
    if (c >= 0x3B1 && c <= 0x3C9) return c - 0x20;
    if (c >= 0x430 && c <= 0x44F) return c - 0x20;
    if (c >= 0x450 && c <= 0x45F) return c - 0x50;
    if (c >= 0xFF41 && c <= 0xFF5A) return c - 0x20;
    return c;
}

int WINAPI lstrlenW(LPCWSTR lpString) { return lpString ? static_cast<int>(wcslen(lpString)) : 0; }

LPWSTR WINAPI lstrcpyW(LPWSTR lpString1, LPCWSTR lpString2) {
    if (!lpString1 || !lpString2) return nullptr;
    return wcscpy(lpString1, lpString2);
}

LPWSTR WINAPI lstrcpynW(LPWSTR lpString1, LPCWSTR lpString2, int iMaxLength) {
    if (!lpString1 || !lpString2) return nullptr;
    if (iMaxLength <= 0) return lpString1;
    WCHAR* d = lpString1;
    for (int left = iMaxLength - 1; left && *lpString2; --left) *d++ = *lpString2++;
    *d = 0;
    return lpString1;
}

LPWSTR WINAPI lstrcatW(LPWSTR lpString1, LPCWSTR lpString2) {
    if (!lpString1 || !lpString2) return nullptr;
    return wcscat(lpString1, lpString2);
}

int WINAPI lstrcmpW(LPCWSTR lpString1, LPCWSTR lpString2) {
    if (!lpString1 || !lpString2) return sign(!!lpString1 - !!lpString2);
    return wcscmp(lpString1, lpString2);
}

int WINAPI lstrcmpiW(LPCWSTR lpString1, LPCWSTR lpString2) {
    if (!lpString1 || !lpString2) return sign(!!lpString1 - !!lpString2);
    return _wcsicmp(lpString1, lpString2);
}
