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
                    // Backslashes outside quotes are plain text: registry paths need them.
                    Split{R"(show registry HKCU\Software\Orvalen)", {"show", "registry", R"(HKCU\Software\Orvalen)"}},
                    Split{"expect x html contains \"0 時間 0 分\"", {"expect", "x", "html", "contains", "0 時間 0 分"}}));

TEST(Tokenizer, RejectsWhatItCannotSplit) {
    for (const char* line : {"echo \"open", "echo \"", "echo \"a\" \"b", R"(echo "bad \n escape")", "echo \"ends in \\"})
        EXPECT_THROW(tokenize(line), pocketsim::SyntaxError) << line;
}

}  // namespace
