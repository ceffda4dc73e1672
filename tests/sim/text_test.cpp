// The platform's wide-string runtime and wsprintfW.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cwchar>
#include <string>

namespace {

constexpr int kLimit = 1024;

// ---- wsprintfW -------------------------------------------------------------------------------

struct FormatCase {
    const char* name;
    std::u16string expected;
    int (*format)(WCHAR* out);
};

void PrintTo(const FormatCase& c, std::ostream* os) { *os << c.name; }

class WsprintfTest : public testing::TestWithParam<FormatCase> {};

TEST_P(WsprintfTest, StoresTextAndCountsIt) {
    WCHAR out[kLimit + 8];
    std::fill(std::begin(out), std::end(out), u'#');
    const int n = GetParam().format(out);
    EXPECT_EQ(std::u16string(out, n > 0 ? n : 0), GetParam().expected);
    EXPECT_EQ(n, static_cast<int>(GetParam().expected.size()));
    EXPECT_EQ(out[GetParam().expected.size()], u'\0');
}

const char kHighLatin1[] = "\xE9t\xE9";
const WCHAR kUnterminated[3] = {u'a', u'b', u'c'};

const FormatCase kFormatCases[] = {
    {"battery_notification",
     u"<HTML><BODY><P>バッテリ残量: 85 % (充電中)<BR>連続バッテリ使用時間: 1 時間 5 分</P>"
     u"<p align=right><input type=button name='cmd:1' value='リセット'></p></BODY></HTML>",
     [](WCHAR* o) {
         return wsprintfW(o,
                          TEXT("<HTML><BODY><P>バッテリ残量: %d %%%s<BR>連続バッテリ使用時間: %d 時間 %d 分</P>")
                              TEXT("<p align=right><input type=button name='cmd:%d' value='リセット'></p>")
                                  TEXT("</BODY></HTML>"),
                          85, TEXT(" (充電中)"), 1, 5, 1);
     }},
    {"plain_text", u"no directives", [](WCHAR* o) { return wsprintfW(o, u"no directives"); }},
    {"empty_format", u"", [](WCHAR* o) { return wsprintfW(o, u""); }},
    {"percent", u"100%", [](WCHAR* o) { return wsprintfW(o, u"%d%%", 100); }},

    {"zero", u"0", [](WCHAR* o) { return wsprintfW(o, u"%d", 0); }},
    {"negative", u"-42", [](WCHAR* o) { return wsprintfW(o, u"%i", -42); }},
    {"int_min", u"-2147483648", [](WCHAR* o) { return wsprintfW(o, u"%d", INT_MIN); }},
    {"int_max", u"2147483647", [](WCHAR* o) { return wsprintfW(o, u"%ld", static_cast<long>(INT_MAX)); }},
    {"long_i", u"-7", [](WCHAR* o) { return wsprintfW(o, u"%li", -7L); }},
    {"unsigned_of_minus_one", u"4294967295", [](WCHAR* o) { return wsprintfW(o, u"%u", -1); }},
    {"long_unsigned", u"4000000000", [](WCHAR* o) { return wsprintfW(o, u"%lu", 4000000000UL); }},
    {"hex", u"ff FF deadbeef DEADBEEF",
     [](WCHAR* o) { return wsprintfW(o, u"%x %X %lx %lX", 255, 255, 0xDEADBEEFUL, 0xDEADBEEFUL); }},
    {"hex_of_negative", u"ffffffff", [](WCHAR* o) { return wsprintfW(o, u"%x", -1); }},
    {"hex_prefix", u"0xff 0XFF 0x0", [](WCHAR* o) { return wsprintfW(o, u"%#x %#X %#x", 255, 255, 0); }},

    // 'h' changes nothing for a number: the argument is a 32-bit int all the same.
    {"short_signed", u"65535 98304", [](WCHAR* o) { return wsprintfW(o, u"%hd %hd", 0xFFFF, 0x18000); }},
    {"short_unsigned", u"4294967295", [](WCHAR* o) { return wsprintfW(o, u"%hu", -1); }},
    {"short_hex", u"12345", [](WCHAR* o) { return wsprintfW(o, u"%hx", 0x12345); }},

    {"width_right", u"[   42]", [](WCHAR* o) { return wsprintfW(o, u"[%5d]", 42); }},
    {"width_left", u"[42   ]", [](WCHAR* o) { return wsprintfW(o, u"[%-5d]", 42); }},
    {"width_smaller_than_number", u"12345", [](WCHAR* o) { return wsprintfW(o, u"%2d", 12345); }},
    {"zero_pad_after_sign", u"-0042", [](WCHAR* o) { return wsprintfW(o, u"%05d", -42); }},
    {"zero_pad_after_prefix", u"0x0000ff", [](WCHAR* o) { return wsprintfW(o, u"%#06x", 255); }},
    {"width_without_prefix", u"[    0xff][0xff    ]", [](WCHAR* o) { return wsprintfW(o, u"[%#6x][%-#6x]", 255, 255); }},
    {"left_beats_zero", u"[42   ]", [](WCHAR* o) { return wsprintfW(o, u"[%-05d]", 42); }},
    {"precision_counts_the_sign", u"007 -07 0x00a", [](WCHAR* o) { return wsprintfW(o, u"%.3d %.3d %#.3x", 7, -7, 10); }},
    {"precision_and_width", u"[     -07]", [](WCHAR* o) { return wsprintfW(o, u"[%8.3d]", -7); }},
    {"zero_pad_despite_precision", u"[00000007] [-0000042]",
     [](WCHAR* o) { return wsprintfW(o, u"[%08.3u] [%08.5d]", 7u, -42); }},
    {"precision_zero_still_one_digit", u"0", [](WCHAR* o) { return wsprintfW(o, u"%.0d", 0); }},
    {"pointer", u"00001234", [](WCHAR* o) { return wsprintfW(o, u"%p", reinterpret_cast<void*>(0x1234)); }},

    {"wide_chars", u"ZYXW", [](WCHAR* o) { return wsprintfW(o, u"%c%lc%wc%lC", u'Z', u'Y', u'X', u'W'); }},
    {"wide_char_non_ascii", u"電", [](WCHAR* o) { return wsprintfW(o, u"%c", u'電'); }},
    {"narrow_chars", u"abé", [](WCHAR* o) { return wsprintfW(o, u"%C%hc%hC", 'a', 'b', '\xE9'); }},
    {"char_width", u"[  x][x  ]", [](WCHAR* o) { return wsprintfW(o, u"[%3c][%-3c]", u'x', u'x'); }},
    {"char_zero_is_stored", std::u16string(u"a\0b", 3), [](WCHAR* o) { return wsprintfW(o, u"a%cb", 0); }},

    {"wide_strings", u"one two three four",
     [](WCHAR* o) { return wsprintfW(o, u"%s %ls %ws %lS", u"one", u"two", u"three", u"four"); }},
    {"narrow_strings", u"one two three",
     [](WCHAR* o) { return wsprintfW(o, u"%S %hs %hS", "one", "two", "three"); }},
    {"narrow_string_widened_latin1", u"été", [](WCHAR* o) { return wsprintfW(o, u"%S", kHighLatin1); }},
    {"empty_string", u"[]", [](WCHAR* o) { return wsprintfW(o, u"[%s]", u""); }},
    {"null_wide_string", u"(null)", [](WCHAR* o) { return wsprintfW(o, u"%s", static_cast<const WCHAR*>(nullptr)); }},
    {"null_narrow_string", u"(null)", [](WCHAR* o) { return wsprintfW(o, u"%hs", static_cast<const char*>(nullptr)); }},
    {"null_string_precision", u"(nu", [](WCHAR* o) { return wsprintfW(o, u"%.3s", static_cast<const WCHAR*>(nullptr)); }},
    {"string_precision", u"abc", [](WCHAR* o) { return wsprintfW(o, u"%.3s", u"abcdef"); }},
    {"string_precision_reads_no_further", u"abc", [](WCHAR* o) { return wsprintfW(o, u"%.3s", kUnterminated); }},
    {"narrow_string_precision", u"ab", [](WCHAR* o) { return wsprintfW(o, u"%.2S", "abcdef"); }},
    {"string_width_and_precision", u"[    ab]", [](WCHAR* o) { return wsprintfW(o, u"[%6.2s]", u"abcdef"); }},
    {"string_left", u"[ab    ]", [](WCHAR* o) { return wsprintfW(o, u"[%-6s]", u"ab"); }},
    {"string_zero_flag_pads_spaces", u"[   ab]", [](WCHAR* o) { return wsprintfW(o, u"[%05s]", u"ab"); }},

    {"unknown_type_copied", u"q", [](WCHAR* o) { return wsprintfW(o, u"%q"); }},
    {"unknown_type_drops_flags", u"[q]", [](WCHAR* o) { return wsprintfW(o, u"[%-5q]"); }},
    {"unknown_type_takes_no_argument", u"I64d 5", [](WCHAR* o) { return wsprintfW(o, u"%I64d %d", 5); }},
    {"no_floating_point", u"f 3", [](WCHAR* o) { return wsprintfW(o, u"%f %d", 3); }},
    {"no_star_width", u"*d 3", [](WCHAR* o) { return wsprintfW(o, u"%*d %d", 3); }},
    {"percent_at_end", u"100", [](WCHAR* o) { return wsprintfW(o, u"100%"); }},
    {"flags_at_end", u"a", [](WCHAR* o) { return wsprintfW(o, u"a%-0"); }},

    {"null_format", u"", [](WCHAR* o) { return wsprintfW(o, nullptr); }},
    {"wvsprintf", u"7 seven",
     [](WCHAR* o) {
         struct V {
             static int call(WCHAR* out, const WCHAR* fmt, ...) {
                 va_list args;
                 va_start(args, fmt);
                 const int n = wvsprintfW(out, fmt, args);
                 va_end(args);
                 return n;
             }
         };
         return V::call(o, u"%d %s", 7, u"seven");
     }},
};

INSTANTIATE_TEST_SUITE_P(Formats, WsprintfTest, testing::ValuesIn(kFormatCases),
                         [](const testing::TestParamInfo<FormatCase>& info) { return info.param.name; });

// Output is cut at 1023 characters whatever produces it; the terminator always fits and nothing
// past it is touched.
struct TruncationCase {
    const char* name;
    int (*format)(WCHAR* out, const WCHAR* longText);
    WCHAR fill;
};

void PrintTo(const TruncationCase& c, std::ostream* os) { *os << c.name; }

class WsprintfTruncationTest : public testing::TestWithParam<TruncationCase> {};

TEST_P(WsprintfTruncationTest, StopsAtLimit) {
    const std::u16string longText(2000, u'w');
    WCHAR out[kLimit + 16];
    std::fill(std::begin(out), std::end(out), u'#');
    const int n = GetParam().format(out, longText.c_str());
    EXPECT_EQ(n, kLimit - 1);
    EXPECT_EQ(std::u16string(out, kLimit - 1), std::u16string(kLimit - 1, GetParam().fill));
    EXPECT_EQ(out[kLimit - 1], u'\0');
    EXPECT_EQ(out[kLimit], u'#');
}

const TruncationCase kTruncationCases[] = {
    {"literal_text", [](WCHAR* o, const WCHAR* t) { return wsprintfW(o, t); }, u'w'},
    {"string_argument", [](WCHAR* o, const WCHAR* t) { return wsprintfW(o, u"%s%d", t, 12345); }, u'w'},
    {"narrow_string_argument",
     [](WCHAR* o, const WCHAR*) {
         static const std::string narrow(3000, 'n');
         return wsprintfW(o, u"%S", narrow.c_str());
     },
     u'n'},
    {"huge_width", [](WCHAR* o, const WCHAR*) { return wsprintfW(o, u"%99999999999999999999d", 1); }, u' '},
    {"huge_precision", [](WCHAR* o, const WCHAR*) { return wsprintfW(o, u"%.99999999999d", 1); }, u'0'},
    {"huge_zero_pad", [](WCHAR* o, const WCHAR*) { return wsprintfW(o, u"%01100d", 1); }, u'0'},
};

INSTANTIATE_TEST_SUITE_P(Limits, WsprintfTruncationTest, testing::ValuesIn(kTruncationCases),
                         [](const testing::TestParamInfo<TruncationCase>& info) { return info.param.name; });

TEST(Wsprintf, HugeLeftWidthKeepsItsFirstCharacter) {
    WCHAR out[kLimit];
    ASSERT_EQ(wsprintfW(out, u"x%-99999999999s", u""), kLimit - 1);
    EXPECT_EQ(out[0], u'x');
    EXPECT_EQ(out[1], u' ');
}

TEST(Wsprintf, OutputOfExactlyTheLimitIsKept) {
    const std::u16string text(kLimit - 2, u'a');
    WCHAR out[kLimit];
    EXPECT_EQ(wsprintfW(out, u"%s%c", text.c_str(), u'z'), kLimit - 1);
    EXPECT_EQ(out[kLimit - 2], u'z');
    EXPECT_EQ(out[kLimit - 1], u'\0');
}

TEST(Wsprintf, NullBufferWritesNothing) { EXPECT_EQ(wsprintfW(nullptr, u"%d", 5), 0); }

// ---- wide-string runtime ---------------------------------------------------------------------

TEST(WideString, Length) {
    EXPECT_EQ(wcslen(u""), 0u);
    EXPECT_EQ(wcslen(u"abc"), 3u);
    EXPECT_EQ(wcslen(u"バッテリ"), 4u);
    EXPECT_EQ(lstrlenW(u"abc"), 3);
    EXPECT_EQ(lstrlenW(nullptr), 0);
}

TEST(WideString, GlibcWideFunctionsAreUntouched) {
    // Ours overload on char16_t; the process's wchar_t functions must still be glibc's.
    EXPECT_EQ(std::wcslen(L"abcd"), 4u);
    EXPECT_EQ(wcscmp(L"a", L"b"), std::wcscmp(L"a", L"b"));
}

TEST(WideString, CopyAndConcatenate) {
    WCHAR buf[16];
    EXPECT_EQ(wcscpy(buf, u"ab"), buf);
    EXPECT_EQ(std::u16string(buf), u"ab");
    EXPECT_EQ(wcscat(buf, u"cd"), buf);
    EXPECT_EQ(std::u16string(buf), u"abcd");
    EXPECT_EQ(wcscat(buf, u""), buf);
    EXPECT_EQ(std::u16string(buf), u"abcd");
    wcscpy(buf, u"");
    EXPECT_EQ(buf[0], u'\0');
}

TEST(WideString, NcopyPadsWithZerosAndLeavesFullCopyUnterminated) {
    WCHAR buf[8];
    std::fill(std::begin(buf), std::end(buf), u'x');
    EXPECT_EQ(wcsncpy(buf, u"ab", 5), buf);
    EXPECT_EQ(std::u16string(buf, 8), std::u16string(u"ab\0\0\0xxx", 8));

    std::fill(std::begin(buf), std::end(buf), u'x');
    wcsncpy(buf, u"abcdef", 3);
    EXPECT_EQ(std::u16string(buf, 8), u"abcxxxxx");

    std::fill(std::begin(buf), std::end(buf), u'x');
    wcsncpy(buf, u"", 0);
    EXPECT_EQ(buf[0], u'x');
}

TEST(WideString, NcatAlwaysTerminates) {
    WCHAR buf[16];
    std::fill(std::begin(buf), std::end(buf), u'x');
    wcscpy(buf, u"ab");
    wcsncat(buf, u"cdef", 2);
    EXPECT_EQ(std::u16string(buf), u"abcd");
    wcsncat(buf, u"ef", 10);
    EXPECT_EQ(std::u16string(buf), u"abcdef");
    wcsncat(buf, u"gh", 0);
    EXPECT_EQ(std::u16string(buf), u"abcdef");
    EXPECT_EQ(buf[7], u'x');
}

struct CompareCase {
    const WCHAR* a;
    const WCHAR* b;
    int exact;        // wcscmp, lstrcmpW
    int insensitive;  // _wcsicmp, lstrcmpiW
};

class CompareTest : public testing::TestWithParam<CompareCase> {};

TEST_P(CompareTest, Ordering) {
    const CompareCase& c = GetParam();
    EXPECT_EQ(wcscmp(c.a, c.b), c.exact);
    EXPECT_EQ(wcsncmp(c.a, c.b, 100), c.exact);
    EXPECT_EQ(lstrcmpW(c.a, c.b), c.exact);
    EXPECT_EQ(_wcsicmp(c.a, c.b), c.insensitive);
    EXPECT_EQ(_wcsnicmp(c.a, c.b, 100), c.insensitive);
    EXPECT_EQ(lstrcmpiW(c.a, c.b), c.insensitive);
    // Swapping the operands reverses the order.
    EXPECT_EQ(wcscmp(c.b, c.a), -c.exact);
    EXPECT_EQ(_wcsicmp(c.b, c.a), -c.insensitive);
}

INSTANTIATE_TEST_SUITE_P(Strings, CompareTest,
                         testing::Values(CompareCase{u"", u"", 0, 0}, CompareCase{u"a", u"", 1, 1},
                                         CompareCase{u"abc", u"abd", -1, -1}, CompareCase{u"ab", u"abc", -1, -1},
                                         CompareCase{u"ABC", u"abc", -1, 0}, CompareCase{u"Zeta", u"alpha", -1, 1},
                                         // Folding is to lower case: '_' sorts before letters.
                                         CompareCase{u"_", u"A", 1, -1},
                                         // Code units compare unsigned.
                                         CompareCase{u"\uFF41", u"a", 1, 1},
                                         CompareCase{u"ÉTÉ", u"été", -1, 0}, CompareCase{u"×", u"÷", -1, -1},
                                         CompareCase{u"ＡＢＣ", u"ａｂｃ", -1, 0},
                                         CompareCase{u"ЖЁ", u"жё", -1, 0}, CompareCase{u"ΣΩ", u"σω", -1, 0},
                                         CompareCase{u"Ÿ", u"ÿ", 1, 0}, CompareCase{u"バッテリ", u"バッテリ", 0, 0}));

TEST(WideString, BoundedComparisonsStopAtCount) {
    EXPECT_EQ(wcsncmp(u"abcX", u"abcY", 3), 0);
    EXPECT_EQ(wcsncmp(u"abcX", u"abcY", 4), -1);
    EXPECT_EQ(wcsncmp(u"a", u"b", 0), 0);
    EXPECT_EQ(_wcsnicmp(u"ABCx", u"abcy", 3), 0);
    EXPECT_EQ(_wcsnicmp(u"ABCx", u"abcy", 4), -1);
    // Equal strings shorter than the count.
    EXPECT_EQ(wcsncmp(u"ab", u"ab", 10), 0);
    EXPECT_EQ(_wcsnicmp(u"ab", u"AB", 10), 0);
}

TEST(WideString, NullStringsOrderFirstInLstrcmp) {
    EXPECT_EQ(lstrcmpW(nullptr, nullptr), 0);
    EXPECT_EQ(lstrcmpW(nullptr, u""), -1);
    EXPECT_EQ(lstrcmpW(u"", nullptr), 1);
    EXPECT_EQ(lstrcmpiW(nullptr, u"a"), -1);
    EXPECT_EQ(lstrcmpiW(u"a", nullptr), 1);
}

TEST(WideString, FindCharacter) {
    static const WCHAR s[] = u"a/b/c";
    EXPECT_EQ(wcschr(s, u'/'), s + 1);
    EXPECT_EQ(wcsrchr(s, u'/'), s + 3);
    EXPECT_EQ(wcschr(s, u'x'), nullptr);
    EXPECT_EQ(wcsrchr(s, u'x'), nullptr);
    // The terminator is part of the string.
    EXPECT_EQ(wcschr(s, u'\0'), s + 5);
    EXPECT_EQ(wcsrchr(s, u'\0'), s + 5);
    static const WCHAR empty[] = u"";
    EXPECT_EQ(wcschr(empty, u'\0'), empty);
    EXPECT_EQ(wcsrchr(empty, u'\0'), empty);
    EXPECT_EQ(wcsrchr(empty, u'a'), nullptr);

    WCHAR path[] = u"\\Windows\\beep.wav";
    WCHAR* slash = wcsrchr(path, u'\\');  // the non-const overload lets the caller cut the path
    ASSERT_EQ(slash, path + 8);
    slash[1] = 0;
    EXPECT_EQ(std::u16string(path), u"\\Windows\\");
    EXPECT_EQ(wcschr(path, u'W'), path + 1);
}

TEST(WideString, FindSubstring) {
    static const WCHAR s[] = u"aaab";
    EXPECT_EQ(wcsstr(s, u"aab"), s + 1);
    EXPECT_EQ(wcsstr(s, u""), s);
    EXPECT_EQ(wcsstr(s, u"b"), s + 3);
    EXPECT_EQ(wcsstr(s, u"aaabb"), nullptr);
    EXPECT_EQ(wcsstr(s, u"ba"), nullptr);
    static const WCHAR empty[] = u"";
    EXPECT_EQ(wcsstr(empty, u""), empty);
    EXPECT_EQ(wcsstr(empty, u"a"), nullptr);
    WCHAR text[] = u"cmd:12";
    WCHAR* found = wcsstr(text, u":");
    ASSERT_EQ(found, text + 3);
    EXPECT_EQ(_wtoi(found + 1), 12);
}

struct ParseCase {
    const WCHAR* text;
    int value;
};

class WtoiTest : public testing::TestWithParam<ParseCase> {};

TEST_P(WtoiTest, Parses) {
    EXPECT_EQ(_wtoi(GetParam().text), GetParam().value);
    EXPECT_EQ(_wtol(GetParam().text), GetParam().value);  // long is 32 bits on the target
}

INSTANTIATE_TEST_SUITE_P(Numbers, WtoiTest,
                         testing::Values(ParseCase{u"123", 123}, ParseCase{u"  -45", -45}, ParseCase{u"+7", 7},
                                         ParseCase{u"\t\r\n 5", 5}, ParseCase{u"12abc", 12}, ParseCase{u"abc", 0},
                                         ParseCase{u"", 0}, ParseCase{u"- 5", 0}, ParseCase{u"--5", 0},
                                         ParseCase{u"007", 7}, ParseCase{u"１２", 0},
                                         ParseCase{u"2147483647", INT_MAX}, ParseCase{u"2147483648", INT_MAX},
                                         ParseCase{u"-2147483648", INT_MIN}, ParseCase{u"-2147483649", INT_MIN},
                                         ParseCase{u"99999999999999999999", INT_MAX},
                                         ParseCase{u"-99999999999999999999", INT_MIN}));

TEST(WideString, CaseMappingsInvertEachOther) {
    int lowered = 0;
    for (unsigned u = 0; u <= 0xFFFF; ++u) {
        const WCHAR c = static_cast<WCHAR>(u);
        if (towlower(c) != c) {
            ++lowered;
            EXPECT_EQ(towupper(towlower(c)), c) << std::hex << u;
        }
        // Final sigma has no lower case of its own to come back to.
        if (towupper(c) != c && c != u'ς') {
            EXPECT_EQ(towlower(towupper(c)), c) << std::hex << u;
        }
    }
    // 26 ASCII, 30 Latin-1 and Y diaeresis, 24 Greek, 48 Cyrillic, 26 fullwidth.
    EXPECT_EQ(lowered, 26 + 31 + 24 + 48 + 26);
    EXPECT_EQ(towupper(u'ς'), u'Σ');
    EXPECT_EQ(towlower(u'ß'), u'ß');
    EXPECT_EQ(towupper(u'ß'), u'ß');
    EXPECT_EQ(towupper(u'ア'), u'ア');
}

TEST(WideString, LstrCopiesTolerateNull) {
    WCHAR buf[8] = u"keep";
    EXPECT_EQ(lstrcpyW(buf, nullptr), nullptr);
    EXPECT_EQ(lstrcpyW(nullptr, u"x"), nullptr);
    EXPECT_EQ(lstrcatW(buf, nullptr), nullptr);
    EXPECT_EQ(lstrcpynW(buf, nullptr, 8), nullptr);
    EXPECT_EQ(std::u16string(buf), u"keep");
    EXPECT_EQ(lstrcpyW(buf, u"ab"), buf);
    EXPECT_EQ(lstrcatW(buf, u"cd"), buf);
    EXPECT_EQ(std::u16string(buf), u"abcd");
}

struct CopynCase {
    int maxLength;
    std::u16string expected;  // buffer contents up to its first '#'
};

class LstrcpynTest : public testing::TestWithParam<CopynCase> {};

TEST_P(LstrcpynTest, CopiesAtMostOneLessAndTerminates) {
    WCHAR buf[10];
    std::fill(std::begin(buf), std::end(buf), u'#');
    EXPECT_EQ(lstrcpynW(buf, u"abcdef", GetParam().maxLength), buf);
    EXPECT_EQ(std::u16string(buf, std::find(std::begin(buf), std::end(buf), u'#')), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Lengths, LstrcpynTest,
                         testing::Values(CopynCase{-1, u""}, CopynCase{0, u""},
                                         CopynCase{1, std::u16string(u"\0", 1)},
                                         CopynCase{4, std::u16string(u"abc\0", 4)},
                                         CopynCase{7, std::u16string(u"abcdef\0", 7)},
                                         CopynCase{10, std::u16string(u"abcdef\0", 7)}));

TEST(WideString, MemoryMacros) {
    BYTE b[6] = {1, 2, 3, 4, 5, 6};
    FillMemory(b, 2, 0xAB);
    ZeroMemory(b + 2, 1);
    EXPECT_EQ(b[0], 0xAB);
    EXPECT_EQ(b[1], 0xAB);
    EXPECT_EQ(b[2], 0);
    MoveMemory(b + 1, b, 4);  // overlapping
    EXPECT_EQ(b[1], 0xAB);
    EXPECT_EQ(b[2], 0xAB);
    EXPECT_EQ(b[3], 0);
    EXPECT_EQ(b[4], 4);
    CopyMemory(b, b + 4, 2);
    EXPECT_EQ(b[0], 4);
    EXPECT_EQ(b[1], 6);
}

}  // namespace
