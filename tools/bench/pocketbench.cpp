// Wall time of long simulated runs and of the explorer. Not a test: it prints figures to compare between builds.
#include <chrono>
#include <cstdio>
#include <cstring>

#include "pocket_device.h"
#include "seed_runs.h"

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

// The explorer's throughput: seeds of the test run's length in two worker processes. Before the
// work on it, one process ran about 4,200 steps a second on this machine (pocketexplore --seeds 8
// --steps 5000: 9.6 s) and a second processor could not help.
void explorer() {
    explore::SeedRunOptions options;
    options.first = 1;
    options.count = 200;
    options.steps = 1500;
    options.jobs = 2;
    std::FILE* failures = std::tmpfile();
    const explore::SeedRunSummary s = explore::runSeeds(options, failures ? failures : stdout);
    if (failures) std::fclose(failures);
    const double rate = static_cast<double>(s.steps) / s.seconds;
    std::printf("explorer, %llu seeds x %llu steps in %u processes: %.1f s wall, %.0f steps/s, %.0f per process "
                "(before: about 4,200 in one), %llu failed\n",
                static_cast<unsigned long long>(s.seeds), static_cast<unsigned long long>(options.steps),
                options.jobs, s.seconds, rate, rate / options.jobs, static_cast<unsigned long long>(s.failed));
}

}  // namespace

int main(int argc, char** argv) {
    const char* which = argc > 1 ? argv[1] : "all";
    if (!std::strcmp(which, "all") || !std::strcmp(which, "monitor-day")) monitorDay();
    if (!std::strcmp(which, "all") || !std::strcmp(which, "explorer")) explorer();
    return 0;
}
