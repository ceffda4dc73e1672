// Wall time of long simulated runs. Not a test: it prints figures to compare between builds.
#include <chrono>
#include <cstdio>
#include <cstring>

#include "pocket_device.h"

namespace {

// A day of the battery monitor on battery: 17,280 samples, the notification updated once a minute.
void monitorDay() {
    pocket::PocketDevice device;
    device.setTickCount(60000);
    device.setPower({AC_LINE_OFFLINE, 90, 0});
    device.start("voltmarap");
    const auto begin = std::chrono::steady_clock::now();
    constexpr std::uint64_t kDay = 24ull * 3600 * 1000;
    device.advance(kDay);
    const auto end = std::chrono::steady_clock::now();
    const double seconds = std::chrono::duration<double>(end - begin).count();
    std::size_t updates = 0;
    for (const auto& event : device.notificationHistory()) updates += event.call == sim::NotificationCall::Update;
    std::printf("voltmarap, 24 h on battery: %.3f s wall, %llu samples, %zu notification updates, errors %zu\n",
                seconds, static_cast<unsigned long long>(kDay / 5000), updates, device.errors().size());
}

}  // namespace

int main(int argc, char** argv) {
    const char* which = argc > 1 ? argv[1] : "all";
    if (!std::strcmp(which, "all") || !std::strcmp(which, "monitor-day")) monitorDay();
    return 0;
}
