#include <gtest/gtest.h>

#include <sstream>

#include "arguments.h"
#include "commands.h"

namespace {

using namespace pocketsim;

TEST(Arguments, DurationsInMilliseconds) {
    const std::pair<const char*, std::uint64_t> cases[] = {
        {"0", 0},          {"450", 450},          {"450ms", 450},         {"5s", 5000},
        {"90m", 5400000},  {"2h", 7200000},       {"1h30m", 5400000},     {"1h30m15s250ms", 5415250},
        {"3d", 259200000}, {"1d1ms", 86400001},   {"60000", 60000},
        {"50d", 4320000000}  // past the 32-bit tick count
    };
    for (const auto& [text, ms] : cases) EXPECT_EQ(parseDuration(text), ms) << text;
}

TEST(Arguments, DurationGarbageIsRejected) {
    for (const char* text : {"", "s", "5x", "5 s", "-5s", "1.5s", "5S", "1h1h", "30m1h", "5ms5s", "h5", "5s3", "0x10",
                             "99999999999999999999", "99999999999d"})
        EXPECT_THROW(parseDuration(text), UsageError) << text;
}

TEST(Arguments, NumbersInDecimalOrHexWithinTheirLimit) {
    EXPECT_EQ(parseNumber("0", 10, "n"), 0u);
    EXPECT_EQ(parseNumber("255", 255, "n"), 255u);
    EXPECT_EQ(parseNumber("0xff", 255, "n"), 255u);
    EXPECT_EQ(parseNumber("0XFFFFFFFF", 0xFFFFFFFFu, "n"), 0xFFFFFFFFu);
    EXPECT_EQ(parseNumber("18446744073709551615", UINT64_MAX, "n"), UINT64_MAX);
    for (const char* text : {"", "256", "0x100", "-1", "+1", "1e3", "12a", "0x", "0xg", "4294967296",
                             "18446744073709551616"})
        EXPECT_THROW(parseNumber(text, std::string(text).size() > 15 ? UINT64_MAX : 255, "n"), UsageError) << text;
    // A digit larger than the limit itself must not slip through an unsigned wrap.
    EXPECT_THROW(parseNumber("5", 1, "n"), UsageError);
}

TEST(Arguments, HexBytes) {
    using Bytes = std::vector<std::uint8_t>;
    EXPECT_EQ(parseHexBytes({}), Bytes{});
    EXPECT_EQ(parseHexBytes({""}), Bytes{});
    EXPECT_EQ(parseHexBytes({"0102fF"}), (Bytes{0x01, 0x02, 0xff}));
    EXPECT_EQ(parseHexBytes({"01", "02", "ff"}), (Bytes{0x01, 0x02, 0xff}));
    for (const std::vector<std::string>& words : std::vector<std::vector<std::string>>{{"1"}, {"0g"}, {"0x01"}, {"01", "2"}})
        EXPECT_THROW(parseHexBytes(words), UsageError) << words[0];
}

TEST(Arguments, ErrorCodesByNameOrNumber) {
    EXPECT_EQ(parseErrorCode("ACCESS_DENIED"), 5u);
    EXPECT_EQ(parseErrorCode("error_access_denied"), 5u);
    EXPECT_EQ(parseErrorCode("ERROR_FILE_NOT_FOUND"), 2u);
    EXPECT_EQ(parseErrorCode("1018"), 1018u);
    EXPECT_EQ(parseErrorCode("0x5"), 5u);
    EXPECT_THROW(parseErrorCode("DENIED"), UsageError);
    EXPECT_THROW(parseErrorCode(""), UsageError);
    EXPECT_EQ(errorName(5), "ERROR_ACCESS_DENIED");
    EXPECT_EQ(errorName(4242), "error 4242");
}

TEST(Arguments, ClassIdsInAnySpellingOrByProgram) {
    const std::string canonical = "{CFC24712-2A07-4ACA-8D8C-46FB8B7C55F5}";
    for (const char* text : {"voltmarap", "{CFC24712-2A07-4ACA-8D8C-46FB8B7C55F5}", "{cfc24712-2a07-4aca-8d8c-46fb8b7c55f5}",
                             "CFC24712-2A07-4ACA-8D8C-46FB8B7C55F5", "CFC247122A074ACA8D8C46FB8B7C55F5"})
        EXPECT_EQ(parseClsid(text), canonical) << text;
    for (const char* text : {"", "Voltmarap", "{CFC24712-2A07-4ACA-8D8C-46FB8B7C55F}", "{CFC24712-2A07-4ACA-8D8C-46FB8B7C55F5A}",
                             "{XFC24712-2A07-4ACA-8D8C-46FB8B7C55F5}", "appshut"})
        EXPECT_THROW(parseClsid(text), UsageError) << text;
}

TEST(Arguments, RegistryKeysStartAtARoot) {
    const std::pair<const char*, const char*> cases[] = {
        {R"(HKCU\Software\Orvalen)", R"(HKCU\Software\Orvalen)"},
        {R"(HKEY_CURRENT_USER\Software)", R"(HKCU\Software)"},
        {"hklm/Software/Apps", R"(HKLM\Software\Apps)"},
        {"HKU", "HKU"},
        {R"(HKEY_CLASSES_ROOT\x)", R"(HKCR\x)"},
    };
    for (const auto& [text, path] : cases) EXPECT_EQ(parseRegistryKey(text), path) << text;
    for (const char* text : {"", "Software\\Orvalen", "HKXX\\a", "\\HKCU\\a", "HKCUx\\a"})
        EXPECT_THROW(parseRegistryKey(text), UsageError) << text;
}

}  // namespace

namespace {

// Help on one command by its first words; a slip gets a suggestion.
TEST(Help, OnOneCommandOrASuggestion) {
    struct Row {
        const char* topic;
        const char* shown;  // a line the help prints, or the start of the error
    };
    for (const Row& row : {Row{"stop", "  stop call FUNCTION [OCCURRENCE [PROGRAM]]"}, Row{"stylus down", "  stylus up X Y"},
                           Row{"stpo", "no command begins with \"stpo\" (did you mean stop?)"}}) {
        std::ostringstream out;
        std::string error;
        try {
            pocketsim::printHelp(out, row.topic);
        } catch (const pocketsim::UsageError& e) {
            error = e.what();
        }
        EXPECT_NE((out.str() + error).find(row.shown), std::string::npos) << row.topic << ":\n" << out.str() << error;
    }
}

}  // namespace
