// The 8-bit side of a desktop PC: conversions under code pages 1252 and 932, the double-byte
// character functions, and the registry's 8-bit reads.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "code_page.h"
#include "inside.h"
#include "pocket_device.h"

namespace {

struct ConversionCase {
    const char* name;
    UINT codePage;
    std::string ansi;
    std::u16string wide;
};

void PrintTo(const ConversionCase& c, std::ostream* out) { *out << c.name; }

// Both ways, except where noted by the one-way cases below.
const ConversionCase kRoundTrips[] = {
    {"Ascii", 1252, "C:\\Setup", u"C:\\Setup"},
    {"LatinOne", 1252, "Caf\xE9", u"Caf\u00E9"},
    {"EuroSign", 1252, "\x80", u"\u20AC"},
    {"UndefinedByteKeepsItsValue", 1252, "\x81\x8D", u"\u0081\u008D"},
    {"TrailBackslash", 932, "\x95\x5C\x8E\xA6", u"表示"},
    {"Katakana", 932, "\x83\x5C\x83\x74\x83\x67", u"ソフト"},
    {"HalfWidthKatakana", 932, "\xBE\xAF\xC4", u"ｾｯﾄ"},
    {"MixedWidths", 932, "A\x95\x5C\\B", u"A表\\B"},
    {"SingleBytesOfWindowsOwn", 932, "\x80\xA0\xFD\xFE\xFF", u"\u0080\uF8F0\uF8F1\uF8F2\uF8F3"},
};

class CodePageRoundTrip : public ::testing::TestWithParam<ConversionCase> {};

}  // namespace

TEST_P(CodePageRoundTrip, ConvertsBothWays) {
    const ConversionCase& c = GetParam();
    EXPECT_EQ(sim::ansiToWide(c.codePage, c.ansi), c.wide);
    bool defaulted = true;
    EXPECT_EQ(sim::wideToAnsi(c.codePage, c.wide, &defaulted), c.ansi);
    EXPECT_FALSE(defaulted);
}

INSTANTIATE_TEST_SUITE_P(Texts, CodePageRoundTrip, ::testing::ValuesIn(kRoundTrips),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(CodePage, WhatDoesNotMapBecomesTheDefaultCharacter) {
    bool defaulted = false;
    EXPECT_EQ(sim::wideToAnsi(1252, u"表x", &defaulted), "?x");
    EXPECT_TRUE(defaulted);
    EXPECT_EQ(sim::wideToAnsi(932, u"\u00E9", &defaulted), "?");
    EXPECT_TRUE(defaulted);
    // A lead byte with a trail that makes no character, and one cut off by the end.
    bool invalid = false;
    EXPECT_EQ(sim::ansiToWide(932, "\x81\x20", &invalid), u"\u30FB");
    EXPECT_TRUE(invalid);
    EXPECT_EQ(sim::ansiToWide(932, "a\x95", &invalid), u"a\u30FB");
    EXPECT_TRUE(invalid);
    // A zero byte ends a double-byte character before it starts: the terminator stays.
    EXPECT_EQ(sim::ansiToWide(932, std::string("a\x95\0", 3), &invalid), std::u16string(u"a\u30FB\0", 3));
    EXPECT_EQ(sim::ansiToWide(932, "\x95\x5C\x81\x45", &invalid), u"表\u30FB");
    EXPECT_FALSE(invalid);  // the character U+30FB itself is no default
}

namespace {

struct Utf8Case {
    const char* name;
    std::string bytes;
    std::u16string wide;
};

void PrintTo(const Utf8Case& c, std::ostream* out) { *out << c.name; }

// Each ill-formed part is one U+FFFD.
const Utf8Case kUtf8Cases[] = {
    {"WellFormed", "a\xC3\xA9\xE8\xA1\xA8\xF0\x9F\x98\x80", u"aé表\U0001F600"},
    {"StrayBytes", "\x80\xC1\xF5\xFF" "a", u"\uFFFD\uFFFD\uFFFD\uFFFD" "a"},
    {"CutBeforeALetter", "\xE1\x80" "A\xF1\x80\x80" "B", u"\uFFFD" "A\uFFFD" "B"},
    {"CutAtTheEnd", "a\xE8\xA1", u"a\uFFFD"},
    {"TooLongFormTakesItsSecondByte", "\xE0\x80\x80\xF0\x8F\xBF\xBF", u"\uFFFD\uFFFD\uFFFD\uFFFD\uFFFD"},
    {"SurrogateTakesItsSecondByte", "\xED\xA0\x80" "a", u"\uFFFD\uFFFD" "a"},
    {"PastTheLastCharacter", "\xF4\x90\x80\x80", u"\uFFFD\uFFFD\uFFFD"},
    {"Highest", "\xF4\x8F\xBF\xBF\xED\x9F\xBF", u"\U0010FFFF\uD7FF"},
};

class Utf8 : public ::testing::TestWithParam<Utf8Case> {};

}  // namespace

TEST_P(Utf8, ReadsAsWindowsDoes) {
    bool invalid = false;
    EXPECT_EQ(sim::utf8ToWide(GetParam().bytes, &invalid), GetParam().wide);
    EXPECT_EQ(invalid, GetParam().wide.find(u'\uFFFD') != std::u16string::npos);
}

INSTANTIATE_TEST_SUITE_P(Texts, Utf8, ::testing::ValuesIn(kUtf8Cases),
                         [](const auto& info) { return std::string(info.param.name); });

namespace {

// Runs `body` in a process of a desktop PC with the code page given.
template <class Body>
void onDesktop(UINT codePage, Body body) {
    pocket::PocketDevice pc(pocket::desktopConfig(codePage));
    auto& p = inside(pc).startHosted("probe", [&body] {
        body();
        return 0;
    });
    EXPECT_EQ(p.exitCode, 0);
    EXPECT_TRUE(pc.errors().empty());
}

}  // namespace

TEST(CodePage, DoubleByteCharactersOnlyUnder932) {
    onDesktop(932, [] {
        EXPECT_EQ(GetACP(), 932u);
        for (int byte : {0x81, 0x95, 0x9F, 0xE0, 0xFC}) EXPECT_TRUE(IsDBCSLeadByte(static_cast<BYTE>(byte))) << byte;
        for (int byte : {0x5C, 0x80, 0xA0, 0xBE, 0xDF, 0xFD}) EXPECT_FALSE(IsDBCSLeadByte(static_cast<BYTE>(byte))) << byte;
        EXPECT_FALSE(IsDBCSLeadByteEx(1252, 0x95));
        const char text[] = "A\x95\x5C\\\x95";
        EXPECT_EQ(CharNextA(text), text + 1);
        EXPECT_EQ(CharNextA(text + 1), text + 3);  // over the whole of 表
        EXPECT_EQ(CharNextA(text + 4), text + 5);  // a lead byte before the end stands alone
        EXPECT_EQ(CharNextA(text + 5), text + 5);
        EXPECT_EQ(CharPrevA(text, text + 3), text + 1);
        EXPECT_EQ(CharPrevA(text, text + 4), text + 3);
        EXPECT_EQ(CharPrevA(text, text), text);
    });
    onDesktop(1252, [] {
        EXPECT_EQ(GetACP(), 1252u);
        EXPECT_FALSE(IsDBCSLeadByte(0x95));
        EXPECT_TRUE(IsDBCSLeadByteEx(932, 0x95));
        const char text[] = "\x95\\";
        EXPECT_EQ(CharNextA(text), text + 1);
    });
}

TEST(CodePage, ConversionFunctionsGiveSizesAndRefuseSmallBuffers) {
    onDesktop(932, [] {
        WCHAR wide[8] = {};
        EXPECT_EQ(MultiByteToWideChar(CP_ACP, 0, "\x95\x5C", -1, nullptr, 0), 2);
        EXPECT_EQ(MultiByteToWideChar(CP_ACP, 0, "\x95\x5C", -1, wide, 8), 2);
        EXPECT_EQ(wide[0], u'表');
        SetLastError(0);
        EXPECT_EQ(MultiByteToWideChar(CP_ACP, 0, "ab", 2, wide, 1), 0);
        EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INSUFFICIENT_BUFFER));
        char ansi[8] = {};
        BOOL defaulted = TRUE;
        EXPECT_EQ(WideCharToMultiByte(CP_ACP, 0, u"表", -1, ansi, 8, nullptr, &defaulted), 3);
        EXPECT_EQ(std::string(ansi), "\x95\x5C");
        EXPECT_FALSE(defaulted);
        EXPECT_EQ(WideCharToMultiByte(1252, 0, u"表", 1, ansi, 8, "*", &defaulted), 1);
        EXPECT_EQ(ansi[0], '*');
        EXPECT_TRUE(defaulted);
        EXPECT_EQ(WideCharToMultiByte(12345, 0, u"a", 1, ansi, 8, nullptr, nullptr), 0);
        EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
    });
}

namespace {

const char* const kKey = "HKLM\\Software\\Probe";

struct AnsiQueryCase {
    const char* name;
    UINT codePage;
    DWORD type;
    std::vector<std::uint8_t> stored;
    DWORD bufferSize;
    LONG result;
    DWORD sizeAfter;
    std::string read;  // the buffer's first sizeAfter bytes and one more, when the query succeeds
};

void PrintTo(const AnsiQueryCase& c, std::ostream* out) { *out << c.name; }

std::vector<std::uint8_t> utf16(const std::u16string& text) {
    std::vector<std::uint8_t> bytes;
    for (char16_t c : text) bytes.insert(bytes.end(), {static_cast<std::uint8_t>(c), static_cast<std::uint8_t>(c >> 8)});
    return bytes;
}

// Strings come out in the ANSI code page and are sized in its bytes; other types as stored.
// '#' marks a buffer byte the query left alone.
const AnsiQueryCase kAnsiQueries[] = {
    {"Latin", 1252, REG_SZ, utf16(std::u16string(u"Caf\u00E9") + u'\0'), 16, ERROR_SUCCESS, 5, std::string("Caf\xE9\0#", 6)},
    {"ShiftJis", 932, REG_SZ, utf16(std::u16string(u"表") + u'\0'), 16, ERROR_SUCCESS, 3, std::string("\x95\x5C\0#", 4)},
    {"Expandable", 932, REG_EXPAND_SZ, utf16(std::u16string(u"%A%") + u'\0'), 16, ERROR_SUCCESS, 4, std::string("%A%\0#", 5)},
    {"TerminatorAddedWhereThereIsRoom", 1252, REG_SZ, utf16(u"ab"), 3, ERROR_SUCCESS, 2, std::string("ab\0", 3)},
    {"NoRoomForATerminator", 1252, REG_SZ, utf16(u"ab"), 2, ERROR_SUCCESS, 2, "ab"},
    {"TooSmallForTheBytes", 932, REG_SZ, utf16(std::u16string(u"表") + u'\0'), 2, ERROR_MORE_DATA, 3, ""},
    {"EmptyValue", 1252, REG_SZ, {}, 16, ERROR_SUCCESS, 0, "#"},
    {"BinaryAsStored", 932, REG_BINARY, {0x95, 0x5C}, 16, ERROR_SUCCESS, 2, std::string("\x95\x5C#", 3)},
};

class AnsiQuery : public ::testing::TestWithParam<AnsiQueryCase> {};

}  // namespace

TEST_P(AnsiQuery, ReadsStringsInTheCodePage) {
    const AnsiQueryCase& c = GetParam();
    pocket::PocketDevice pc(pocket::desktopConfig(c.codePage));
    pc.setRegistryValue(kKey, u"v", c.type, c.stored);
    auto& p = inside(pc).startHosted("probe", [&c] {
        HKEY key = nullptr;
        EXPECT_EQ(RegOpenKeyExA(HKEY_LOCAL_MACHINE, "software\\PROBE", 0, KEY_READ, &key), ERROR_SUCCESS);
        char buffer[16];
        std::fill(std::begin(buffer), std::end(buffer), '#');
        DWORD type = 0;
        DWORD size = c.bufferSize;
        EXPECT_EQ(RegQueryValueExA(key, "V", nullptr, &type, reinterpret_cast<LPBYTE>(buffer), &size), c.result);
        EXPECT_EQ(size, c.sizeAfter);
        if (c.result == ERROR_SUCCESS) {
            EXPECT_EQ(type, c.type);
            EXPECT_EQ(std::string(buffer, c.read.size()), c.read);
        }
        DWORD needed = 0;
        EXPECT_EQ(RegQueryValueExA(key, "V", nullptr, nullptr, nullptr, &needed), ERROR_SUCCESS);
        EXPECT_EQ(needed, c.result == ERROR_MORE_DATA ? c.sizeAfter : size);
        RegCloseKey(key);
        return 0;
    });
    EXPECT_EQ(p.exitCode, 0);
}

INSTANTIATE_TEST_SUITE_P(Values, AnsiQuery, ::testing::ValuesIn(kAnsiQueries),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(CodePage, InvalidCharactersFailOnlyWhenAskedTo) {
    onDesktop(932, [] {
        WCHAR wide[8] = {};
        EXPECT_EQ(MultiByteToWideChar(CP_ACP, 0, "a\x85\x40", 3, wide, 8), 2);
        SetLastError(0);
        EXPECT_EQ(MultiByteToWideChar(CP_ACP, MB_ERR_INVALID_CHARS, "a\x85\x40", 3, wide, 8), 0);
        EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_NO_UNICODE_TRANSLATION));
        EXPECT_EQ(MultiByteToWideChar(CP_ACP, MB_ERR_INVALID_CHARS, "\xA0\x95\x5C", 3, wide, 8), 2);
        EXPECT_EQ(MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, "a\xFF", 2, wide, 8), 0);
        EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_NO_UNICODE_TRANSLATION));
        EXPECT_EQ(MultiByteToWideChar(CP_ACP, 0, "a\x95", -1, wide, 8), 3);  // the terminator is kept
        EXPECT_EQ(wide[2], u'\0');
    });
}
