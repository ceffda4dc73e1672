// Checks that hold on any device at any moment, whatever the programs were put through: what an
// ended process left behind, and programs running twice. Fault sweeps and the explorer share them.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "pocket_device.h"

namespace pocket {

// One thing an ended process left behind.
struct Leftover {
    std::uint32_t pid = 0;
    std::string process;
    std::string what;  // "window", "icon", "menu", "device context", "registry key", "timer",
                       // "hot key", "notification", "tray icon"
    std::int64_t count = 0;

    std::string describe() const;
};

// Handles open at exit (mutexes excepted: the system closes them, and the programs rely on it),
// and timers, hot keys, notifications and tray icons still held for an ended process.
std::vector<Leftover> leftoversOfEndedProcesses(const PocketDevice& device);
// The same in two parts, for checks that look at each ended process once: the handles one ended
// process left open, and what the device still holds for processes that ended.
std::vector<Leftover> handlesLeftBy(const ProcessView& ended);
std::vector<Leftover> heldForEndedProcesses(const PocketDevice& device);

// "appshut (pid 4) ended with exit code 1", one line per ended process whose code is not 0.
std::vector<std::string> nonZeroExits(const PocketDevice& device);
std::optional<std::string> nonZeroExit(const ProcessView& ended);

// "voltmarap: 2 copies running", one line per program that runs more than once.
std::vector<std::string> duplicateCopies(const PocketDevice& device);

}  // namespace pocket
