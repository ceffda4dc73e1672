#include <gtest/gtest.h>

#include "tokenizer.h"

namespace {

using pocketsim::tokenize;
using Words = std::vector<std::string>;

struct Split {
    const char* line;
    Words words;
};

class TokenizerSplits : public testing::TestWithParam<Split> {};

TEST_P(TokenizerSplits, IntoWords) { EXPECT_EQ(tokenize(GetParam().line), GetParam().words) << GetParam().line; }

INSTANTIATE_TEST_SUITE_P(
    Lines, TokenizerSplits,
    testing::Values(Split{"", {}}, Split{"   \t  ", {}}, Split{"# a comment", {}}, Split{"  # indented comment", {}},
                    Split{"advance 5s", {"advance", "5s"}}, Split{"  advance\t5s  \r", {"advance", "5s"}},
                    Split{"advance 5s # why", {"advance", "5s"}}, Split{"advance 5s #why", {"advance", "5s"}},
                    // A '#' inside a word is text: html and button names carry them.
                    Split{"echo cmd#1 a#", {"echo", "cmd#1", "a#"}},
                    Split{"echo \"two words\"", {"echo", "two words"}},
                    Split{"echo \"# not a comment\"", {"echo", "# not a comment"}},
                    Split{"echo \"\"", {"echo", ""}}, Split{"echo \"\" x", {"echo", "", "x"}},
                    Split{"echo a\"b c\"d", {"echo", "ab cd"}},
                    Split{R"(echo "say \"hi\"" "back\\slash")", {"echo", "say \"hi\"", "back\\slash"}},
                    Split{R"(echo "two\nlines" "a\tb\r")", {"echo", "two\nlines", "a\tb\r"}},
                    // Outside quotes an \n is a backslash and an n, as in HKCU\new.
                    Split{R"(echo a\nb)", {"echo", R"(a\nb)"}},
                    // Backslashes outside quotes are plain text: registry paths need them.
                    Split{R"(show registry HKCU\Software\Orvalen)", {"show", "registry", R"(HKCU\Software\Orvalen)"}},
                    Split{"expect x html contains \"0 時間 0 分\"", {"expect", "x", "html", "contains", "0 時間 0 分"}}));

TEST(Tokenizer, RejectsWhatItCannotSplit) {
    for (const char* line : {"echo \"open", "echo \"", "echo \"a\" \"b", R"(echo "bad \q escape")", R"(echo "\N")", "echo \"ends in \\"})
        EXPECT_THROW(tokenize(line), pocketsim::SyntaxError) << line;
}

}  // namespace

namespace {

TEST(Tokenizer, AcceptsOnlyUtf8Text) {
    for (const char* line : {"", "plain", "バッテリ情報 (充電中)", "\xC2\x80", "\xEF\xBF\xBF", "\xF0\x9F\x94\x8B", "\xF4\x8F\xBF\xBF"})
        EXPECT_TRUE(pocketsim::isValidUtf8(line)) << line;
    const std::string nul("a\0b", 3);
    // Shift_JIS for バッテリ, a lone continuation byte, cut-off sequences, an overlong slash,
    // a UTF-16 surrogate, a code point past U+10FFFF, and a NUL.
    for (const std::string& line : {std::string("\x83\x6F\x83\x62\x83\x65\x83\x8A"), std::string("\x80"),
                                    std::string("\xE3\x81"), std::string("x\xF0\x9F\x94"), std::string("\xC0\xAF"),
                                    std::string("\xED\xA0\x80"), std::string("\xF4\x90\x80\x80"), nul})
        EXPECT_FALSE(pocketsim::isValidUtf8(line)) << line;
}

}  // namespace
