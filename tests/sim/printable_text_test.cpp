// What the tools print of text from scripts and programs is always valid UTF-8, and says what
// the bytes were.
#include <gtest/gtest.h>

#include "utf.h"

namespace {

struct PrintableCase {
    const char* name;
    std::string bytes;
    std::size_t maxBytes;
    std::string expected;
};

class Printable : public ::testing::TestWithParam<PrintableCase> {};

TEST_P(Printable, EscapesWhatIsNotText) {
    EXPECT_EQ(sim::printableUtf8(GetParam().bytes, GetParam().maxBytes), GetParam().expected);
}

const std::u16string kLoneSurrogate = {u'a', char16_t(0xD800), u'b'};

INSTANTIATE_TEST_SUITE_P(
    Bytes, Printable,
    ::testing::Values(PrintableCase{"Japanese", "バッテリ 50 %", std::string::npos, "バッテリ 50 %"},
                      PrintableCase{"ControlAndBinary", std::string("a\x01\xFF\0b\tc", 7), std::string::npos,
                                    "a\\x01\\xFF\\x00b\tc"},
                      PrintableCase{"LoneSurrogateFromTheDevice", sim::toUtf8(kLoneSurrogate), std::string::npos,
                                    "a\\uD800b"},
                      PrintableCase{"Overlong", "\xC0\xAF\xE0\x80\xAF", std::string::npos, "\\xC0\\xAF\\xE0\\x80\\xAF"},
                      PrintableCase{"BeyondUnicode", "\xF4\x90\x80\x80", std::string::npos, "\\xF4\\x90\\x80\\x80"},
                      PrintableCase{"TruncatedSequence", "\xE3\x83", std::string::npos, "\\xE3\\x83"},
                      PrintableCase{"CutLong", std::string(10, 'x'), 4, "xxxx..."}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
