// The version block each program ships: numbers, fixed part, and its one string block.
#include "resource_test_support.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

namespace {

using namespace resource_test;
using Strings = std::map<std::u16string, std::u16string>;

struct VersionCase {
    const char* program;
    std::vector<std::uint16_t> version;  // file and product alike
    std::uint16_t language;
    std::u16string block;
    std::uint32_t fileOS;
    Strings strings;                        // every string of the block but the free ones
    std::vector<std::u16string> freeWords;  // their wording is free, but they must be there
};

const VersionCase kCases[] = {
    {"voltmarap", {1, 0, 2, 0}, kJapanese, u"041104b0", 0x00050000,  // VOS_WINCE
     {{u"Comments", u""}, {u"CompanyName", u" "}, {u"FileDescription", u"voltmarap"},
      {u"FileVersion", u"1, 0, 2, 0"}, {u"InternalName", u"voltmarap"}, {u"LegalTrademarks", u""},
      {u"OriginalFilename", u"voltmarap.exe"}, {u"PrivateBuild", u""}, {u"ProductName", u"Voltmara"},
      {u"ProductVersion", u"1, 0, 2, 0"}, {u"SpecialBuild", u""}},
     {u"LegalCopyright"}},
    {"rcbridge", {1, 0, 2, 0}, kJapanese, u"041104b0", 0x00040004,  // VOS_NT_WINDOWS32
     {{u"Comments", u"for Toshiba GENIOe Series"}, {u"CompanyName", u" "},
      {u"FileDescription", u"Tunelark remote control utility"}, {u"FileVersion", u"1, 0, 2, 0"},
      {u"InternalName", u"rcbridge"}, {u"LegalTrademarks", u""}, {u"OriginalFilename", u"rcbridge.exe"},
      {u"PrivateBuild", u""}, {u"ProductVersion", u"1, 0, 2, 0"}, {u"SpecialBuild", u""}},
     {u"LegalCopyright", u"ProductName"}},
    {"appshut", {1, 0, 0, 1}, kEnglishUs, u"040904b0", 0x00050000,  // VOS_WINCE
     {{u"Comments", u""}, {u"CompanyName", u" "}, {u"FileDescription", u"appshut"},
      {u"FileVersion", u"1, 0, 0, 1"}, {u"InternalName", u"appshut"}, {u"LegalTrademarks", u""},
      {u"OriginalFilename", u"appshut.exe"}, {u"PrivateBuild", u""}, {u"ProductName", u"appshut"},
      {u"ProductVersion", u"1, 0, 0, 1"}, {u"SpecialBuild", u""}},
     {u"LegalCopyright"}},
};

void PrintTo(const VersionCase& c, std::ostream* out) { *out << c.program; }

class VersionBlock : public ::testing::TestWithParam<VersionCase> {};

}  // namespace

TEST_P(VersionBlock, IsAsShipped) {
    const VersionCase& c = GetParam();
    const auto resources = ResourceSet::load(std::string(POCKET_IMAGE_DIR) + "/" + c.program + ".res");
    EXPECT_EQ(resources.language(kResourceVersion, 1), c.language);
    const auto version = resources.version();
    ASSERT_TRUE(version.has_value());
    EXPECT_EQ(std::vector<std::uint16_t>(version->fileVersion, version->fileVersion + 4), c.version);
    EXPECT_EQ(std::vector<std::uint16_t>(version->productVersion, version->productVersion + 4), c.version);
    EXPECT_EQ(version->fileFlagsMask, 0x3Fu);
    EXPECT_EQ(version->fileFlags, 0u);
    EXPECT_EQ(version->fileOS, c.fileOS);
    EXPECT_EQ(version->fileType, 1u);  // VFT_APP
    EXPECT_EQ(version->fileSubtype, 0u);
    ASSERT_EQ(version->strings.size(), 1u);
    ASSERT_TRUE(version->strings.contains(c.block));
    Strings strings = version->strings.at(c.block);
    for (const std::u16string& word : c.freeWords) {
        EXPECT_FALSE(strings[word].empty()) << std::string(word.begin(), word.end());
        strings.erase(word);
    }
    EXPECT_EQ(strings, c.strings);
    EXPECT_EQ(version->translations, (std::vector<std::pair<std::uint16_t, std::uint16_t>>{{c.language, 1200}}));
}

INSTANTIATE_TEST_SUITE_P(Programs, VersionBlock, ::testing::ValuesIn(kCases),
                         [](const auto& info) { return std::string(info.param.program); });
