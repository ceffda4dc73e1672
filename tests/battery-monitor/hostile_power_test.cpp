// The three power-status fields the battery driver reports, at and around every value the monitor
// decides on and at the ends of their byte range. The expectations come from a small model of the
// monitor's rules (icon, suffix, shown percent, counter, update mask), not from a run.
#include <gmock/gmock.h>

#include <aygshell.h>

#include <cstdint>
#include <vector>

#include "monitor_fixture.h"

using namespace monitor_test;
using ::testing::HasSubstr;

namespace {

// Only 1 is external power; 2 (backup), 255 (unknown) and everything else count as the battery.
constexpr BYTE kAcLines[] = {0, 1, 2, 3, 100, 101, 127, 128, 254, 255};
// Each level threshold (10, 30, 50, 70) from below and above, 100 and past it.
constexpr BYTE kPercents[] = {0,  1,  9,  10, 11,  29,  30,  31,  49,  50,  51,
                              69, 70, 71, 99, 100, 101, 102, 127, 128, 254, 255};
// Only bit 0x08 (charging) matters, and only on external power; the whole byte decides a rebuild.
constexpr BYTE kFlags[] = {0x00, 0x01, 0x07, 0x08, 0x09, 0x80, 0x88, 100, 101, 0xF7, 0xFE, 0xFF};
// Flags for the first-sample table: every bit but charging, and charging alone.
constexpr BYTE kStartFlags[] = {0xF7, 0x08};

bool onExternalPower(BYTE acLine) { return acLine == AC_LINE_ONLINE; }

unsigned levelIcon(BYTE acLine, BYTE percent) {
    if (onExternalPower(acLine)) return 107;
    if (percent > 100) return 106;
    if (percent >= 70) return 108;
    if (percent >= 50) return 104;
    if (percent >= 30) return 103;
    if (percent >= 10) return 102;
    return 106;
}

std::string suffix(BYTE acLine, BYTE flag, BYTE percent) {
    if (onExternalPower(acLine)) return (flag & BATTERY_FLAG_CHARGING) ? " (充電中)" : " (ACアダプタ接続)";
    return percent > 100 ? " (状態不明)" : "";
}

unsigned shownPercent(BYTE percent) { return percent <= 100 ? percent : 0; }

std::string describe(const pocket::PowerStatus& s) {
    return "ACLineStatus " + std::to_string(s.acLine) + ", BatteryLifePercent " + std::to_string(s.percent) +
           ", BatteryFlag " + std::to_string(s.flag);
}

class MonitorPowerFields : public MonitorTest, public ::testing::WithParamInterface<BYTE> {
protected:
    // The bubble as the rules make it for `s` and a counter of `count` milliseconds.
    void expectShown(const pocket::PowerStatus& s, std::uint32_t count) {
        const auto n = shown();
        ASSERT_TRUE(n);
        EXPECT_EQ(n->iconId, levelIcon(s.acLine, s.percent));
        EXPECT_TRUE(n->iconHandleAlive);
        EXPECT_THAT(n->html, HasSubstr(charge(shownPercent(s.percent), suffix(s.acLine, s.flag, s.percent))));
        EXPECT_THAT(n->html, HasSubstr(usage(count / kHour, (count % kHour) / kMinute)));
    }
};

}  // namespace

// One monitor sampling every combination in turn: each sample shows what the rules give, the
// counter follows the power source, and the shell hears of exactly what changed.
TEST_P(MonitorPowerFields, EverySampleFollowsTheRules) {
    const BYTE acLine = GetParam();
    pocket::PowerStatus previous{AC_LINE_OFFLINE, 42, BATTERY_FLAG_HIGH};
    device.setPower(previous);
    start();
    std::uint32_t count = 0;
    unsigned previousHours = 0, previousMinutes = 0;

    for (BYTE flag : kFlags) {
        for (BYTE percent : kPercents) {
            const pocket::PowerStatus now{acLine, percent, flag};
            SCOPED_TRACE(describe(now));
            device.setPower(now);
            const std::size_t before = device.notificationHistory().size();
            device.advance(5000);

            count = onExternalPower(acLine) ? 0 : count + 5000;
            EXPECT_EQ(stored(), count);
            expectShown(now, count);

            const unsigned hours = count / kHour, minutes = (count % kHour) / kMinute;
            const bool iconChanged = now.acLine != previous.acLine || now.percent != previous.percent;
            const bool textChanged =
                iconChanged || now.flag != previous.flag || hours != previousHours || minutes != previousMinutes;
            const auto& history = device.notificationHistory();
            if (!iconChanged && !textChanged) {
                EXPECT_EQ(history.size(), before) << "the shell was called though nothing changed";
            } else {
                ASSERT_EQ(history.size(), before + 1);
                EXPECT_EQ(history.back().call, sim::NotificationCall::Update);
                EXPECT_EQ(history.back().mask, (iconChanged ? SHNUM_ICON : 0u) | (textChanged ? SHNUM_HTML : 0u));
            }
            previous = now;
            previousHours = hours;
            previousMinutes = minutes;
        }
    }
}

// The first sample, which adds the notification, of a fresh monitor for each combination: each
// is switched on, looked at, and switched off again by a second start.
TEST_P(MonitorPowerFields, FirstSampleFollowsTheRules) {
    const BYTE acLine = GetParam();
    for (BYTE flag : kStartFlags) {
        for (BYTE percent : kPercents) {
            const pocket::PowerStatus status{acLine, percent, flag};
            SCOPED_TRACE(describe(status));
            device.setPower(status);
            ASSERT_TRUE(start().running);
            const auto n = shown();
            ASSERT_TRUE(n);
            EXPECT_EQ(n->iconId, levelIcon(acLine, percent));
            EXPECT_THAT(n->html, HasSubstr(charge(shownPercent(percent), suffix(acLine, flag, percent))));
            EXPECT_THAT(n->html, HasSubstr(usage(0, 0)));
            EXPECT_EQ(stored(), 0u);
            start();
            ASSERT_EQ(device.runningCount("voltmarap"), 0u);
            ASSERT_FALSE(shown());
        }
    }
}

INSTANTIATE_TEST_SUITE_P(AcLine, MonitorPowerFields, ::testing::ValuesIn(kAcLines),
                         [](const auto& info) { return "AcLine" + std::to_string(info.param); });

// Only the three fields are compared: the driver changing everything else (life times, the
// backup battery, the reserved bytes) to hostile values changes nothing shown.
TEST_F(MonitorTest, OtherFieldsOfThePowerRecordAreNeverLookedAt) {
    start();
    const std::size_t before = device.notificationHistory().size();
    const std::string bubble = html();
    SYSTEM_POWER_STATUS_EX record{};
    record.ACLineStatus = AC_LINE_OFFLINE;
    record.BatteryLifePercent = 85;
    record.BatteryFlag = BATTERY_FLAG_HIGH;
    for (std::uint8_t fill : {0x00, 0x7F, 0x80, 0xFF}) {
        record.Reserved1 = record.Reserved2 = record.Reserved3 = fill;
        record.BackupBatteryFlag = record.BackupBatteryLifePercent = fill;
        record.BatteryLifeTime = record.BatteryFullLifeTime = 0x01010101u * fill;
        record.BackupBatteryLifeTime = record.BackupBatteryFullLifeTime = 0x01010101u * fill;
        device.setPowerRecord(record);
        device.advance(5000);
    }
    EXPECT_EQ(device.notificationHistory().size(), before);
    EXPECT_EQ(html(), bubble);
    EXPECT_EQ(stored(), 20000u);
}
