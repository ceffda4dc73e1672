// "BatteryCount" as anything may have left it in the registry: every value type, at lengths
// around the 4 bytes the monitor reads and far beyond. The type is never looked at; a value of up
// to 4 bytes is the counter (a shorter one widened with zeros), a longer one counts as 0; either
// way the first accounting step stores a proper REG_DWORD.
#include <gmock/gmock.h>

#include <cstdint>
#include <vector>

#include "monitor_fixture.h"

using namespace monitor_test;
using ::testing::HasSubstr;

namespace {

struct TypeCase {
    const char* name;
    DWORD type;
};

constexpr TypeCase kTypes[] = {
    {"None", REG_NONE},
    {"String", REG_SZ},
    {"ExpandString", REG_EXPAND_SZ},
    {"Binary", REG_BINARY},
    {"Dword", REG_DWORD},
    {"DwordBigEndian", REG_DWORD_BIG_ENDIAN},
    {"Link", REG_LINK},
    {"MultiString", REG_MULTI_SZ},
    {"ResourceList", 8},
    {"Qword", REG_QWORD},
    {"UnknownType", 0xDEADBEEF},
};

constexpr std::size_t kLengths[] = {0, 1, 2, 3, 4, 5, 259, 260, 261, 262, 4096};

std::vector<std::uint8_t> pattern(std::size_t length, std::uint8_t fill) {
    std::vector<std::uint8_t> data(length);
    for (std::size_t i = 0; i < length; ++i) data[i] = fill ? fill : static_cast<std::uint8_t>(0x5A + 0x3B * i);
    return data;
}

// The counter the rules take from `data`.
std::uint32_t counterFrom(const std::vector<std::uint8_t>& data) {
    if (data.size() > 4) return 0;
    std::uint32_t value = 0;
    for (std::size_t i = 0; i < data.size(); ++i) value |= static_cast<std::uint32_t>(data[i]) << (8 * i);
    return value;
}

class MonitorStoredCount : public MonitorTest, public ::testing::WithParamInterface<TypeCase> {};

}  // namespace

// One monitor after another, each started on the value as left: what it shows first is what it
// read, and its first accounting step, at once, stores it back as a REG_DWORD.
TEST_P(MonitorStoredCount, IsTakenOnlyWhenItFitsFourBytesAndIsStoredBackAsADword) {
    for (std::uint8_t fill : {std::uint8_t{0}, std::uint8_t{0xFF}}) {
        for (std::size_t length : kLengths) {
            const std::vector<std::uint8_t> data = pattern(length, fill);
            SCOPED_TRACE(std::to_string(length) + " bytes of " + (fill ? "0xFF" : "a pattern"));
            device.setRegistryValue(kKey, kValue, GetParam().type, data);
            ASSERT_TRUE(start().running);

            const std::uint32_t count = counterFrom(data);
            EXPECT_THAT(html(), HasSubstr(usage(count / kHour, (count % kHour) / kMinute)));
            const auto stored = device.registryValue(kKey, kValue);
            ASSERT_TRUE(stored);
            EXPECT_EQ(stored->type, static_cast<DWORD>(REG_DWORD));
            EXPECT_EQ(stored->data.size(), 4u);
            EXPECT_EQ(this->stored(), count);

            // Counting goes on from there, in 32 bits.
            device.advance(5000);
            EXPECT_EQ(this->stored(), static_cast<std::uint32_t>(count + 5000u));
            start();  // switched off
            ASSERT_EQ(device.runningCount("voltmarap"), 0u);
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Types, MonitorStoredCount, ::testing::ValuesIn(kTypes),
                         [](const auto& info) { return std::string(info.param.name); });
