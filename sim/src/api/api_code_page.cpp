// The ANSI code page and its double-byte characters (KERNEL32 and USER32 on the desktop).
#include <cstring>

#include "api_call.h"
#include "code_page.h"

using namespace sim;

namespace {

bool leadByte(ApiCall& call, char c) { return isLeadByte(call.device.config.ansiCodePage, static_cast<std::uint8_t>(c)); }

// CP_ACP and the code pages the machine can convert; 0 for one it cannot.
UINT resolveCodePage(ApiCall& call, UINT codePage) {
    if (codePage == CP_ACP) return call.device.config.ansiCodePage;
    return isSupportedCodePage(codePage) || codePage == CP_UTF8 ? codePage : 0;
}

// Copies `converted` to a caller's buffer of `capacity` units: the size a zero capacity asks for,
// or 0 with ERROR_INSUFFICIENT_BUFFER when it does not fit.
template <class Char>
int deliver(ApiCall& call, const std::basic_string<Char>& converted, Char* out, int capacity) {
    const int needed = static_cast<int>(converted.size());
    if (capacity == 0) return call.ret(needed);
    if (needed > capacity) return call.fail(ERROR_INSUFFICIENT_BUFFER, 0);
    std::copy(converted.begin(), converted.end(), out);
    return call.ret(needed);
}

}  // namespace

UINT WINAPI GetACP(void) {
    ApiCall call("GetACP");
    return call.ret(call.device.config.ansiCodePage);
}

BOOL WINAPI IsDBCSLeadByte(BYTE c) {
    ApiCall call("IsDBCSLeadByte", c);
    return call.ret(BOOL{isLeadByte(call.device.config.ansiCodePage, c)});
}

BOOL WINAPI IsDBCSLeadByteEx(UINT codePage, BYTE c) {
    ApiCall call("IsDBCSLeadByteEx", codePage, c);
    const UINT resolved = resolveCodePage(call, codePage);
    if (resolved == 0 || resolved == CP_UTF8) return call.fail(ERROR_INVALID_PARAMETER, BOOL{FALSE});
    return call.ret(BOOL{isLeadByte(resolved, c)});
}

// A lead byte followed by the string's end is a character of its own.
LPSTR WINAPI CharNextA(LPCSTR text) {
    ApiCall call("CharNextA", static_cast<const void*>(text));
    if (!*text) return call.ret(const_cast<LPSTR>(text));
    if (leadByte(call, text[0]) && text[1]) return call.ret(const_cast<LPSTR>(text + 2));
    return call.ret(const_cast<LPSTR>(text + 1));
}

// Walks from the start, since a trail byte cannot be told from a lead byte looking backwards.
LPSTR WINAPI CharPrevA(LPCSTR start, LPCSTR current) {
    ApiCall call("CharPrevA", static_cast<const void*>(start), static_cast<const void*>(current));
    while (*start && start < current) {
        LPCSTR next = start + (leadByte(call, start[0]) && start[1] ? 2 : 1);
        if (next >= current) break;
        start = next;
    }
    return call.ret(const_cast<LPSTR>(start));
}

int WINAPI MultiByteToWideChar(UINT codePage, DWORD flags, LPCSTR text, int length, LPWSTR out, int capacity) {
    ApiCall call("MultiByteToWideChar", codePage, flags, static_cast<const void*>(text), length, capacity);
    const UINT resolved = resolveCodePage(call, codePage);
    if (resolved == 0 || !text || length == 0 || length < -1 || capacity < 0 || (capacity && !out))
        return call.fail(ERROR_INVALID_PARAMETER, 0);
    // -1: the string and its terminator.
    const std::string_view source(text, length == -1 ? std::strlen(text) + 1 : static_cast<std::size_t>(length));
    bool invalid = false;
    const std::u16string converted =
        resolved == CP_UTF8 ? utf8ToWide(source, &invalid) : ansiToWide(resolved, source, &invalid);
    if (invalid && (flags & MB_ERR_INVALID_CHARS)) return call.fail(ERROR_NO_UNICODE_TRANSLATION, 0);
    return deliver(call, converted, out, capacity);
}

int WINAPI WideCharToMultiByte(UINT codePage, DWORD, LPCWSTR text, int length, LPSTR out, int capacity,
                               LPCSTR defaultChar, LPBOOL usedDefault) {
    ApiCall call("WideCharToMultiByte", codePage, static_cast<const void*>(text), length, capacity);
    const UINT resolved = resolveCodePage(call, codePage);
    if (resolved == 0 || !text || length == 0 || length < -1 || capacity < 0 || (capacity && !out))
        return call.fail(ERROR_INVALID_PARAMETER, 0);
    // UTF-8 has no default character.
    if (resolved == CP_UTF8 && (defaultChar || usedDefault)) return call.fail(ERROR_INVALID_PARAMETER, 0);
    std::size_t count = static_cast<std::size_t>(length);
    if (length == -1) {
        count = 0;
        while (text[count]) ++count;
        ++count;
    }
    const std::u16string_view source(text, count);
    bool defaulted = false;
    // A default character given by the caller: its first byte (a double-byte one is not taken whole).
    const std::string converted = resolved == CP_UTF8
                                      ? toUtf8(source)
                                      : wideToAnsi(resolved, source, &defaulted, defaultChar ? *defaultChar : '?');
    if (usedDefault) *usedDefault = defaulted;
    return deliver(call, converted, out, capacity);
}
