// The battery monitor's scenarios: starts, samples, power changes, resets and switching it off.
#include "scenarios.h"

namespace sweep {

namespace {

const std::string kMonitor = "voltmarap";
const char* const kKey = "HKCU\\Software\\Orvalen\\VoltmaraPPC";
constexpr std::uint64_t kMinute = 60 * kSecond;

std::optional<pocket::NotificationView> newestNotification(const pocket::PocketDevice& device) {
    std::optional<pocket::NotificationView> newest;
    for (const pocket::NotificationView& n : device.notifications())
        if (!newest || n.id > newest->id) newest = n;
    return newest;
}

Check stored(DWORD expected) {
    return [expected](const pocket::PocketDevice& device) -> std::string {
        const auto value = device.dword(kKey, u"BatteryCount");
        if (value == expected) return "";
        return "stored counter " + (value ? std::to_string(*value) : std::string("missing")) + ", not " +
               std::to_string(expected);
    };
}

Check showsIcon(unsigned icon) {
    return [icon](const pocket::PocketDevice& device) -> std::string {
        const auto n = newestNotification(device);
        if (n && n->iconId == icon) return "";
        return "the notification does not show icon " + std::to_string(icon);
    };
}

Check running(bool on) {
    return [on](const pocket::PocketDevice& device) -> std::string {
        const bool runs = device.runningCount(kMonitor) == 1;
        const bool shown = !device.notifications().empty();
        if (runs == on && shown == on) return "";
        return std::string("the monitor should be ") + (on ? "on" : "off") + " (running: " + (runs ? "yes" : "no") +
               ", notification: " + (shown ? "yes" : "no") + ")";
    };
}

Step startMonitor(const std::string& why, bool on) {
    Step step = startProgram(kMonitor, why);
    step.achieves = running(on);
    return step;
}

Step sample(Check achieves = nullptr) {
    Step step = advance(kSamplePeriod);
    step.achieves = std::move(achieves);
    return step;
}

// A power change, then one sample period under it.
Step power(const std::string& what, pocket::PowerStatus status, Check achieves) {
    Step step{what + ", then a sample",
              [status](pocket::PocketDevice& device) {
                  device.setPower(status);
                  device.advance(kSamplePeriod);
              },
              status.acLine == AC_LINE_ONLINE};
    step.achieves = std::move(achieves);
    return step;
}

// The reset button of the newest notification; nothing to tap when none is shown.
Step tapReset(DWORD newId) {
    Step step{"tap the reset button",
              [](pocket::PocketDevice& device) {
                  if (auto n = newestNotification(device)) device.tapNotificationButton(n->clsid, n->id, 1);
              },
              true};
    step.achieves = [newId, zero = stored(0)](const pocket::PocketDevice& device) -> std::string {
        const auto n = newestNotification(device);
        if (!n || n->id != newId || device.notifications().size() != 1)
            return "the notification was not replaced by number " + std::to_string(newId);
        return zero(device);
    };
    return step;
}

// Past the first 20 s of uptime, when nothing is counted.
constexpr std::uint32_t kUptime = 60000;

Scenario monitor(const std::string& name, std::optional<DWORD> counter, std::vector<Step> steps,
                 std::uint32_t tick = kUptime) {
    Scenario s;
    s.program = kMonitor;
    s.name = name;
    s.setUp = [counter, tick](pocket::PocketDevice& device) {
        device.setTickCount(tick);
        device.setPower({AC_LINE_OFFLINE, 85, BATTERY_FLAG_HIGH});
        if (counter) device.setDword(kKey, u"BatteryCount", *counter);
    };
    s.steps = std::move(steps);
    return s;
}

}  // namespace

std::vector<Scenario> monitorScenarios() {
    const Step on = startMonitor("start", true);
    const Step off = startMonitor("second start of", false);
    constexpr DWORD kStored = 2 * 60 * kMinute + 59 * kMinute + 55 * kSecond;
    return {
        monitor("first start, key absent", std::nullopt, {on, sample(stored(kSamplePeriod)), off}),
        monitor("start with a stored counter", kStored, {on, sample(stored(kStored + kSamplePeriod)), off}),
        // 55 s stored: the first sample turns the minute, and each level change redraws the icon.
        monitor("sampling on battery over level changes", 55 * kSecond,
                {on, sample(stored(kMinute)),
                 power("battery at 60 %", {AC_LINE_OFFLINE, 60, BATTERY_FLAG_HIGH}, showsIcon(104)),
                 power("battery at 5 %", {AC_LINE_OFFLINE, 5, BATTERY_FLAG_CRITICAL}, showsIcon(106)),
                 power("battery level unknown", {AC_LINE_OFFLINE, 255, BATTERY_FLAG_UNKNOWN}, showsIcon(106)), off}),
        monitor("external power coming and going", 2 * kMinute,
                {on, sample(),
                 power("external power, charging", {AC_LINE_ONLINE, 90, BATTERY_FLAG_CHARGING}, stored(0)),
                 power("external power, charged", {AC_LINE_ONLINE, 100, BATTERY_FLAG_HIGH}, showsIcon(107)),
                 power("back on battery", {AC_LINE_OFFLINE, 99, BATTERY_FLAG_HIGH}, stored(kSamplePeriod)), off}),
        monitor("the notification's reset button", 60 * kMinute,
                {on, sample(), tapReset(2), sample(stored(kSamplePeriod)), tapReset(3), sample(), off}),
        monitor("second start switches it off, a third on again", 10 * kMinute,
                {on, off, startMonitor("third start of", true), sample(stored(10 * kMinute + kSamplePeriod)),
                 startMonitor("fourth start of", false)}),
        monitor("start in the first 20 s of uptime", 10 * kMinute,
                {on, sample(stored(10 * kMinute)), sample(stored(10 * kMinute)),
                 sample(stored(10 * kMinute + 3 * kSamplePeriod)), off},
                10000),
        // The counter wraps after 2^32 ms of battery use; so does the tick count.
        monitor("the counter's wrap", 0xFFFFFFFFu - 2 * kSecond, {on, sample(stored(3 * kSecond - 1)), off}),
        monitor("the tick count's wrap", 10 * kMinute,
                {on, sample(stored(10 * kMinute + kSamplePeriod)), sample(stored(10 * kMinute + kSamplePeriod)),
                 advance(4 * kSamplePeriod), off},
                0xFFFFFFFFu - 6 * kSecond),
        monitor("shutdown by WM_CLOSE from outside", 10 * kMinute, {on, sample(), [] {
                    Step close = closeFromOutside(kMonitor);
                    close.achieves = running(false);
                    return close;
                }()}),
    };
}

}  // namespace sweep
