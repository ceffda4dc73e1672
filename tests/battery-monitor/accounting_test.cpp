// Counting continuous battery use: the 20 s rule, wraps, external power and the reset button.
#include <gmock/gmock.h>

#include "monitor_fixture.h"

using namespace monitor_test;
using ::testing::HasSubstr;

struct TickRuleCase {
    const char* name;
    std::uint32_t startTick;
    std::uint64_t run;
    std::optional<DWORD> expected;  // stored counter after the run; nullopt: never written
};

class MonitorTickRule : public MonitorTest, public ::testing::WithParamInterface<TickRuleCase> {};

TEST_P(MonitorTickRule, CountsOnlyOnceTheTickCountHasPassed20000) {
    device.setTickCount(GetParam().startTick);
    start();
    device.advance(GetParam().run);
    EXPECT_EQ(stored(), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Accounting, MonitorTickRule,
    ::testing::Values(
        // A sample at exactly 20000 does not count; the time is counted in full at the next one.
        TickRuleCase{"SampleAtExactly20000", 15000, 5000, std::nullopt},
        TickRuleCase{"NextSampleCountsFromStart", 15000, 10000, 10000},
        TickRuleCase{"SampleAt20001", 15001, 5000, 5000},
        TickRuleCase{"BootTimeStart", 0, 20000, std::nullopt},
        TickRuleCase{"BootTimeStartCountsAll", 0, 25000, 25000}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(MonitorTest, CountsAcrossTheTickCountWrap) {
    device.setTickCount(0xFFFFFFFFu - 12000);
    start();
    // Samples just after the wrap see a small tick count and wait until it passes 20000 again;
    // the unsigned difference then still adds the right time.
    device.advance(60000);
    EXPECT_EQ(stored(), 60000u);
    device.advance(kHour);
    EXPECT_EQ(stored(), kHour + 60000);
}

TEST_F(MonitorTest, CounterWrapsAfter2To32Milliseconds) {
    device.setDword(kKey, kValue, 0xFFFFFFFFu - 2 * kMinute + 1);
    start();
    EXPECT_THAT(html(), HasSubstr(usage(1193, 0)));
    device.advance(3 * kMinute);
    EXPECT_EQ(stored(), 3 * kMinute - 2 * kMinute);
    EXPECT_THAT(html(), HasSubstr(usage(0, 1)));
}

struct ShownTimeCase {
    DWORD count;
    unsigned hours;
    unsigned minutes;
};

class MonitorShownTime : public MonitorTest, public ::testing::WithParamInterface<ShownTimeCase> {};

TEST_P(MonitorShownTime, DropsSecondsAndShowsHoursAndMinutes) {
    device.setDword(kKey, kValue, GetParam().count);
    device.setTickCount(1000);
    start();
    EXPECT_THAT(html(), HasSubstr(usage(GetParam().hours, GetParam().minutes)));
}

INSTANTIATE_TEST_SUITE_P(Accounting, MonitorShownTime,
                         ::testing::Values(ShownTimeCase{59999, 0, 0}, ShownTimeCase{60000, 0, 1},
                                           ShownTimeCase{3599999, 0, 59}, ShownTimeCase{3600000, 1, 0},
                                           ShownTimeCase{0xFFFFFFFFu, 1193, 2}));

TEST_F(MonitorTest, ExternalPowerClearsTheCounter) {
    start();
    device.advance(90 * kMinute);
    EXPECT_THAT(html(), HasSubstr(usage(1, 30)));

    device.setPower({AC_LINE_ONLINE, 86, BATTERY_FLAG_HIGH});
    device.advance(5000);
    EXPECT_EQ(stored(), 0u);
    auto n = shown();
    EXPECT_EQ(n->iconId, 107u);
    EXPECT_THAT(n->html, HasSubstr(charge(86, " (ACアダプタ接続)")));
    EXPECT_THAT(n->html, HasSubstr(usage(0, 0)));

    device.advance(kHour);
    EXPECT_EQ(stored(), 0u);

    device.setPower({AC_LINE_OFFLINE, 100, BATTERY_FLAG_HIGH});
    device.advance(10 * kMinute);
    EXPECT_EQ(stored(), 10 * kMinute);
}


struct BatteryLineCase {
    BYTE acLine;
    bool counts;
};

class MonitorPowerSource : public MonitorTest, public ::testing::WithParamInterface<BatteryLineCase> {};

TEST_P(MonitorPowerSource, OnlyExternalPowerStopsTheCount) {
    device.setPower({GetParam().acLine, 50, BATTERY_FLAG_HIGH});
    start();
    device.advance(kMinute);
    EXPECT_EQ(stored(), GetParam().counts ? kMinute : 0u);
}

INSTANTIATE_TEST_SUITE_P(Accounting, MonitorPowerSource,
                         ::testing::Values(BatteryLineCase{AC_LINE_OFFLINE, true}, BatteryLineCase{AC_LINE_ONLINE, false},
                                           BatteryLineCase{AC_LINE_BACKUP_POWER, true},
                                           BatteryLineCase{AC_LINE_UNKNOWN, true}, BatteryLineCase{7, true}));

TEST_F(MonitorTest, ResetButtonStartsAFreshNotificationAndCount) {
    start();
    device.advance(75 * kMinute);
    ASSERT_THAT(html(1), HasSubstr(usage(1, 15)));

    ASSERT_TRUE(device.tapNotificationButton(kClsid, 1, 1));
    EXPECT_FALSE(shown(1));
    auto fresh = shown(2);
    ASSERT_TRUE(fresh);
    EXPECT_THAT(fresh->html, HasSubstr(usage(0, 0)));
    EXPECT_EQ(fresh->title, "バッテリ情報");
    EXPECT_EQ(fresh->iconId, 108u);
    EXPECT_EQ(stored(), 0u);

    // Counting starts from the tap, not from the last sample.
    device.advance(kMinute);
    EXPECT_EQ(stored(), kMinute);
    EXPECT_THAT(html(2), HasSubstr(usage(0, 1)));

    ASSERT_TRUE(device.tapNotificationButton(kClsid, 2, 1));
    EXPECT_TRUE(shown(3));
    EXPECT_EQ(device.notifications().size(), 1u);
}

// A notification the shell will not remove at a reset keeps showing its icon, which stays alive.
TEST_F(MonitorTest, ResetWhoseRemovalFailsLeavesTheOldIconAlive) {
    start();
    device.failCall("SHNotificationRemove");
    ASSERT_TRUE(device.tapNotificationButton(kClsid, 1, 1));
    ASSERT_TRUE(shown(1));
    EXPECT_TRUE(shown(1)->iconHandleAlive);
    ASSERT_TRUE(shown(2));
    EXPECT_TRUE(shown(2)->iconHandleAlive);
    EXPECT_THAT(html(2), HasSubstr(usage(0, 0)));
}

// The reset clears the remembered status to zeros: at 0 % off external power that equals the
// present status, and the level seen before the tap must not keep its icon.
TEST_F(MonitorTest, ResetAtAnEmptyBatteryShowsTheEmptyIcon) {
    device.setPower({AC_LINE_OFFLINE, 20, BATTERY_FLAG_LOW});
    const std::uint32_t pid = start().pid;
    ASSERT_EQ(shown(1)->iconId, 102u);
    device.setPower({AC_LINE_OFFLINE, 0, BATTERY_FLAG_CRITICAL});
    ASSERT_TRUE(device.tapNotificationButton(kClsid, 1, 1));  // before the next sample
    EXPECT_EQ(shown(2)->iconId, 106u);
    device.advance(kMinute);
    EXPECT_EQ(shown(2)->iconId, 106u);
    EXPECT_EQ(device.process(pid)->handles.liveOf(sim::HandleKind::Icon), 1);
}

TEST_F(MonitorTest, OnlyButtonsInTheHtmlCanBeTapped) {
    start();
    EXPECT_FALSE(device.tapNotificationButton(kClsid, 1, 2));
    EXPECT_FALSE(device.tapNotificationButton(kClsid, 7, 1));
    EXPECT_TRUE(shown(1));
}

TEST_F(MonitorTest, ResetAfterSwitchingOffPreservesNothingOfTheOldCount) {
    start();
    device.advance(kHour);
    device.tapNotificationButton(kClsid, 1, 1);
    start();  // off
    EXPECT_EQ(stored(), 0u);
    start();
    EXPECT_THAT(html(1), HasSubstr(usage(0, 0)));  // a new process starts again at id 1
}
