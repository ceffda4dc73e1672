// Shared set-up of the battery monitor's end-to-end tests.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "pocket_device.h"
#include "utf.h"

namespace monitor_test {

inline const std::string kClsid = "{CFC24712-2A07-4ACA-8D8C-46FB8B7C55F5}";
inline const std::string kKey = "HKCU\\Software\\Orvalen\\VoltmaraPPC";
inline const std::u16string kValue = u"BatteryCount";
constexpr std::uint64_t kMinute = 60 * 1000;
constexpr std::uint64_t kHour = 60 * kMinute;

class MonitorTest : public ::testing::Test {
protected:
    MonitorTest() {
        device.setTickCount(60000);  // well past the first 20 s of uptime, when nothing is counted
        device.setPower({AC_LINE_OFFLINE, 85, BATTERY_FLAG_HIGH});
    }

    pocket::ProcessView start() { return device.start("voltmarap"); }

    std::optional<pocket::NotificationView> shown(DWORD id = 1) const { return device.notification(kClsid, id); }
    std::string html(DWORD id = 1) const {
        auto n = shown(id);
        return n ? n->html : std::string("<none>");
    }
    std::optional<DWORD> stored() const { return device.dword(kKey, kValue); }
    std::size_t updatesSince(std::size_t from) const {
        std::size_t count = 0;
        const auto& history = device.notificationHistory();
        for (std::size_t i = from; i < history.size(); ++i) count += history[i].call == sim::NotificationCall::Update;
        return count;
    }

    // What a user would read in the bubble's two lines.
    static std::string usage(unsigned hours, unsigned minutes) {
        return "連続バッテリ使用時間: " + std::to_string(hours) + " 時間 " + std::to_string(minutes) + " 分";
    }
    static std::string charge(unsigned percent, const std::string& suffix = "") {
        return "バッテリ残量: " + std::to_string(percent) + " %" + suffix + "<BR>";
    }

    void TearDown() override { EXPECT_TRUE(device.errors().empty()); }

    pocket::PocketDevice device;
};

}  // namespace monitor_test
