// The explorer's models on hand-made cases: if a model's rule were wrong, every random run would
// check the programs against the wrong thing.
#include <gtest/gtest.h>

#include "monitor_model.h"
#include "notification_text.h"
#include "utf.h"

namespace {

using explore::MonitorFaults;
using explore::MonitorModel;
using explore::PowerSample;

constexpr PowerSample kBattery{0, 1, 80};
constexpr PowerSample kMains{1, 8, 80};
constexpr std::uint64_t kMinute = 60000;

std::string text(const MonitorModel& m, std::size_t i = 0) {
    return i < m.notifications().size() ? sim::toUtf8(m.notifications()[i].html) : "<none>";
}

TEST(MonitorModel, NothingIsCountedUntilTheTickCountPasses20000) {
    MonitorModel m(10000);
    m.start(0, kBattery, {});
    m.advanceTo(10000, kBattery, {});  // samples at ticks 15000 and exactly 20000
    EXPECT_EQ(m.counter(), 0u);
    EXPECT_FALSE(m.stored().has_value());
    m.advanceTo(15000, kBattery, {});  // tick 25000: counted in full from the start
    EXPECT_EQ(m.counter(), 15000u);
    EXPECT_EQ(m.stored(), 15000u);
}

TEST(MonitorModel, WrapOfTheTickCountAddsTheRightDifference) {
    MonitorModel m(0xFFFFFFFFu - 9999);
    m.start(0, kBattery, {});
    m.advanceTo(5000, kBattery, {});
    EXPECT_EQ(m.counter(), 5000u);
    m.advanceTo(30000, kBattery, {});  // ticks 0 .. 20000 after the wrap count nothing yet
    EXPECT_EQ(m.counter(), 5000u);
    m.advanceTo(35000, kBattery, {});  // tick 25000: everything since the last step at once
    EXPECT_EQ(m.counter(), 35000u);
    EXPECT_EQ(m.stored(), 35000u);
}

TEST(MonitorModel, ExternalPowerClearsTheCounterAndBatteryUseStartsAgain) {
    MonitorModel m(60000);
    m.start(0, kBattery, {});
    m.advanceTo(60000, kBattery, {});
    EXPECT_EQ(m.counter(), 60000u);
    m.advanceTo(65000, kMains, {});
    EXPECT_EQ(m.counter(), 0u);
    EXPECT_EQ(m.stored(), 0u);
    m.advanceTo(75000, kBattery, {});
    EXPECT_EQ(m.counter(), 10000u);
}

TEST(MonitorModel, ResetClearsTheCounterAndAddsTheNotificationUnderTheNextId) {
    MonitorModel m(60000);
    m.start(0, kBattery, {});
    m.advanceTo(2 * kMinute, kBattery, {});
    EXPECT_NE(text(m).find("0 時間 2 分"), std::string::npos);
    m.reset(2 * kMinute + 100, kBattery, {});
    EXPECT_EQ(m.counter(), 0u);
    EXPECT_EQ(m.stored(), 0u);
    ASSERT_EQ(m.notifications().size(), 1u);
    EXPECT_EQ(m.notifications()[0].id, 2u);
    EXPECT_NE(text(m).find("0 時間 0 分"), std::string::npos);
    m.advanceTo(2 * kMinute + 5000, kBattery, {});  // counted from the reset
    EXPECT_EQ(m.counter(), 4900u);
}

TEST(MonitorModel, CloseLosesTheTimeSinceTheLastSampleAndStoppedTimeIsNotCounted) {
    MonitorModel m(60000);
    m.start(0, kBattery, {});
    m.advanceTo(12000, kBattery, {});
    EXPECT_TRUE(m.close(12000, {}));
    EXPECT_EQ(m.stored(), 10000u);  // the last 2 s are lost
    EXPECT_TRUE(m.notifications().empty());
    m.advanceTo(100000, kBattery, {});
    EXPECT_EQ(m.start(100000, kBattery, {}), MonitorModel::StartOutcome::Started);
    EXPECT_EQ(m.counter(), 10000u);
    m.advanceTo(105000, kBattery, {});
    EXPECT_EQ(m.counter(), 15000u);
    EXPECT_EQ(m.start(106000, kBattery, {}), MonitorModel::StartOutcome::SwitchedOff);
    EXPECT_FALSE(m.running());
}

TEST(MonitorModel, CounterWrapsAt32Bits) {
    MonitorModel m(60000);
    m.setStored(0xFFFFF000u);
    m.start(0, kBattery, {});
    m.advanceTo(5000, kBattery, {});
    EXPECT_EQ(m.counter(), 904u);
    EXPECT_NE(text(m).find("0 時間 0 分"), std::string::npos);
}

TEST(MonitorModel, FailedWriteLosesNothingInMemory) {
    MonitorModel m(60000);
    m.start(0, kBattery, {});
    MonitorFaults writeFails;
    writeFails.valueWrite = true;
    m.advanceTo(10000, kBattery, writeFails);
    EXPECT_EQ(m.counter(), 10000u);
    EXPECT_EQ(m.stored(), 0u);
    m.advanceTo(15000, kBattery, {});
    EXPECT_EQ(m.stored(), 15000u);
}

TEST(MonitorModel, CounterThatCouldNotBeReadIsCarriedOnFromWhenItCanBe) {
    MonitorModel m(60000);
    m.setStored(7 * kMinute);
    MonitorFaults openFails;
    openFails.keyOpen = true;
    m.start(0, kBattery, openFails);
    EXPECT_EQ(m.counter(), 0u);
    EXPECT_EQ(m.stored(), 7 * kMinute);  // not overwritten
    m.advanceTo(5000, kBattery, {});
    EXPECT_EQ(m.counter(), 7 * kMinute + 5000);
    EXPECT_EQ(m.stored(), 7 * kMinute + 5000);
}

TEST(MonitorModel, UnreadPowerStatusCountsAsBatteryOfUnknownLevel) {
    MonitorModel m(60000);
    m.start(0, kMains, {});
    MonitorFaults powerFails;
    powerFails.powerRead = true;
    m.advanceTo(5000, kMains, powerFails);
    EXPECT_EQ(m.counter(), 5000u);
    EXPECT_NE(text(m).find("バッテリ残量: 0 % (状態不明)"), std::string::npos);
    m.advanceTo(10000, kMains, {});
    EXPECT_EQ(m.counter(), 0u);
}

TEST(MonitorModel, ShellKeepsWhatFailedCallsLeave) {
    MonitorModel m(60000);
    MonitorFaults addFails;
    addFails.notifyAdd = true;
    m.start(0, kBattery, addFails);
    EXPECT_TRUE(m.notifications().empty());
    m.advanceTo(5000, kBattery, {});
    EXPECT_EQ(m.notifications().size(), 1u);  // the next sample adds it again

    MonitorModel n(60000);
    n.start(0, kBattery, {});
    MonitorFaults updateFails;
    updateFails.notifyUpdate = true;
    n.advanceTo(kMinute, {0, 1, 40}, updateFails);
    EXPECT_NE(text(n).find("80 %"), std::string::npos);  // still the old text and icon
    EXPECT_EQ(explore::levelIcon(n.notifications()[0].iconFor), 108u);
    MonitorFaults removeFails;
    removeFails.notifyRemove = true;
    n.close(kMinute, removeFails);
    ASSERT_EQ(n.notifications().size(), 1u);
    EXPECT_EQ(n.notifications()[0].owner, 1);
    n.start(2 * kMinute, {0, 1, 60}, {});  // the leftover under id 1 refuses the new add, takes the update
    ASSERT_EQ(n.notifications().size(), 1u);
    EXPECT_EQ(n.notifications()[0].owner, 1);
    EXPECT_NE(text(n).find("60 %"), std::string::npos);
}

struct TextCase {
    PowerSample sample;
    std::uint32_t count;
    const char* firstLine;
    const char* secondLine;
};

class NotificationText : public ::testing::TestWithParam<TextCase> {};

TEST_P(NotificationText, ReadsAsTheUserShouldSeeIt) {
    const TextCase& c = GetParam();
    const std::string html = sim::toUtf8(explore::notificationText(c.sample, c.count));
    EXPECT_NE(html.find(std::string("<P>バッテリ残量: ") + c.firstLine + "<BR>"), std::string::npos) << html;
    EXPECT_NE(html.find(std::string("<BR>連続バッテリ使用時間: ") + c.secondLine + "</P>"), std::string::npos) << html;
}

INSTANTIATE_TEST_SUITE_P(
    Samples, NotificationText,
    ::testing::Values(TextCase{{0, 1, 85}, 0, "85 %", "0 時間 0 分"},
                      TextCase{{1, 8, 85}, 0, "85 % (充電中)", "0 時間 0 分"},
                      TextCase{{1, 0, 100}, 0, "100 % (ACアダプタ接続)", "0 時間 0 分"},
                      TextCase{{1, 255, 255}, 0, "0 % (充電中)", "0 時間 0 分"},
                      TextCase{{0, 0, 255}, 0, "0 % (状態不明)", "0 時間 0 分"},
                      TextCase{{0, 0, 101}, 0, "0 % (状態不明)", "0 時間 0 分"},
                      TextCase{{2, 8, 50}, 0, "50 %", "0 時間 0 分"},
                      TextCase{{0, 0, 0}, 59999, "0 %", "0 時間 0 分"},
                      TextCase{{0, 0, 10}, 3599999, "10 %", "0 時間 59 分"},
                      TextCase{{0, 0, 10}, 3600000, "10 %", "1 時間 0 分"},
                      TextCase{{0, 0, 10}, 0xFFFFFFFFu, "10 %", "1193 時間 2 分"}));

TEST(NotificationText, WholeTextCarriesTheResetButton) {
    EXPECT_EQ(sim::toUtf8(explore::notificationText({0, 0, 42}, 61 * kMinute)),
              "<HTML><BODY><P>バッテリ残量: 42 %<BR>連続バッテリ使用時間: 1 時間 1 分</P><p align=right><input "
              "type=button name='cmd:1' value='リセット'></p></BODY></HTML>");
}

TEST(LevelIcon, FollowsTheLevelBoundaries) {
    const struct {
        PowerSample sample;
        unsigned icon;
    } cases[] = {{{0, 0, 100}, 108}, {{0, 0, 70}, 108}, {{0, 0, 69}, 104}, {{0, 0, 50}, 104}, {{0, 0, 49}, 103},
                 {{0, 0, 30}, 103},  {{0, 0, 29}, 102}, {{0, 0, 10}, 102}, {{0, 0, 9}, 106},  {{0, 0, 0}, 106},
                 {{0, 0, 101}, 106}, {{0, 0, 255}, 106}, {{1, 0, 255}, 107}, {{1, 8, 5}, 107}, {{2, 0, 80}, 108},
                 {{255, 0, 80}, 108}};
    for (const auto& c : cases)
        EXPECT_EQ(explore::levelIcon(c.sample), c.icon)
            << "ac " << int(c.sample.acLine) << " percent " << int(c.sample.percent);
}

}  // namespace
