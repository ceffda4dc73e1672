// What the notification shows: level icons, the bubble's text, and which fields each update changes.
#include <gmock/gmock.h>

#include <aygshell.h>

#include "../expect_sequence.h"
#include "monitor_fixture.h"

using namespace monitor_test;
using ::testing::HasSubstr;

struct IconCase {
    BYTE acLine;
    BYTE percent;
    unsigned icon;
};

class MonitorLevelIcon : public MonitorTest, public ::testing::WithParamInterface<IconCase> {};

TEST_P(MonitorLevelIcon, FollowsTheLevelAndThePowerSource) {
    // Start from a different state so that the case under test is a change.
    device.setPower({AC_LINE_OFFLINE, 42, BATTERY_FLAG_HIGH});
    start();
    device.setPower({GetParam().acLine, GetParam().percent, BATTERY_FLAG_HIGH});
    device.advance(5000);
    EXPECT_EQ(shown()->iconId, GetParam().icon);
    EXPECT_TRUE(shown()->iconHandleAlive);
}

INSTANTIATE_TEST_SUITE_P(
    Notification, MonitorLevelIcon,
    ::testing::Values(IconCase{AC_LINE_OFFLINE, 100, 108}, IconCase{AC_LINE_OFFLINE, 70, 108},
                      IconCase{AC_LINE_OFFLINE, 69, 104}, IconCase{AC_LINE_OFFLINE, 50, 104},
                      IconCase{AC_LINE_OFFLINE, 49, 103}, IconCase{AC_LINE_OFFLINE, 30, 103},
                      IconCase{AC_LINE_OFFLINE, 29, 102}, IconCase{AC_LINE_OFFLINE, 10, 102},
                      IconCase{AC_LINE_OFFLINE, 9, 106}, IconCase{AC_LINE_OFFLINE, 0, 106},
                      IconCase{AC_LINE_OFFLINE, 101, 106}, IconCase{AC_LINE_OFFLINE, 255, 106},
                      IconCase{AC_LINE_ONLINE, 0, 107}, IconCase{AC_LINE_ONLINE, 42, 107},
                      IconCase{AC_LINE_ONLINE, 255, 107}, IconCase{AC_LINE_BACKUP_POWER, 80, 108},
                      IconCase{AC_LINE_UNKNOWN, 5, 106}));

struct TextCase {
    const char* name;
    BYTE acLine;
    BYTE flag;
    BYTE percent;
    const char* firstLine;
};

class MonitorChargeText : public MonitorTest, public ::testing::WithParamInterface<TextCase> {};

TEST_P(MonitorChargeText, ShowsThePercentAndThePowerState) {
    device.setPower({GetParam().acLine, GetParam().percent, GetParam().flag});
    start();
    EXPECT_THAT(html(), HasSubstr(GetParam().firstLine));
}

INSTANTIATE_TEST_SUITE_P(
    Notification, MonitorChargeText,
    ::testing::Values(
        TextCase{"OnBattery", AC_LINE_OFFLINE, BATTERY_FLAG_HIGH, 85, "バッテリ残量: 85 %<BR>"},
        TextCase{"OnBatteryChargingBitIgnored", AC_LINE_OFFLINE, BATTERY_FLAG_CHARGING, 40, "バッテリ残量: 40 %<BR>"},
        TextCase{"OnBatteryUnknownLevel", AC_LINE_OFFLINE, BATTERY_FLAG_UNKNOWN, 255, "バッテリ残量: 0 % (状態不明)<BR>"},
        TextCase{"OnBatteryLevelAbove100", AC_LINE_OFFLINE, 0, 101, "バッテリ残量: 0 % (状態不明)<BR>"},
        TextCase{"OnAdapter", AC_LINE_ONLINE, BATTERY_FLAG_HIGH, 100, "バッテリ残量: 100 % (ACアダプタ接続)<BR>"},
        TextCase{"Charging", AC_LINE_ONLINE, BATTERY_FLAG_CHARGING, 85, "バッテリ残量: 85 % (充電中)<BR>"},
        TextCase{"ChargingFlagAllBits", AC_LINE_ONLINE, BATTERY_FLAG_UNKNOWN, 60, "バッテリ残量: 60 % (充電中)<BR>"},
        TextCase{"OnAdapterUnknownLevel", AC_LINE_ONLINE, 0, 255, "バッテリ残量: 0 % (ACアダプタ接続)<BR>"},
        TextCase{"BackupPowerIsBattery", AC_LINE_BACKUP_POWER, BATTERY_FLAG_CHARGING, 20, "バッテリ残量: 20 %<BR>"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(MonitorTest, WholeBubbleText) {
    device.setPower({AC_LINE_ONLINE, 85, BATTERY_FLAG_CHARGING});
    start();
    EXPECT_EQ(html(),
              "<HTML><BODY><P>バッテリ残量: 85 % (充電中)<BR>連続バッテリ使用時間: 0 時間 0 分</P>"
              "<p align=right><input type=button name='cmd:1' value='リセット'></p></BODY></HTML>");
}

struct MaskCase {
    const char* name;
    pocket::PowerStatus next;
    std::uint64_t wait;
    std::optional<DWORD> mask;  // nullopt: no update at all
};

class MonitorUpdateMask : public MonitorTest, public ::testing::WithParamInterface<MaskCase> {};

TEST_P(MonitorUpdateMask, ChangesOnlyWhatChanged) {
    device.setPower({AC_LINE_ONLINE, 60, BATTERY_FLAG_HIGH});
    start();
    device.advance(5000);
    const std::size_t before = device.notificationHistory().size();
    device.setPower(GetParam().next);
    device.advance(GetParam().wait);
    const auto& history = device.notificationHistory();
    if (!GetParam().mask) {
        EXPECT_EQ(history.size(), before);
        return;
    }
    ASSERT_EQ(history.size(), before + 1);
    EXPECT_EQ(history.back().call, sim::NotificationCall::Update);
    EXPECT_EQ(history.back().mask, *GetParam().mask);
}

INSTANTIATE_TEST_SUITE_P(
    Notification, MonitorUpdateMask,
    ::testing::Values(MaskCase{"NothingChanged", {AC_LINE_ONLINE, 60, BATTERY_FLAG_HIGH}, 5000, std::nullopt},
                      MaskCase{"ChargingBitAlone", {AC_LINE_ONLINE, 60, BATTERY_FLAG_CHARGING}, 5000, SHNUM_HTML},
                      MaskCase{"OtherFlagBitsAlone", {AC_LINE_ONLINE, 60, BATTERY_FLAG_LOW}, 5000, SHNUM_HTML},
                      MaskCase{"LevelOnePercent", {AC_LINE_ONLINE, 59, BATTERY_FLAG_HIGH}, 5000,
                               SHNUM_ICON | SHNUM_HTML},
                      MaskCase{"Unplugged", {AC_LINE_OFFLINE, 60, BATTERY_FLAG_HIGH}, 5000,
                               SHNUM_ICON | SHNUM_HTML}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(MonitorTest, MinuteChangeUpdatesTheTextOnly) {
    start();
    device.advance(55000);
    const std::size_t before = device.notificationHistory().size();
    device.advance(5000);  // one minute on battery
    const auto& history = device.notificationHistory();
    ASSERT_EQ(history.size(), before + 1);
    EXPECT_EQ(history.back().mask, static_cast<DWORD>(SHNUM_HTML));
    EXPECT_EQ(sim::toUtf8(history.back().after->title), "バッテリ情報");  // the title is never updated
}

TEST_F(MonitorTest, SampleOfANewLevelUpdatesTheNotificationBeforeTheOldIconGoes) {
    start();
    device.setPower({AC_LINE_OFFLINE, 84, BATTERY_FLAG_HIGH});
    device.recordCalls();
    const std::uint64_t mark = device.mark();
    device.advance(5000);
    static const pocket::Step kSample[] = {
        {pocket::kPosted | pocket::kWParam, WM_TIMER, 1},
        {pocket::kCall, "GetSystemPowerStatusEx"},
        {pocket::kCall, "GetTickCount"},
        {pocket::kCall, "RegCreateKeyExW"}, {pocket::kCall, "RegSetValueExW"}, {pocket::kCall, "RegCloseKey"},
        {pocket::kCall, "LoadImageW"},
        {pocket::kCall, "LoadStringW"},
        {pocket::kCall | pocket::kResult, "SHNotificationUpdate", S_OK},
        // the old icon goes once the shell shows the new one
        {pocket::kCall | pocket::kResult, "DestroyIcon", TRUE},
    };
    EXPECT_SEQUENCE(device, mark, "voltmarap", kSample);
    EXPECT_EQ(shown()->iconId, 108u);
    EXPECT_TRUE(shown()->iconHandleAlive);
}

TEST_F(MonitorTest, FirstSampleAtZeroPercentStillShowsTheWarningIcon) {
    device.setPower({AC_LINE_OFFLINE, 0, 0});
    start();
    EXPECT_EQ(shown()->iconId, 106u);
}

TEST_F(MonitorTest, FailedIconLoadIsRetriedAtTheNextSample) {
    device.failCall("LoadImageW");
    start();
    EXPECT_EQ(shown()->iconId, 0u);
    const std::size_t before = device.notificationHistory().size();
    device.advance(5000);
    const auto& history = device.notificationHistory();
    ASSERT_EQ(history.size(), before + 1);
    EXPECT_EQ(history.back().mask, static_cast<DWORD>(SHNUM_ICON));
    EXPECT_EQ(shown()->iconId, 108u);
}

TEST_F(MonitorTest, RetryThatFailsAgainSendsNoUpdate) {
    device.failCall("LoadImageW", 1, 3);
    start();
    const std::size_t before = device.notificationHistory().size();
    device.advance(10000);
    EXPECT_EQ(device.notificationHistory().size(), before);
    device.advance(5000);
    EXPECT_EQ(shown()->iconId, 108u);
}

TEST_F(MonitorTest, FailedPowerReadingCountsAsUnknownState) {
    device.failCall("GetSystemPowerStatusEx");
    device.setPower({AC_LINE_ONLINE, 90, BATTERY_FLAG_CHARGING});
    start();
    EXPECT_EQ(shown()->iconId, 106u);
    EXPECT_THAT(html(), HasSubstr(charge(0, " (状態不明)")));
    device.advance(5000);
    EXPECT_EQ(shown()->iconId, 107u);
    EXPECT_THAT(html(), HasSubstr(charge(90, " (充電中)")));
}

// The shell refuses to add or update the notification once, on a change of level and power
// source: the icon it shows stays alive, and the next sample brings it up to date.
struct ShellRefusalCase {
    const char* name;
    const char* call;
    std::uint64_t occurrence;  // 1: the first sample's add, at the start
};

void PrintTo(const ShellRefusalCase& c, std::ostream* out) { *out << c.name; }

class MonitorShellRefusal : public MonitorTest, public ::testing::WithParamInterface<ShellRefusalCase> {};

TEST_P(MonitorShellRefusal, IsTriedAgainAtTheNextSample) {
    device.failCall(GetParam().call, GetParam().occurrence);
    const auto monitor = start();
    device.setPower({AC_LINE_ONLINE, 85, BATTERY_FLAG_CHARGING});
    device.advance(5000);
    if (auto n = shown()) {
        EXPECT_TRUE(n->iconHandleAlive) << "the shell was left a destroyed icon";
    }
    device.advance(5000);
    ASSERT_TRUE(shown());
    EXPECT_EQ(shown()->iconId, 107u);
    EXPECT_TRUE(shown()->iconHandleAlive);
    EXPECT_THAT(html(), HasSubstr(charge(85, " (充電中)")));
    EXPECT_THAT(html(), HasSubstr(usage(0, 0)));
    EXPECT_THAT(html(), HasSubstr("cmd:1"));
    EXPECT_EQ(device.process(monitor.pid)->handles.liveOf(sim::HandleKind::Icon), 1);
}

INSTANTIATE_TEST_SUITE_P(Notification, MonitorShellRefusal,
                         ::testing::Values(ShellRefusalCase{"AddAtTheStart", "SHNotificationAdd", 1},
                                           ShellRefusalCase{"UpdateOnExternalPower", "SHNotificationUpdate", 1}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(MonitorTest, ADayOnBatteryUpdatesAboutOnceAMinuteWithoutGrowingHandles) {
    auto monitor = start();
    const std::size_t before = device.notificationHistory().size();
    device.setPower({AC_LINE_OFFLINE, 100, BATTERY_FLAG_HIGH});
    std::int64_t maxIcons = 0;
    for (int hour = 0; hour < 24; ++hour) {
        device.setPower({AC_LINE_OFFLINE, static_cast<BYTE>(100 - 4 * hour), BATTERY_FLAG_HIGH});
        device.advance(kHour);
        maxIcons = std::max(maxIcons, device.process(monitor.pid)->handles.liveOf(sim::HandleKind::Icon));
    }
    const std::size_t updates = updatesSince(before);
    EXPECT_GE(updates, 1440u);
    EXPECT_LE(updates, 1440u + 24u);
    EXPECT_EQ(maxIcons, 1);
    const auto handles = device.process(monitor.pid)->handles;
    EXPECT_EQ(handles.liveOf(sim::HandleKind::RegistryKey), 0);
    EXPECT_EQ(handles.liveOf(sim::HandleKind::Window), 1);
    EXPECT_EQ(handles.badReleases, 0u);
    EXPECT_THAT(html(), HasSubstr(usage(24, 0)));
    EXPECT_EQ(stored(), 24 * kHour);
}

// Built with resources that lack its strings, the monitor shows an empty text, not stack leftovers.
TEST(MonitorWithoutStrings, ShowsEmptyTextsInsteadOfWhatTheStackHeld) {
    pocket::PocketDevice device;
    const std::string images = POCKET_IMAGE_DIR;
    device.installProgram("voltmarap", images + "/voltmarap.image", images + "/appshut.res",
                                     u"\\Program Files\\Voltmara\\voltmarap.exe");
    device.setPower({AC_LINE_OFFLINE, 50, 0});
    device.start("voltmarap");
    const auto notifications = device.notifications();
    ASSERT_EQ(notifications.size(), 1u);
    EXPECT_EQ(notifications[0].html, "");
    EXPECT_EQ(notifications[0].title, "");
}
