// Start-up: which devices the program accepts, and the failures on the way to its hook.
#include <algorithm>

#include "tapclose_fixture.h"

using namespace tapclose_test;

namespace {

struct SystemRow {
    const char* name;
    DWORD major;
    std::u16string platformType;
    bool starts;
};

class PlatformTest : public TapCloseTest, public ::testing::WithParamInterface<SystemRow> {};

// Calls by which the program would leave a trace on the device.
const char* const kLasting[] = {"CreateMutexW", "RegisterClassW", "CreateWindowExW", "SetWindowLongW"};

std::size_t lastingCalls(const pocket::PocketDevice& device) {
    std::size_t count = 0;
    for (const std::string& name : device.callNames(0, "appshut"))
        count += std::count(std::begin(kLasting), std::end(kLasting), name);
    return count;
}

}  // namespace

TEST_P(PlatformTest, HooksOnlyAPocketPCOfVersionThreeOrMore) {
    const SystemRow& row = GetParam();
    device.setSystem(row.major, row.platformType);
    device.recordCalls();
    const auto shut = start();
    if (row.starts) {
        EXPECT_TRUE(shut.running);
        EXPECT_TRUE(hooked());
        EXPECT_TRUE(device.findWindow("APPSHUT").has_value());
        return;
    }
    EXPECT_FALSE(shut.running);
    EXPECT_EQ(shut.exitCode, 0);
    EXPECT_FALSE(hooked());
    EXPECT_FALSE(device.findWindow("APPSHUT").has_value());
    EXPECT_EQ(lastingCalls(device), 0u);
}

INSTANTIATE_TEST_SUITE_P(
    Systems, PlatformTest,
    ::testing::Values(SystemRow{"PocketPC4", 4, u"PocketPC", true}, SystemRow{"PocketPC3", 3, u"PocketPC", true},
                      SystemRow{"PocketPC5", 5, u"PocketPC", true}, SystemRow{"Major2", 2, u"PocketPC", false},
                      SystemRow{"Major0", 0, u"PocketPC", false}, SystemRow{"Lowercase", 4, u"pocketpc", false},
                      SystemRow{"Uppercase", 4, u"POCKETPC", false}, SystemRow{"Longer", 4, u"PocketPC2", false},
                      SystemRow{"TrailingBlank", 4, u"PocketPC ", false}, SystemRow{"Prefix", 4, u"Pocket", false},
                      SystemRow{"Empty", 4, u"", false}, SystemRow{"Smartphone", 4, u"SmartPhone", false}),
    [](const auto& info) { return std::string(info.param.name); });

namespace {


class StartFailureTest : public TapCloseTest, public ::testing::WithParamInterface<const char*> {};

}  // namespace

// Each failure ends the program at once, with the taskbar untouched; a later start works.
TEST_P(StartFailureTest, EndsWithCodeZeroAndLeavesTheTaskbarAlone) {
    device.failCall(GetParam(), 1, 1, "appshut");
    const auto shut = start();
    EXPECT_FALSE(shut.running);
    EXPECT_EQ(shut.exitCode, 0);
    EXPECT_FALSE(hooked());
    EXPECT_FALSE(device.findWindow("APPSHUT").has_value());

    const auto again = start();
    EXPECT_TRUE(again.running);
    EXPECT_TRUE(hooked());
}

INSTANTIATE_TEST_SUITE_P(Calls, StartFailureTest,
                         ::testing::Values("GetVersionExW", "SystemParametersInfoW", "CreateMutexW", "RegisterClassW",
                                           "CreateWindowExW"));

