// Windows of programs outside the bundle (a media player, another vendor's window), played by
// hosted processes whose one window records every message it receives.
#pragma once

#include <windows.h>

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "records.h"
#include "device_config.h"

namespace sim {

class Device;
class Process;

// The stand-ins' windows and how each behaves; what they received is in the journal, as
// deliveries to `procedure()`.
class StandIns {
public:
    // The first message a stand-in window gets (WM_CREATE) gives it the options expected.
    void adopt(HWND hwnd) {
        if (!options_.count(hwnd)) options_[hwnd] = pending_;
    }
    // Options for the stand-in window about to be created.
    void expect(const StandInOptions& options) { pending_ = options; }
    StandInOptions options(HWND hwnd) const {
        auto it = options_.find(hwnd);
        return it == options_.end() ? StandInOptions{} : it->second;
    }
    bool isStandIn(HWND hwnd) const { return options_.count(hwnd) != 0; }
    // The window procedure of every stand-in.
    static const void* procedure();

private:
    std::map<HWND, StandInOptions> options_;
    StandInOptions pending_;
};

// Starts process `program` owning one top-level window of `className` and `title` whose procedure
// records what it receives; WM_CLOSE destroys the window and ends the process (unless it refuses).
// Returns the window, or NULL when it could not be made.
HWND startStandIn(Device& device, const std::string& program, const std::u16string& className,
                  const std::u16string& title, const StandInOptions& options = {});

}  // namespace sim
