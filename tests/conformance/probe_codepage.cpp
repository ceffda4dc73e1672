// The ANSI code page of a Japanese desktop (932): its lead bytes, walking double-byte strings
// with CharNextA and CharPrevA, and the conversions both ways, with the odd bytes, the characters
// 932 lacks, buffers too small and the flags the calls take.
#include "probe.h"

#include <string.h>

static const char* Bytes(const char* bytes, int count) {
    static char out[512];
    out[0] = 0;
    for (int i = 0; i < count && i < 100; ++i) {
        const size_t used = strlen(out);
        snprintf(out + used, sizeof out - used, "%s%02X", i ? " " : "", (unsigned char)bytes[i]);
    }
    return out;
}

static const char* Units(const WCHAR* text, int count) {
    static char out[512];
    out[0] = 0;
    for (int i = 0; i < count && i < 80; ++i) {
        const size_t used = strlen(out);
        snprintf(out + used, sizeof out - used, "%s%04X", i ? " " : "", (unsigned)(unsigned short)text[i]);
    }
    return out;
}

static void LeadBytes(const char* what, UINT codePage, BOOL ex) {
    char ranges[256] = "";
    int start = -1;
    for (int b = 0; b <= 256; ++b) {
        const BOOL lead = b < 256 && (ex ? IsDBCSLeadByteEx(codePage, (BYTE)b) : IsDBCSLeadByte((BYTE)b));
        if (lead && start < 0) start = b;
        if (!lead && start >= 0) {
            const size_t used = strlen(ranges);
            snprintf(ranges + used, sizeof ranges - used, "%s%02X-%02X", used ? " " : "", start, b - 1);
            start = -1;
        }
    }
    Say("%s: %s", what, ranges[0] ? ranges : "none");
}

static void Walks() {
    // A, 表 (95 5C), ソ (83 5C), halfwidth ｱ (B1), Z, then a lead byte with nothing after it.
    static const char text[] = "A\x95\x5C\x83\x5C\xB1Z\x81";
    char steps[128] = "";
    const char* p = text;
    for (int i = 0; i < 10; ++i) {
        const char* next = CharNextA(p);
        const size_t used = strlen(steps);
        snprintf(steps + used, sizeof steps - used, "%s%d", used ? " " : "", (int)(next - text));
        p = next;
    }
    Say("CharNextA from the start, ten times: %s", steps);
    steps[0] = 0;
    for (int at = 0; at <= (int)sizeof text - 1; ++at) {
        const size_t used = strlen(steps);
        snprintf(steps + used, sizeof steps - used, "%s%d>%d", used ? " " : "", at, (int)(CharPrevA(text, text + at) - text));
    }
    Say("CharPrevA from each offset: %s", steps);
    // A trail byte that is also a lead byte value: 日 is 93 FA, and FA leads in 932.
    static const char day[] = "\x93\xFA\x5C" "a";
    steps[0] = 0;
    for (int at = 0; at <= 4; ++at) {
        const size_t used = strlen(steps);
        snprintf(steps + used, sizeof steps - used, "%s%d>%d", used ? " " : "", at, (int)(CharPrevA(day, day + at) - day));
    }
    Say("CharPrevA over 93 FA 5C 61: %s", steps);
}

static void ToWide(const char* what, UINT codePage, DWORD flags, const char* bytes, int length, int capacity) {
    WCHAR out[64];
    for (int i = 0; i < 64; ++i) out[i] = 0x2766;
    SetLastError(0);
    const int n = MultiByteToWideChar(codePage, flags, bytes, length, capacity ? out : NULL, capacity);
    const DWORD error = GetLastError();
    if (n > 0 && capacity) Say("MultiByteToWideChar %s: %d, %s", what, n, Units(out, n));
    else Say("MultiByteToWideChar %s: %d, %s", what, n, ErrorName(error));
}

static void ToAnsi(const char* what, UINT codePage, DWORD flags, const WCHAR* text, int length, int capacity,
                   const char* defaultChar, BOOL askUsed) {
    char out[64];
    memset(out, 0x7E, sizeof out);
    BOOL used = 77;
    SetLastError(0);
    const int n = WideCharToMultiByte(codePage, flags, text, length, capacity ? out : NULL, capacity, defaultChar,
                                      askUsed ? &used : NULL);
    const DWORD error = GetLastError();
    char usedText[32] = "";
    if (askUsed) snprintf(usedText, sizeof usedText, ", default used %d", used);
    if (n > 0 && capacity) Say("WideCharToMultiByte %s: %d, %s%s", what, n, Bytes(out, n), usedText);
    else Say("WideCharToMultiByte %s: %d, %s%s", what, n, ErrorName(error), usedText);
}

static void Conversions() {
    ToWide("of 表示ソフト", CP_ACP, 0, "\x95\x5C\x8E\xA6\x83\x5C\x83\x74\x83\x67", 10, 64);
    ToWide("of it with its terminator (-1)", CP_ACP, 0, "\x95\x5C\x8E\xA6", -1, 64);
    ToWide("of halfwidth katakana", CP_ACP, 0, "\xB1\xB2\xDF", 3, 64);
    ToWide("of 80, A0, FD, FE, FF", CP_ACP, 0, "\x80\xA0\xFD\xFE\xFF", 5, 64);
    ToWide("of a lead byte at the end", CP_ACP, 0, "A\x81", 2, 64);
    ToWide("of a lead byte before the terminator", CP_ACP, 0, "A\x81", -1, 64);
    ToWide("of a lead byte and a space", CP_ACP, 0, "\x81\x20" "B", 3, 64);
    ToWide("of a lead byte and 7F", CP_ACP, 0, "\x81\x7F" "B", 3, 64);
    ToWide("of an unassigned pair (85 40)", CP_ACP, 0, "\x85\x40", 2, 64);
    ToWide("with MB_ERR_INVALID_CHARS, valid", CP_ACP, MB_ERR_INVALID_CHARS, "\x95\x5C", 2, 64);
    ToWide("with MB_ERR_INVALID_CHARS, a lone lead byte", CP_ACP, MB_ERR_INVALID_CHARS, "A\x81", 2, 64);
    ToWide("with MB_ERR_INVALID_CHARS, an unassigned pair", CP_ACP, MB_ERR_INVALID_CHARS, "\x85\x40", 2, 64);
    ToWide("asking the size", CP_ACP, 0, "\x95\x5C\x8E\xA6" "ab", -1, 0);
    ToWide("into a buffer one short", CP_ACP, 0, "\x95\x5C\x8E\xA6" "ab", 6, 3);
    ToWide("of nothing (length 0)", CP_ACP, 0, "ab", 0, 64);
    ToWide("in code page 1252", 1252, 0, "\x80\x81\x9F\xE9", 4, 64);
    ToWide("in UTF-8", CP_UTF8, 0, "\xC3\xA9\xE8\xA1\xA8", 5, 64);
    ToWide("in UTF-8, a cut sequence and a stray byte", CP_UTF8, 0, "a\xE8\xA1" "b\xFF", 5, 64);
    ToWide("in UTF-8, too long forms", CP_UTF8, 0, "\xC0\x80|\xE0\x80\x80|\xF0\x8F\xBF\xBF|", 13, 64);
    ToWide("in UTF-8, a surrogate, too high, no lead", CP_UTF8, 0, "\xED\xA0\x80|\xF4\x90\x80\x80|\xF5\x80|", 12, 64);
    ToWide("in UTF-8, cut before a letter", CP_UTF8, 0, "\xE1\x80" "A\xE0\xA0" "B\xF1\x80\x80" "C", 10, 64);
    ToWide("in UTF-8, four bytes", CP_UTF8, 0, "\xF0\x9F\x98\x80", 4, 64);
    ToWide("in UTF-8 with MB_ERR_INVALID_CHARS", CP_UTF8, MB_ERR_INVALID_CHARS, "a\xFF", 2, 64);

    ToAnsi("of 表示ソフト", CP_ACP, 0, TEXT("表示ソフト"), 5, 64, NULL, TRUE);
    ToAnsi("of it with its terminator (-1)", CP_ACP, 0, TEXT("表示"), -1, 64, NULL, TRUE);
    ToAnsi("of halfwidth ｱ and the middle dot", CP_ACP, 0, TEXT("ｱ・"), 2, 64, NULL, TRUE);
    ToAnsi("of the euro sign and a", CP_ACP, 0, TEXT("€a"), 2, 64, NULL, TRUE);
    ToAnsi("of them with default *", CP_ACP, 0, TEXT("€a"), 2, 64, "*", TRUE);
    ToAnsi("of them, no flag asked", CP_ACP, 0, TEXT("€a"), 2, 64, NULL, FALSE);
    ToAnsi("of e with acute (a best fit on the desktop)", CP_ACP, 0, TEXT("é"), 1, 64, NULL, TRUE);
    const WCHAR odd[] = {0x0080, 0xF8F0, 0xF8F1, 0xF8F2, 0xF8F3, 0};
    ToAnsi("of U+0080 and U+F8F0 to U+F8F3", CP_ACP, 0, odd, 5, 64, NULL, TRUE);
    const WCHAR surrogate[] = {'a', 0xD800, 'b', 0};
    ToAnsi("of a lone surrogate", CP_ACP, 0, surrogate, 3, 64, NULL, TRUE);
    ToAnsi("asking the size", CP_ACP, 0, TEXT("表示ab"), -1, 0, NULL, FALSE);
    ToAnsi("into a buffer one short", CP_ACP, 0, TEXT("表示ab"), 4, 5, NULL, FALSE);
    ToAnsi("into a buffer that splits a character", CP_ACP, 0, TEXT("a表"), 2, 2, NULL, FALSE);
    ToAnsi("in code page 1252", 1252, 0, TEXT("é€Ÿ表"), 4, 64, NULL, TRUE);
    ToAnsi("in UTF-8", CP_UTF8, 0, TEXT("é表"), 2, 64, NULL, FALSE);
    ToAnsi("in UTF-8 with a default character", CP_UTF8, 0, TEXT("é"), 1, 64, "?", FALSE);
    ToAnsi("in UTF-8 asking whether the default was used", CP_UTF8, 0, TEXT("é"), 1, 64, NULL, TRUE);
}

int ProbeMain(const char*) {
    Say("GetACP: %u", GetACP());
    LeadBytes("IsDBCSLeadByte", 0, FALSE);
    LeadBytes("IsDBCSLeadByteEx(932)", 932, TRUE);
    LeadBytes("IsDBCSLeadByteEx(CP_ACP)", CP_ACP, TRUE);
    LeadBytes("IsDBCSLeadByteEx(1252)", 1252, TRUE);
    Walks();
    Conversions();
    return 0;
}
