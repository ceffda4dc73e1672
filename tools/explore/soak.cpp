#include "soak.h"

#include <chrono>

#include "monitor_model.h"
#include "names.h"
#include "pocket_device.h"
#include "utf.h"

namespace explore {

namespace {

constexpr std::uint64_t kSample = 5000;
constexpr std::uint64_t kHour = 3600000;
constexpr std::uint64_t kDay = 24 * kHour;

// The power over the soak, by elapsed time: the battery drains a percent every 25 minutes and is
// swapped for a full one at 0; every week an hour when the level cannot be told; two hours on
// external power (charging) on day 40, which clears the counter.
PowerSample powerAt(std::uint64_t time) {
    if (time >= 40 * kDay && time < 40 * kDay + 2 * kHour) return {1, 0x08, 80};
    if (time % (7 * kDay) < kHour) return {0, 0xFF, 255};
    return {0, 0x01, static_cast<std::uint8_t>(100 - time / (25 * 60000) % 101)};
}

}  // namespace

SoakResult soak(const SoakOptions& options) {
    SoakResult result;
    sim::DeviceConfig config;
    config.startTickCount = options.startTick;
    pocket::PocketDevice device(config);
    device.limitJournal(20000);

    MonitorModel model(options.startTick, options.flaw);
    device.setDword(kCounterKey, u"BatteryCount", options.storedCounter);
    model.setStored(options.storedCounter);
    PowerSample power = powerAt(0);
    device.setPower({power.acLine, power.percent, power.flag});
    model.start(0, power, {});
    device.start("voltmarap");

    std::string lastText;
    const auto begin = std::chrono::steady_clock::now();
    for (std::uint64_t time = kSample; time <= options.duration; time += kSample) {
        const PowerSample next = powerAt(time - 1);
        if (!(next == power)) {
            power = next;
            device.setPower({power.acLine, power.percent, power.flag});
        }
        device.advance(kSample);
        model.advanceTo(time, power, {});
        ++result.checks;

        const std::optional<DWORD> stored = device.dword(kCounterKey, u"BatteryCount");
        if (!stored || *stored != *model.stored()) {
            result.failure = "at " + std::to_string(time) + " ms: stored counter " + std::to_string(stored.value_or(0)) +
                             ", expected " + std::to_string(*model.stored());
            break;
        }
        const auto active = device.notifications();
        const auto& expected = model.notifications();
        const std::string expectedText = expected.empty() ? std::string("nothing") : sim::toUtf8(expected[0].html);
        if (active.size() != 1 || expected.size() != 1 || active[0].clsid != kMonitorClsidText ||
            active[0].id != expected[0].id || active[0].html != expectedText) {
            result.failure = "at " + std::to_string(time) + " ms: notification reads " +
                             (active.empty() ? std::string("nothing") : active[0].html) + ", expected " + expectedText;
            break;
        }
        if (active[0].html != lastText) {
            ++result.notificationUpdates;
            lastText = active[0].html;
        }
        if (active[0].iconId != levelIcon(expected[0].shownFor)) {
            result.failure = "at " + std::to_string(time) + " ms: icon " + std::to_string(active[0].iconId) +
                             ", expected " + std::to_string(levelIcon(expected[0].shownFor));
            break;
        }
    }
    result.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - begin).count();
    result.samples = model.samples();
    const std::uint64_t samples = device.callCount("GetSystemPowerStatusEx", "voltmarap");
    if (result.passed() && samples != model.samples())
        result.failure = "the monitor took " + std::to_string(samples) +
                         " samples, expected " + std::to_string(model.samples());
    if (result.passed() && !device.errors().empty()) result.failure = "simulation error: " + device.errors().front();
    return result;
}

bool runSoak(std::FILE* out) {
    const SoakResult r = soak();
    std::fprintf(out,
                 "soak: voltmarap over 2^32 ms (49.7 days, tick count wrapping half-way): %llu samples, "
                 "%llu checks, %llu texts shown, %.2f s wall\n",
                 static_cast<unsigned long long>(r.samples), static_cast<unsigned long long>(r.checks),
                 static_cast<unsigned long long>(r.notificationUpdates), r.seconds);
    if (!r.passed()) std::fprintf(out, "soak: FAILED: %s\n", r.failure.c_str());
    return r.passed();
}

}  // namespace explore
